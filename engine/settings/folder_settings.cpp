#include "engine/settings/folder_settings.h"

#include "engine/platform/cp932.h"
#include "engine/platform/private_profile.h"

namespace kl {

namespace {

constexpr std::string_view kFolderFilterSection = "FOLDERFILTER";
constexpr std::size_t kValueBuffer = 2048;

std::string SetSection(const std::string& name)
{
    return std::string(kFolderFilterSection) + " " + Utf8ToCp932(name);
}

std::string Read(const std::string& iniPath, std::string_view section, std::string_view key, std::string_view fallback)
{
    return Cp932ToUtf8(ReadIniString(iniPath, section, key, fallback, kValueBuffer));
}

}  // namespace

FolderFilterSet ReadFolderFilter(const std::string& iniPath, const std::string& name)
{
    FolderFilterSet set;
    set.name = name;
    const std::string section = SetSection(name);
    set.filter.include = SplitPatterns(Read(iniPath, section, "INCLUDE", ""));
    set.filter.exclude = SplitPatterns(Read(iniPath, section, "EXCLUDE", ""));
    set.filter.includeHidden = Read(iniPath, section, "HIDDEN", "1") != "0";
    set.compareAsText = Read(iniPath, section, "TEXT", "0") == "1";
    return set;
}

FolderFilterSet ReadSelectedFolderFilter(const std::string& iniPath)
{
    const std::string name = Read(iniPath, kFolderFilterSection, "SELECTED", "");
    return name.empty() ? FolderFilterSet{} : ReadFolderFilter(iniPath, name);
}

bool SaveFolderFilter(const std::string& iniPath, const FolderFilterSet& set)
{
    if (iniPath.empty() || set.name.empty())
        return false;
    const std::string section = SetSection(set.name);
    const std::string name = Utf8ToCp932(set.name);
    const std::string include = Utf8ToCp932(JoinPatterns(set.filter.include));
    const std::string exclude = Utf8ToCp932(JoinPatterns(set.filter.exclude));
    const IniEntry entries[] = {
        {kFolderFilterSection, "SELECTED", name},
        {section, "INCLUDE", include},
        {section, "EXCLUDE", exclude},
        {section, "HIDDEN", set.filter.includeHidden ? "1" : "0"},
        {section, "TEXT", set.compareAsText ? "1" : "0"},
    };
    return WriteIniStrings(iniPath, entries);
}

}  // namespace kl
