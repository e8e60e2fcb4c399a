#include "engine/settings/file_set_settings.h"

#include <algorithm>

#include "engine/platform/number_text.h"
#include "engine/platform/private_profile.h"

namespace kl {

int ReadFileSetCount(const std::string& iniPath)
{
    return AtoiText(ReadIniString(iniPath, "FILESET", "COUNT", "0", 12));
}

std::string ReadFileSetEntry(const std::string& iniPath, int number)
{
    return ReadIniString(iniPath, "FILESET", std::to_string(number), "", kFileSetEntryMaxBytes + 1);
}

std::vector<std::string> ReadFileSetEntries(const std::string& iniPath)
{
    const int count = std::min(ReadFileSetCount(iniPath), kFileSetListLimit);
    std::vector<std::string> entries;
    for (int number = 1; number <= count; ++number) {
        entries.push_back(ReadFileSetEntry(iniPath, number));
    }
    return entries;
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

FileSetStore StoreFileSet(const std::string& iniPath, std::string_view pairText)
{
    const std::vector<std::string> listed = ReadFileSetEntries(iniPath);
    if (std::find(listed.begin(), listed.end(), pairText) != listed.end()) {
        return FileSetStore::AlreadyRecorded;
    }
    int count = ReadFileSetCount(iniPath);
    if (count < 0 || count >= kFileSetRingSize) {
        count = 0;
    }
    return SaveFileSetEntry(iniPath, count + 1, pairText) ? FileSetStore::Recorded
                                                          : FileSetStore::WriteFailed;
}

}  // namespace kl
