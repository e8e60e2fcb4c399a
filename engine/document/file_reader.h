#pragma once
// Reading a whole text file into memory. Paths are UTF-8 strings on every platform.
#include <ctime>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/document/arrival_scan.h"

namespace kl {

// The last component of a path (the file name without its directory).
std::string FileNameOf(const std::string& utf8Path);

// Told, on the reading thread, how many bytes of how many a read has read so far.
using ReadProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

struct FileReadResult {
    bool ok = false;
    std::unique_ptr<char[]> bytes;  // every byte of the file, NUL bytes included
    std::size_t size = 0;           // bytes read
    std::time_t modified = 0;   // last modification time
    // The file grew, shrank or was written while it was read: bytes is what it held up to
    // its size at the start (less when it shrank), perhaps a mixture of old and new.
    bool changedWhileReading = false;
    std::string reason;         // why it failed, in Japanese where the program words it itself
    ScannedBytes scanned;       // what was seen of bytes while they were read
};

// Reads a regular file up to the size it has when it is opened. Anything else is refused
// without waiting for it: a directory, a FIFO, a device or a socket (a FIFO without a writer
// would block the open, a device may never end). A missing file or a read error fails.
// A file larger than the longest line a text may hold is first scanned for such a line
// (skipping holes of a sparse file), and refused without being read into memory when it
// has one (unless it is UTF-16, whose lines shrink when they are held).
FileReadResult ReadWholeFile(const std::string& utf8Path, const ReadProgress& progress = {});

// The bytes of an opened file read against the size it had: up to expected bytes go into
// buffer, fewer when the file ends sooner; then one byte more is tried, so that a file
// that grew is noticed. readSome reads like InputFile::ReadSome (a count, 0 at the end, -1
// with errno set); error is the errno of a failed read. With progress, the bytes are read
// in pieces of a few megabytes, each reported. With arrived, the bytes are read in pieces
// of a quarter megabyte, and arrived is told the bytes in buffer after each.
struct SizedRead {
    std::size_t size = 0;
    bool sizeChanged = false;  // the file ended early, or there was more after expected bytes
    int error = 0;
};
using ReadSomeBytes = std::function<long long(char* buffer, std::size_t size)>;
SizedRead ReadExpectedBytes(const ReadSomeBytes& readSome, char* buffer, std::size_t expected,
                            const ReadProgress& progress = {},
                            const std::function<void(std::size_t)>& arrived = {});

}  // namespace kl
