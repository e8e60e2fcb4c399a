#pragma once
// Paths here are UTF-8, as everywhere in the program.
#include <ctime>
#include <string>
#include <string_view>

namespace kltest {

// A fresh directory under the system temporary folder, removed with everything in it
// (read-only files and folders too) when the object goes away. Tests put every file they
// write in here.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Full path of a file in the directory.
    std::string file(std::string_view name) const;
    // Writes bytes to a file in the directory and returns its full path.
    std::string write(std::string_view name, std::string_view bytes) const;

private:
    std::string path_;
};

// The whole content of a file, or an empty string when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Sets the file's modification time.
void SetModifiedTime(const std::string& path, std::time_t time);

}  // namespace kltest
