#pragma once
// Compare-mode presets: named combinations of the compare options, kept in section COMPMODE
// of the settings file and shown in the main window's drop-down list as "name (code)".
//
// The code is five digits, each 0 or 1: method (1 = head and tail up to the delimiter),
// ignoreNewline, ignoreSpaceTab, wideSpaceAsTwo, ignoreTrailingSpaces. The delimiter is
// never part of a preset. Names and codes are code page 932 bytes.
#include <string>
#include <string_view>
#include <vector>

#include "engine/compare/compare_options.h"

namespace kl {

// One preset as a row of the compare-method dialog.
struct PresetRow {
    std::string name;
    std::string code;
};

// The code of the current options, "%d%d%d%d%d".
std::string BuildPresetCode(const CompareOptions& options);

// The name generated from a code: "通常" or "部分" (first digit 1), a hyphen, then "改", "タ",
// "全", "末" for each of the other four digits that is 1. Missing digits count as 0.
std::string BuildPresetName(std::string_view code);

// The drop-down item text "name (code)".
std::string PresetItemText(std::string_view name, std::string_view code);

// The code shown in an item: the (up to) five characters before its last closing
// parenthesis, not reaching back past an opening parenthesis. Empty without ")".
std::string PresetCodeFromItem(std::string_view itemText);

// Overwrites method and the four switches from the digits after the first " (" of an item
// text. Nothing changes when there is no " (", fewer than three characters follow it, or
// its first character is not a digit; otherwise the digits are read up to the first
// non-digit, at most five, each one that is not "0" switching its option on.
void ApplyPresetText(std::string_view itemText, CompareOptions& options);

// The drop-down items stored in the settings file, in key order. An entry without a comma
// is all name, with an empty code.
std::vector<std::string> LoadPresetList(const std::string& iniPath);

// Writes COUNT and keys "0".. in row order (name and code each cut to 80 bytes). Keys of
// earlier, longer lists stay in the file; they lie beyond COUNT and are never read.
// Returns false when the settings file could not be written.
bool StorePresetList(const std::string& iniPath, const std::vector<PresetRow>& rows);

}  // namespace kl
