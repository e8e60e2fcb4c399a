#include "engine/settings/file_set_settings.h"

#include "engine/platform/number_text.h"
#include "engine/platform/private_profile.h"

namespace kl {

int ReadFileSetCount(const std::string& iniPath)
{
    return AtoiText(ReadIniString(iniPath, "FILESET", "COUNT", "0", 12));
}

std::string ReadFileSetEntry(const std::string& iniPath, int number)
{
    return ReadIniString(iniPath, "FILESET", std::to_string(number), "", 500);
}

bool SaveFileSetEntry(const std::string& iniPath, int number, std::string_view pairText)
{
    const std::string key = std::to_string(number);
    const IniEntry entries[] = {
        {"FILESET", "COUNT", key},
        {"FILESET", key, pairText},
    };
    return WriteIniStrings(iniPath, entries);
}

}  // namespace kl
