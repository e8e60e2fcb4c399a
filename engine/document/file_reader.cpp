#include "engine/document/file_reader.h"

#include <cerrno>
#include <cstdint>
#include <limits>

#include "engine/platform/file_error_text.h"
#include "engine/platform/input_file.h"
#include "engine/platform/large_buffer.h"
#include "engine/platform/utf8_path.h"

namespace kl {

std::string FileNameOf(const std::string& utf8Path)
{
    return Utf8FromPath(PathFromUtf8(utf8Path).filename());
}

SizedRead ReadExpectedBytes(const ReadSomeBytes& readSome, char* buffer, std::size_t expected)
{
    SizedRead read;
    while (read.size < expected) {
        const long long got = readSome(buffer + read.size, expected - read.size);
        if (got < 0) {
            read.error = errno;
            return read;
        }
        if (got == 0) {
            read.sizeChanged = true;
            return read;
        }
        read.size += static_cast<std::size_t>(got);
    }
    char probe;
    // A failing probe is no reason to give up what was read.
    read.sizeChanged = readSome(&probe, 1) > 0;
    return read;
}

FileReadResult ReadWholeFile(const std::string& utf8Path)
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

    // The storage is never zero-filled: every byte of it that is used has been read.
    const std::size_t expected = static_cast<std::size_t>(before->size);
    std::unique_ptr<char[]> bytes = std::make_unique_for_overwrite<char[]>(expected);
    AdviseHugePages(bytes.get(), expected);
    const SizedRead read = ReadExpectedBytes(
        [&file](char* buffer, std::size_t size) { return file.ReadSome(buffer, size); }, bytes.get(), expected);
    if (read.error != 0) {
        result.reason = FileErrorText(read.error);
        return result;
    }
    const std::optional<InputState> after = file.State(error);
    const bool rewritten = after && *after != *before;

    result.bytes = std::move(bytes);
    result.size = read.size;
    result.modified = static_cast<std::time_t>(before->modified.seconds);
    result.changedWhileReading = read.sizeChanged || rewritten;
    result.ok = true;
    return result;
}

}  // namespace kl
