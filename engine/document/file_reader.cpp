#include "engine/document/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <limits>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "engine/document/line_scan.h"
#include "engine/document/text.h"
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

#if defined(_WIN32)
using FileStatus = struct _stat64;

int OpenForReading(const fs::path& path)
{
    return ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}
int StatusOf(int fd, FileStatus& status) { return ::_fstat64(fd, &status); }
long long ReadSome(int fd, char* buffer, std::size_t size)
{
    return ::_read(fd, buffer, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
}
void CloseFile(int fd) { ::_close(fd); }
bool Rewind(int fd) { return ::_lseeki64(fd, 0, SEEK_SET) == 0; }
// The start of the next stretch of data at or after offset; a hole before it reads as NUL bytes.
long long NextData(int, long long offset) { return offset; }
bool IsDirectory(const FileStatus& status) { return (status.st_mode & _S_IFMT) == _S_IFDIR; }
bool IsRegular(const FileStatus& status) { return (status.st_mode & _S_IFMT) == _S_IFREG; }
bool SameState(const FileStatus& a, const FileStatus& b) { return a.st_size == b.st_size && a.st_mtime == b.st_mtime; }
bool IsNullDevice(const FileStatus&) { return false; }
#else
using FileStatus = struct stat;

int OpenForReading(const fs::path& path)
{
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of waiting.
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}
int StatusOf(int fd, FileStatus& status) { return ::fstat(fd, &status); }
long long ReadSome(int fd, char* buffer, std::size_t size)
{
    return ::read(fd, buffer, std::min<std::size_t>(size, std::size_t{1} << 30));
}
void CloseFile(int fd) { ::close(fd); }
bool Rewind(int fd) { return ::lseek(fd, 0, SEEK_SET) == 0; }
// The start of the next stretch of data at or after offset, or -1 when only a hole follows
// (it reads as NUL bytes up to the end).
long long NextData(int fd, long long offset)
{
#if defined(SEEK_DATA)
    const off_t data = ::lseek(fd, static_cast<off_t>(offset), SEEK_DATA);
    if (data >= 0)
        return data;
    if (errno == ENXIO)
        return -1;
#endif
    return offset;  // no holes known: read on
}
bool IsDirectory(const FileStatus& status) { return S_ISDIR(status.st_mode); }
bool IsRegular(const FileStatus& status) { return S_ISREG(status.st_mode); }
bool SameState(const FileStatus& a, const FileStatus& b)
{
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}
bool IsNullDevice(const FileStatus& status)
{
    struct stat null {};
    return S_ISCHR(status.st_mode) && ::stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode) &&
           status.st_rdev == null.st_rdev;
}
#endif

// Bytes read at a time while a large file is scanned for its line lengths.
constexpr std::size_t kScanPiece = std::size_t{1} << 20;

