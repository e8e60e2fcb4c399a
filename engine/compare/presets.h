#pragma once
// Compare-mode presets: named combinations of the compare options, kept in section COMPMODE
// of the settings file and shown in the main window's drop-down list as "name (code)".
//
// The code is five digits, each 0 or 1: method (1 = head and tail up to the delimiter),
// ignoreNewline, ignoreSpaceTab, wideSpaceAsTwo, ignoreTrailingSpaces. When one of the line
// filter options is on, a hyphen and four more digits follow: ignoreCase, ignoreBlankLines,
// useLineFilters, useSubstitutions ("01000-1100"). A code without them is read as before,
// with those options off. The delimiter and the filter lists are never part of a preset.
// Names and codes are code page 932 bytes.
#include <string>
#include <string_view>
#include <vector>

#include "engine/compare/compare_options.h"

namespace kl {

// One preset: a drop-down item, a row of the compare-method dialog, an entry of COMPMODE.
struct PresetRow {
    std::string name;
    std::string code;

    bool operator==(const PresetRow&) const = default;
};

// The code of the current options, "%d%d%d%d%d" and "-%d%d%d%d" when needed.
std::string BuildPresetCode(const CompareOptions& options);

// The name generated from a code: "通常" or "部分" (first digit 1), a hyphen, then "改", "タ",
// "全", "末" for each of the other four digits that is 1, and "大", "空", "フ", "置" for the
// digits after the hyphen. Missing digits count as 0.
std::string BuildPresetName(std::string_view code);

// The drop-down item text "name (code)".
std::string PresetItemText(std::string_view name, std::string_view code);

// Overwrites method and the four switches from a code. Its digits are read up to the first
// non-digit, at most five, each one that is not "0" switching its option on; after five
// digits a hyphen and up to four digits set the line filter options, which are off when
// the code has none. Further characters are ignored. A code of fewer than two characters leaves the options as they
// are, as does one that starts with a non-digit.
void PresetFromCode(std::string_view code, CompareOptions& options);

// The presets stored in the settings file, in key order. An entry is split at its first
// comma into name and code; one without a comma is all name, with an empty code.
std::vector<PresetRow> LoadPresetList(const std::string& iniPath);

// Writes COUNT and keys "0".. in row order (name and code each cut to 80 bytes). Keys of
// earlier, longer lists stay in the file; they lie beyond COUNT and are never read.
// Returns false when the settings file could not be written.
//
// editedFrom is the list the rows were edited from, when the caller knows it. The file is
// then read again under the writers' lock, and what another window changed there since is
// kept: a preset it added (a code editedFrom does not have) is appended, one it removed is
// left out. Presets are told apart by their code.
bool StorePresetList(const std::string& iniPath, const std::vector<PresetRow>& rows,
                     const std::vector<PresetRow>* editedFrom = nullptr);

}  // namespace kl
