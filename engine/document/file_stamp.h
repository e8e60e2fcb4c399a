#pragma once
// Size and modification time of a file, taken when it is loaded, to tell later whether the
// file on disk is still the one the text came from.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

namespace kl {

struct FileStamp {
    bool known = false;  // false: the file could not be examined (or is not a regular file)
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file at path (UTF-8); not known when the file is missing or not a
// regular file.
FileStamp StampOfFile(const std::string& path);

// The modification time as calendar time.
std::time_t ModifiedTime(const FileStamp& stamp);

// Whether the file at path still has the given stamp. An unknown stamp never matches.
bool FileUnchanged(const std::string& path, const FileStamp& stamp);

}  // namespace kl
