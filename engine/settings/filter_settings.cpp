#include "engine/settings/filter_settings.h"

#include "engine/platform/cp932.h"
#include "engine/platform/number_text.h"
#include "engine/platform/private_profile.h"

namespace kl {
namespace {

constexpr std::string_view kFilterSection = "FILTER";
constexpr std::size_t kPatternBuffer = 1024;

}  // namespace

void LoadFilterSettings(const std::string& iniPath, CompareOptions& options)
{
    const std::string check = ReadIniString(iniPath, "COMPARE", "FILTERCHECK", "0000", 5);
    bool* const switches[] = {&options.ignoreCase, &options.ignoreBlankLines, &options.useLineFilters,
                              &options.useSubstitutions};
    for (std::size_t k = 0; k < 4; ++k) *switches[k] = k < check.size() && check[k] != '0';

    options.lineFilters.clear();
    const int lines = AtoiText(ReadIniString(iniPath, kFilterSection, "LINECOUNT", "0", 8));
    for (int k = 0; k < lines; ++k)
        options.lineFilters.push_back(Cp932ToUtf8(ReadIniString(iniPath, kFilterSection, "L" + std::to_string(k), "", kPatternBuffer)));
    options.substitutions.clear();
    const int subs = AtoiText(ReadIniString(iniPath, kFilterSection, "SUBCOUNT", "0", 8));
    for (int k = 0; k < subs; ++k) {
        const std::string entry = ReadIniString(iniPath, kFilterSection, "S" + std::to_string(k), "", kPatternBuffer);
        const std::size_t tab = entry.find('\t');
        options.substitutions.push_back({Cp932ToUtf8(entry.substr(0, tab)),
                                         tab == std::string::npos ? std::string() : Cp932ToUtf8(entry.substr(tab + 1))});
    }
}

bool SaveFilterSettings(const std::string& iniPath, const CompareOptions& options)
{
    return UpdateIniFile(iniPath, [&](IniTransaction& file) {
        std::string check;
        for (bool on : {options.ignoreCase, options.ignoreBlankLines, options.useLineFilters, options.useSubstitutions})
            check += on ? '1' : '0';
        file.Write("COMPARE", "FILTERCHECK", check);
        file.Write(kFilterSection, "LINECOUNT", std::to_string(options.lineFilters.size()));
        for (std::size_t k = 0; k < options.lineFilters.size(); ++k)
            file.Write(kFilterSection, "L" + std::to_string(k), Utf8ToCp932(options.lineFilters[k]));
        file.Write(kFilterSection, "SUBCOUNT", std::to_string(options.substitutions.size()));
        for (std::size_t k = 0; k < options.substitutions.size(); ++k)
            file.Write(kFilterSection, "S" + std::to_string(k),
                       Utf8ToCp932(options.substitutions[k].pattern) + '\t' + Utf8ToCp932(options.substitutions[k].replacement));
    });
}

}  // namespace kl
