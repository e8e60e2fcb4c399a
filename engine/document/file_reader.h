#pragma once
// Reading a whole text file into memory. Paths are UTF-8 strings on every platform.
#include <ctime>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

namespace kl {

std::filesystem::path PathFromUtf8(const std::string& utf8Path);
std::string Utf8FromPath(const std::filesystem::path& path);

// The last component of a path (the file name without its directory).
std::string FileNameOf(const std::string& utf8Path);

struct FileReadResult {
    bool ok = false;
    std::unique_ptr<char[]> bytes;  // every byte of the file, NUL bytes included
    std::size_t size = 0;           // bytes read
    std::time_t modified = 0;   // last modification time
    std::string reason;         // why it failed, in Japanese where the program words it itself
};

// Reads the whole file at once. A directory, a missing file or a read error fails.
FileReadResult ReadWholeFile(const std::string& utf8Path);

}  // namespace kl
