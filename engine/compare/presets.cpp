#include "engine/compare/presets.h"

#include <algorithm>
#include <cstddef>

#include "engine/platform/cp932.h"
#include "engine/platform/number_text.h"
#include "engine/platform/private_profile.h"

namespace kl {
namespace {

constexpr std::string_view kSection = "COMPMODE";
constexpr std::size_t kCountBuffer = 6;
constexpr std::size_t kEntryBuffer = 100;
constexpr std::size_t kMaxStoredBytes = 80;
constexpr std::size_t kCodeDigits = 5;
constexpr std::size_t kFilterDigits = 4;
constexpr std::size_t kShortestAppliedCode = 2;

// The options a code's digits set, in digit order.
enum class PresetDigit { Method, IgnoreNewline, IgnoreSpaceTab, WideSpaceAsTwo, IgnoreTrailingSpaces };

// Name parts in code page 932.
constexpr std::string_view kNameNormal = "\x92\xca\x8f\xed";   // 通常
constexpr std::string_view kNamePartial = "\x95\x94\x95\xaa";  // 部分
constexpr std::string_view kSwitchNames[] = {
    "\x89\xfc",  // 改 (line end)
    "\x83\x5e",  // タ (tab)
    "\x91\x53",  // 全 (full-width)
    "\x96\x96",  // 末 (line tail)
};
constexpr std::string_view kFilterNames[] = {
    "\x91\xe5",  // 大 (case)
    "\x8b\xf3",  // 空 (blank lines)
    "\x83\x74",  // フ (line filters)
    "\x92\x75",  // 置 (substitutions)
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view CutForStore(std::string_view text)
{
    return text.substr(0, Cp932PrefixLength(text, kMaxStoredBytes));
}

}  // namespace

std::string BuildPresetCode(const CompareOptions& options)
{
    std::string code;
    code += options.method == 1 ? '1' : '0';
    code += options.ignoreNewline ? '1' : '0';
    code += options.ignoreSpaceTab ? '1' : '0';
    code += options.wideSpaceAsTwo != 0 ? '1' : '0';
    code += options.ignoreTrailingSpaces != 0 ? '1' : '0';
    const bool filters[kFilterDigits] = {options.ignoreCase, options.ignoreBlankLines, options.useLineFilters,
                                         options.useSubstitutions};
    if (std::find(std::begin(filters), std::end(filters), true) != std::end(filters)) {
        code += '-';
        for (bool on : filters) code += on ? '1' : '0';
    }
    return code;
}

std::string BuildPresetName(std::string_view code)
{
    std::string name(!code.empty() && code[0] == '1' ? kNamePartial : kNameNormal);
    name += '-';
    for (std::size_t k = 1; k < kCodeDigits; ++k) {
        if (k < code.size() && code[k] == '1') name += kSwitchNames[k - 1];
    }
    for (std::size_t k = 0; k < kFilterDigits; ++k) {
        const std::size_t at = kCodeDigits + 1 + k;
        if (code.size() > kCodeDigits && code[kCodeDigits] == '-' && at < code.size() && code[at] == '1')
            name += kFilterNames[k];
    }
    return name;
}

std::string PresetItemText(std::string_view name, std::string_view code)
{
    std::string item(name);
    item += " (";
    item += code;
    item += ')';
    return item;
}

void PresetFromCode(std::string_view code, CompareOptions& options)
{
    // A one-character code stays unapplied, as it was when codes were read back from the
    // item text "name (c)", which left too few characters after " (" to count as a code.
    if (code.size() < kShortestAppliedCode) return;
    for (std::size_t k = 0; k < kCodeDigits && k < code.size() && IsDigit(code[k]); ++k) {
        const bool on = code[k] != '0';
        switch (static_cast<PresetDigit>(k)) {
        case PresetDigit::Method: options.method = on ? 1 : 0; break;
        case PresetDigit::IgnoreNewline: options.ignoreNewline = on; break;
        case PresetDigit::IgnoreSpaceTab: options.ignoreSpaceTab = on; break;
        case PresetDigit::WideSpaceAsTwo: options.wideSpaceAsTwo = on ? 1 : 0; break;
        case PresetDigit::IgnoreTrailingSpaces: options.ignoreTrailingSpaces = on ? 1 : 0; break;
        }
    }
    bool* const filters[kFilterDigits] = {&options.ignoreCase, &options.ignoreBlankLines, &options.useLineFilters,
                                          &options.useSubstitutions};
    bool reading = code.size() > kCodeDigits && code[kCodeDigits] == '-' &&
                   std::all_of(code.begin(), code.begin() + kCodeDigits, IsDigit);
    for (std::size_t k = 0; k < kFilterDigits; ++k) {
        const std::size_t at = kCodeDigits + 1 + k;
        reading = reading && at < code.size() && IsDigit(code[at]);
        *filters[k] = reading && code[at] != '0';
    }
}

namespace {

// The presets as read through read(key, default, buffer size).
template <typename Read>
std::vector<PresetRow> PresetsFrom(const Read& read)
{
    std::vector<PresetRow> presets;
    const int count = AtoiText(read("COUNT", "", kCountBuffer));
    for (int k = 0; k < count; ++k) {
        const std::string entry = read(std::to_string(k), "", kEntryBuffer);
        const std::size_t comma = entry.find(',');
        if (comma == std::string::npos) {
            presets.push_back({entry, {}});
        } else {
            presets.push_back({entry.substr(0, comma), entry.substr(comma + 1)});
        }
    }
    return presets;
}

bool HasCode(const std::vector<PresetRow>& rows, std::string_view code)
{
    return std::any_of(rows.begin(), rows.end(), [&](const PresetRow& row) { return row.code == code; });
}

// The edited rows with the changes another window made since editing began: its removals
// (codes of editedFrom no longer stored) dropped, its additions (stored codes editedFrom
// lacks) appended in their stored order.
std::vector<PresetRow> MergedWithStored(const std::vector<PresetRow>& rows, const std::vector<PresetRow>& editedFrom,
                                        const std::vector<PresetRow>& stored)
{
    std::vector<PresetRow> merged;
    for (const PresetRow& row : rows) {
        if (!HasCode(editedFrom, row.code) || HasCode(stored, row.code)) merged.push_back(row);
    }
    for (const PresetRow& row : stored) {
        if (!HasCode(editedFrom, row.code) && !HasCode(merged, row.code)) merged.push_back(row);
    }
    return merged;
}

}  // namespace

std::vector<PresetRow> LoadPresetList(const std::string& iniPath)
{
    if (iniPath.empty()) return {};
    return PresetsFrom([&](std::string_view key, std::string_view defaultValue, std::size_t bufferSize) {
        return ReadIniString(iniPath, kSection, key, defaultValue, bufferSize);
    });
}

bool StorePresetList(const std::string& iniPath, const std::vector<PresetRow>& rows,
                     const std::vector<PresetRow>* editedFrom)
{
    if (iniPath.empty()) return false;
    return UpdateIniFile(iniPath, [&](IniTransaction& file) {
        std::vector<PresetRow> merged;
        if (editedFrom) {
            merged = MergedWithStored(rows, *editedFrom, PresetsFrom([&](std::string_view key, std::string_view defaultValue,
                                                                         std::size_t bufferSize) {
                return file.Read(kSection, key, defaultValue, bufferSize);
            }));
        }
        const std::vector<PresetRow>& stored = editedFrom ? merged : rows;
        file.Write(kSection, "COUNT", std::to_string(stored.size()));
        for (std::size_t i = 0; i < stored.size(); ++i) {
            std::string value(CutForStore(stored[i].name));
            value += ',';
            value += CutForStore(stored[i].code);
            file.Write(kSection, std::to_string(i), value);
        }
    });
}

}  // namespace kl
