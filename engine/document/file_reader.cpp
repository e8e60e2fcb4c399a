#include "engine/document/file_reader.h"

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <system_error>

#include "engine/platform/file_error_text.h"
#include "engine/platform/large_buffer.h"

namespace kl {

namespace fs = std::filesystem;

fs::path PathFromUtf8(const std::string& utf8Path)
{
    return fs::path(std::u8string(utf8Path.begin(), utf8Path.end()));
}

std::string Utf8FromPath(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string FileNameOf(const std::string& utf8Path)
{
    return Utf8FromPath(PathFromUtf8(utf8Path).filename());
}

namespace {

std::time_t ToTimeT(fs::file_time_type stamp)
{
#if defined(_MSC_VER)
    return std::chrono::system_clock::to_time_t(
        std::chrono::clock_cast<std::chrono::system_clock>(stamp));
#else
    return std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(
            std::chrono::file_clock::to_sys(stamp)));
#endif
}

}  // namespace

FileReadResult ReadWholeFile(const std::string& utf8Path)
{
    FileReadResult result;
    const fs::path path = PathFromUtf8(utf8Path);

    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec) {
        result.reason = FileErrorText(ec);
        return result;
    }
    if (fs::is_directory(status)) {
        result.reason = "フォルダーです";
        return result;
    }

    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.reason = errno != 0 ? FileErrorText(errno) : "開けませんでした";
        return result;
    }

    // Regular files are read with one call of their size; anything whose size is not
    // known in advance (or that grew meanwhile) is read on in blocks until its end.
    std::uintmax_t expected = fs::is_regular_file(status) ? fs::file_size(path, ec) : 0;
    if (ec)
        expected = 0;
    // The storage is never zero-filled: every byte of it is read before it is used.
    std::size_t capacity = static_cast<std::size_t>(expected);
    std::unique_ptr<char[]> bytes = std::make_unique_for_overwrite<char[]>(capacity);
    AdviseHugePages(bytes.get(), capacity);
    std::size_t filled = 0;
    if (capacity > 0) {
        in.read(bytes.get(), static_cast<std::streamsize>(capacity));
        filled = static_cast<std::size_t>(in.gcount());
    }
    constexpr std::size_t kBlock = 1 << 16;
    while (in && in.peek() != std::ifstream::traits_type::eof()) {
        if (capacity - filled < kBlock) {
            const std::size_t grown = std::max(capacity * 2, filled + kBlock);
            std::unique_ptr<char[]> larger = std::make_unique_for_overwrite<char[]>(grown);
            std::memcpy(larger.get(), bytes.get(), filled);
            bytes = std::move(larger);
            capacity = grown;
        }
        in.read(bytes.get() + filled, static_cast<std::streamsize>(kBlock));
        filled += static_cast<std::size_t>(in.gcount());
    }
    if (in.bad()) {
        result.reason = errno != 0 ? FileErrorText(errno) : "読み込み中にエラーが発生しました";
        return result;
    }
    result.bytes = std::move(bytes);
    result.size = filled;

    const fs::file_time_type stamp = fs::last_write_time(path, ec);
    result.modified = ec ? std::time(nullptr) : ToTimeT(stamp);
    result.ok = true;
    return result;
}

}  // namespace kl