class OpenFile {
public:
    explicit OpenFile(int fd) : fd_(fd) {}
    ~OpenFile()
    {
        if (fd_ >= 0)
            CloseFile(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

constexpr const char* kLineTooLong = "2 GB を超える行があります";

// Whether the file, read from its start, has a run of more than kMaxLineBytes bytes without
// CR or LF: a line no text can hold. Reads in small pieces; holes count without reading.
// A read error answers false: the reading proper then reports it.
bool HasOverlongLine(int fd, std::uint64_t size)
{
    std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(kScanPiece);
    std::uint64_t offset = 0;
    std::uint64_t run = 0;
    while (offset < size) {
        const long long data = NextData(fd, static_cast<long long>(offset));
        const std::uint64_t next = data < 0 ? size : std::min<std::uint64_t>(static_cast<std::uint64_t>(data), size);
        run += next - offset;  // a hole: NUL bytes
        offset = next;
        if (run > static_cast<std::uint64_t>(kMaxLineBytes))
            return true;
        if (offset >= size)
            break;
#if !defined(_WIN32)
        if (data >= 0 && ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0)
            return false;
#endif
        const long long got = ReadSome(fd, buffer.get(), static_cast<std::size_t>(std::min<std::uint64_t>(kScanPiece, size - offset)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        const char* piece = buffer.get();
        const auto length = static_cast<std::size_t>(got);
        for (std::size_t pos = 0; pos < length;) {
            const std::size_t brk = FindLineBreak(piece, pos, length);
            run += brk - pos;
            if (run > static_cast<std::uint64_t>(kMaxLineBytes))
                return true;
            if (brk < length)
                run = 0;
            pos = brk + 1;
        }
        offset += length;
    }
    return false;
}

bool StartsAsUtf16(int fd)
{
    char head[2];
    const SizedRead read = ReadExpectedBytes(fd, head, sizeof head);
    const std::string_view start(head, read.size);
    return start == "\xFF\xFE" || start == "\xFE\xFF";
}

}  // namespace

SizedRead ReadExpectedBytes(int fd, char* buffer, std::size_t expected, const ReadProgress& progress)
{
    constexpr std::size_t kReportedPiece = std::size_t{16} << 20;
    SizedRead read;
    while (read.size < expected) {
        const std::size_t wanted = progress ? std::min(expected - read.size, kReportedPiece) : expected - read.size;
        const long long got = ReadSome(fd, buffer + read.size, wanted);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            read.error = errno;
            return read;
        }
        if (got == 0) {
            read.sizeChanged = true;
            return read;
        }
        read.size += static_cast<std::size_t>(got);
        if (progress)
            progress(read.size, expected);
    }
    char probe;
    long long got;
    do {
        got = ReadSome(fd, &probe, 1);
    } while (got < 0 && errno == EINTR);
    // A failing probe is no reason to give up what was read.
    read.sizeChanged = got > 0;
    return read;
}

FileReadResult ReadWholeFile(const std::string& utf8Path, const ReadProgress& progress)
{
    FileReadResult result;
    constexpr const char* kNotRegular = "通常のファイルではありません";
    const OpenFile file(OpenForReading(PathFromUtf8(utf8Path)));
    if (file.fd() < 0) {
        // Opening for reading fails with ENXIO only for a socket or a device file without
        // its device.
        result.reason = errno == ENXIO ? kNotRegular : FileErrorText(errno);
        return result;
    }
    // The opened file itself is examined: a path examined first could be replaced meanwhile.
    FileStatus before{};
    if (StatusOf(file.fd(), before) != 0) {
        result.reason = FileErrorText(errno);
        return result;
    }
    if (IsDirectory(before)) {
        result.reason = "フォルダーです";
        return result;
    }
    if (IsNullDevice(before)) {
        // The usual stand-in for a missing side (git difftool passes it for an added file).
        result.ok = true;
        return result;
    }
    if (!IsRegular(before)) {
        result.reason = kNotRegular;
        return result;
    }
#if !defined(_WIN32)
    const int flags = ::fcntl(file.fd(), F_GETFL);
    if (flags >= 0)
        ::fcntl(file.fd(), F_SETFL, flags & ~O_NONBLOCK);
#endif
    if (before.st_size < 0 ||
        static_cast<std::uintmax_t>(before.st_size) > std::numeric_limits<std::size_t>::max() / 2) {
        result.reason = FileErrorText(EFBIG);
        return result;
    }

    if (before.st_size > kMaxLineBytes) {
        const bool utf16 = StartsAsUtf16(file.fd());
        const bool overlong = !utf16 && Rewind(file.fd()) && HasOverlongLine(file.fd(), static_cast<std::uint64_t>(before.st_size));
        if (!Rewind(file.fd())) {
            result.reason = FileErrorText(errno);
            return result;
        }
        if (overlong) {
            result.reason = kLineTooLong;
            return result;
        }
    }

    // The storage is never zero-filled: every byte of it that is used has been read.
    const std::size_t expected = static_cast<std::size_t>(before.st_size);
    std::unique_ptr<char[]> bytes = std::make_unique_for_overwrite<char[]>(expected);
    AdviseHugePages(bytes.get(), expected);
    const SizedRead read = ReadExpectedBytes(file.fd(), bytes.get(), expected, progress);
    if (read.error != 0) {
        result.reason = FileErrorText(read.error);
        return result;
    }
    FileStatus after{};
    const bool rewritten = StatusOf(file.fd(), after) == 0 && !SameState(before, after);

    result.bytes = std::move(bytes);
    result.size = read.size;
    result.modified = before.st_mtime;
    result.changedWhileReading = read.sizeChanged || rewritten;
    result.ok = true;
    return result;
}

}  // namespace kl
