#include "engine/document/file_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <string_view>

#include "engine/document/arrival_scan.h"
#include "engine/document/line_scan.h"
#include "engine/document/text.h"
#include "engine/platform/file_error_text.h"
#include "engine/platform/input_file.h"
#include "engine/platform/large_buffer.h"
#include "engine/platform/utf8_path.h"

namespace kl {

namespace {

// Bytes read at a time while a large file is scanned for its line lengths.
constexpr std::size_t kScanPiece = std::size_t{1} << 20;

constexpr const char* kLineTooLong = "2 GB を超える行があります";

// Whether the file, read from its start, has a run of more than kMaxLineBytes bytes without
// CR or LF: a line no text can hold. Reads in small pieces; holes count without reading.
// A read error answers false: the reading proper then reports it.
bool HasOverlongLine(InputFile& file, std::uint64_t size)
{
    std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(kScanPiece);
    std::uint64_t offset = 0;
    std::uint64_t run = 0;
    while (offset < size) {
        const long long data = file.NextData(offset);
        const std::uint64_t next = data < 0 ? size : std::min<std::uint64_t>(static_cast<std::uint64_t>(data), size);
        run += next - offset;  // a hole: NUL bytes
        offset = next;
        if (run > static_cast<std::uint64_t>(kMaxLineBytes))
            return true;
        if (offset >= size)
            break;
        if (!file.Seek(offset))
            return false;
        const long long got = file.ReadSome(buffer.get(), static_cast<std::size_t>(std::min<std::uint64_t>(kScanPiece, size - offset)));
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

bool StartsAsUtf16(InputFile& file)
{
    char head[2];
    const long long got = file.ReadFull(head, sizeof head);
    const std::string_view start(head, got > 0 ? static_cast<std::size_t>(got) : 0);
    return start == "\xFF\xFE" || start == "\xFE\xFF";
}

}  // namespace

std::string FileNameOf(const std::string& utf8Path)
{
    return Utf8FromPath(PathFromUtf8(utf8Path).filename());
}

SizedRead ReadExpectedBytes(const ReadSomeBytes& readSome, char* buffer, std::size_t expected,
                            const ReadProgress& progress, const std::function<void(std::size_t)>& arrived)
{
    constexpr std::size_t kReportedPiece = std::size_t{16} << 20;
    // Small enough to be still in the cache when arrived looks at it.
    constexpr std::size_t kArrivingPiece = std::size_t{256} << 10;
    SizedRead read;
    std::size_t reported = 0;
    while (read.size < expected) {
        std::size_t wanted = expected - read.size;
        if (progress)
            wanted = std::min(wanted, kReportedPiece);
        if (arrived)
            wanted = std::min(wanted, kArrivingPiece);
        const long long got = readSome(buffer + read.size, wanted);
        if (got < 0) {
            read.error = errno;
            return read;
        }
        if (got == 0) {
            read.sizeChanged = true;
            return read;
        }
        read.size += static_cast<std::size_t>(got);
        if (arrived)
            arrived(read.size);
        if (progress && (read.size - reported >= kReportedPiece || read.size == expected)) {
            reported = read.size;
            progress(read.size, expected);
        }
    }
    char probe;
    // A failing probe is no reason to give up what was read.
    read.sizeChanged = readSome(&probe, 1) > 0;
    return read;
}

FileReadResult ReadWholeFile(const std::string& utf8Path, const ReadProgress& progress)
{
    FileReadResult result;
    constexpr const char* kNotRegular = "通常のファイルではありません";
    InputFile file(utf8Path);
    if (!file.IsOpen()) {
        // Opening for reading fails with ENXIO only for a socket or a device file without
        // its device.
        result.reason = file.OpenError() == ENXIO ? kNotRegular : FileErrorText(file.OpenError());
        return result;
    }
    // The opened file itself is examined: a path examined first could be replaced meanwhile.
    int error = 0;
    const std::optional<InputState> before = file.State(error);
    if (!before) {
        result.reason = FileErrorText(error);
        return result;
    }
    switch (before->kind) {
    case InputKind::Directory:
        result.reason = "フォルダーです";
        return result;
    case InputKind::NullDevice:
        // The usual stand-in for a missing side (git difftool passes it for an added file).
        result.ok = true;
        return result;
    case InputKind::Other:
        result.reason = kNotRegular;
        return result;
    case InputKind::Regular:
        break;
    }
    if (before->size > std::numeric_limits<std::size_t>::max() / 2) {
        result.reason = FileErrorText(EFBIG);
        return result;
    }

    if (before->size > static_cast<std::uint64_t>(kMaxLineBytes)) {
        const bool utf16 = StartsAsUtf16(file);
        const bool overlong = !utf16 && HasOverlongLine(file, before->size);
        if (!file.Seek(0)) {
            result.reason = FileErrorText(errno);
            return result;
        }
        if (overlong) {
            result.reason = kLineTooLong;
            return result;
        }
    }

    // The storage is never zero-filled: every byte of it that is used has been read.
    const std::size_t expected = static_cast<std::size_t>(before->size);
    std::unique_ptr<char[]> bytes = std::make_unique_for_overwrite<char[]>(expected);
    AdviseHugePages(bytes.get(), expected);
    ArrivalScan scan(expected);
    const SizedRead read = ReadExpectedBytes(
        [&file](char* buffer, std::size_t size) { return file.ReadSome(buffer, size); }, bytes.get(), expected,
        progress, [&](std::size_t arrived) { scan.Arrived(bytes.get(), arrived); });
    if (read.error != 0) {
        result.reason = FileErrorText(read.error);
        return result;
    }
    const std::optional<InputState> after = file.State(error);
    const bool rewritten = after && *after != *before;

    result.scanned = scan.Finish(bytes.get(), read.size);
    result.bytes = std::move(bytes);
    result.size = read.size;
    result.modified = static_cast<std::time_t>(before->modified.seconds);
    result.changedWhileReading = read.sizeChanged || rewritten;
    result.ok = true;
    return result;
}

}  // namespace kl
