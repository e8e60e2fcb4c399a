#include "engine/settings/file_set_settings.h"

#include <algorithm>

#include "engine/platform/number_text.h"
#include "engine/platform/private_profile.h"

namespace kl {
namespace {

constexpr std::string_view kFileSetSection = "FILESET";
constexpr std::size_t kCountBuffer = 12;

// Reads a key of the section through read(key, default, buffer size).
template <typename Read>
int CountFrom(const Read& read)
{
    return AtoiText(read("COUNT", "0", kCountBuffer));
}

template <typename Read>
std::vector<std::string> EntriesFrom(const Read& read)
{
    const int count = std::min(CountFrom(read), kFileSetListLimit);
    std::vector<std::string> entries;
    for (int number = 1; number <= count; ++number) {
        entries.push_back(read(std::to_string(number), "", kFileSetEntryMaxBytes + 1));
    }
    return entries;
}

auto ReaderOf(const std::string& iniPath)
{
    return [&iniPath](std::string_view key, std::string_view defaultValue, std::size_t bufferSize) {
        return ReadIniString(iniPath, kFileSetSection, key, defaultValue, bufferSize);
    };
}

}  // namespace

int ReadFileSetCount(const std::string& iniPath)
{
    return CountFrom(ReaderOf(iniPath));
}

std::string ReadFileSetEntry(const std::string& iniPath, int number)
{
    return ReaderOf(iniPath)(std::to_string(number), "", kFileSetEntryMaxBytes + 1);
}

std::vector<std::string> ReadFileSetEntries(const std::string& iniPath)
{
    return EntriesFrom(ReaderOf(iniPath));
}

bool SaveFileSetEntry(const std::string& iniPath, int number, std::string_view pairText)
{
    const std::string key = std::to_string(number);
    const IniEntry entries[] = {
        {kFileSetSection, "COUNT", key},
        {kFileSetSection, key, pairText},
    };
    return WriteIniStrings(iniPath, entries);
}

FileSetStore StoreFileSet(const std::string& iniPath, std::string_view pairText)
{
    // The count is read and the next key written under one lock: two windows recording at
    // the same moment take consecutive keys instead of the same one.
    FileSetStore outcome = FileSetStore::Recorded;
    const bool written = UpdateIniFile(iniPath, [&](IniTransaction& file) {
        const auto read = [&file](std::string_view key, std::string_view defaultValue, std::size_t bufferSize) {
            return file.Read(kFileSetSection, key, defaultValue, bufferSize);
        };
        const std::vector<std::string> listed = EntriesFrom(read);
        if (std::find(listed.begin(), listed.end(), pairText) != listed.end()) {
            outcome = FileSetStore::AlreadyRecorded;
            return;
        }
        int count = CountFrom(read);
        if (count < 0 || count >= kFileSetRingSize) {
            count = 0;
        }
        const std::string key = std::to_string(count + 1);
        file.Write(kFileSetSection, "COUNT", key);
        file.Write(kFileSetSection, key, pairText);
    });
    return written ? outcome : FileSetStore::WriteFailed;
}

}  // namespace kl
