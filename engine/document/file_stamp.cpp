#include "engine/document/file_stamp.h"

#include <chrono>
#include <system_error>

#include "engine/platform/utf8_path.h"

namespace kl {

namespace fs = std::filesystem;

FileStamp StampOfFile(const std::string& path)
{
    FileStamp stamp;
    std::error_code ec;
    const fs::path file = PathFromUtf8(path);
    if (!fs::is_regular_file(file, ec))
        return stamp;
    stamp.size = fs::file_size(file, ec);
    if (ec)
        return stamp;
    stamp.modified = fs::last_write_time(file, ec);
    if (ec)
        return stamp;
    stamp.known = true;
    return stamp;
}

std::time_t ModifiedTime(const FileStamp& stamp)
{
#if defined(_MSC_VER)
    return std::chrono::system_clock::to_time_t(
        std::chrono::clock_cast<std::chrono::system_clock>(stamp.modified));
#else
    return std::chrono::system_clock::to_time_t(std::chrono::time_point_cast<std::chrono::system_clock::duration>(
        std::chrono::file_clock::to_sys(stamp.modified)));
#endif
}

bool FileUnchanged(const std::string& path, const FileStamp& stamp)
{
    return stamp.known && StampOfFile(path) == stamp;
}

}  // namespace kl
