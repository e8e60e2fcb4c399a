#pragma once
// A file opened for reading with the system's own calls, for the readers that must not be
// fooled by what a path names: the opened file itself is examined, never the path again.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/platform/file_time.h"

namespace kl {

enum class InputKind {
    Regular,
    Directory,
    NullDevice,  // /dev/null, NUL on Windows: the usual stand-in for a missing file
    Other,       // a named pipe, a socket, any other device
};

// What the opened file is, how long it is and when it was last written.
struct InputState {
    InputKind kind = InputKind::Other;
    std::uint64_t size = 0;
    FileTime modified;

    bool operator==(const InputState&) const = default;
};

// How an open treats what it finds.
enum class InputOpen {
    Usual,
    // The caller has just listed a regular file there: the open is the only system call
    // (reads of a regular file never wait on O_NONBLOCK anyway). A folder comparison opens
    // tens of thousands of files this way.
    ListedFile,
};

class InputFile {
public:
    // Opens the file at utf8Path for reading. The open never waits: a named pipe without a
    // writer opens at once (and then shows as InputKind::Other). On Windows "/dev/null"
    // stands for NUL, as Git for Windows passes it for a missing side.
    explicit InputFile(const std::string& utf8Path, InputOpen how = InputOpen::Usual);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsOpen() const;
    // The errno of a failed open (ENOENT, ENOTDIR for a missing folder, EACCES, ...).
    int OpenError() const { return openError_; }

    // The opened file's state; nothing with error set to the errno when it cannot be had.
    std::optional<InputState> State(int& error) const;

    // Reads up to size bytes: how many, 0 at the end, -1 on an error with errno set. Reads
    // of a regular file wait for the disk as usual.
    long long ReadSome(char* buffer, std::size_t size);

    // Reads until buffer is full or the file ends; -1 on an error with errno set.
    long long ReadFull(char* buffer, std::size_t size);

    // Moves the read position of a regular file to offset; false with errno set on failure.
    bool Seek(std::uint64_t offset);
    // Where the next stretch of data starts at or after offset in a sparse file; -1 when only
    // a hole follows (it reads as NUL bytes up to the end). Where holes cannot be asked for,
    // offset itself. Leaves the read position unspecified: Seek before reading on.
    long long NextData(std::uint64_t offset);

private:
#if defined(_WIN32)
    void* handle_ = nullptr;  // a HANDLE; nullptr when the open failed
    bool nullDevice_ = false;
#else
    int fd_;
#endif
    int openError_ = 0;
};

}  // namespace kl
