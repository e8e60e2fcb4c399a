#include "engine/platform/block_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "engine/platform/input_file.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kl {

namespace {

// Large enough that the system reads ahead at full speed, small enough for the cache.
constexpr std::size_t kBlockBytes = 256 * 1024;
constexpr std::size_t kBinaryProbeBytes = 8192;

#if defined(_WIN32)
using BlockFile = InputFile;
#else
// A regular file opened for reading and nothing else: a folder comparison opens tens of
// thousands, so the open costs one call. O_NONBLOCK keeps a pipe that took the file's place
// since the listing from blocking the open.
class BlockFile {
public:
    explicit BlockFile(const std::string& utf8Path)
        : fd_(::open(utf8Path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)), openError_(fd_ < 0 ? errno : 0)
    {
    }
    ~BlockFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    BlockFile(const BlockFile&) = delete;
    BlockFile& operator=(const BlockFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int OpenError() const { return openError_; }
    // Reads until buffer is full or the file ends; -1 on an error with errno set.
    long long ReadFull(char* buffer, std::size_t size)
    {
        std::size_t filled = 0;
        while (filled < size) {
            const ssize_t got = ::read(fd_, buffer + filled, size - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return -1;
            if (got == 0)
                break;
            filled += static_cast<std::size_t>(got);
        }
        return static_cast<long long>(filled);
    }

private:
    int fd_;
    int openError_;
};
#endif

}  // namespace

bool HeadLooksBinary(std::string_view head)
{
    return head.substr(0, std::min(head.size(), kBinaryProbeBytes)).find('\0') != std::string_view::npos;
}

BlockComparison CompareFileBlocks(const std::string& first, const std::string& second, std::uint64_t size,
                                  bool keepHeads, std::stop_token stop)
{
    BlockComparison result;
    if (size == 0)
        return result;
    BlockFile files[2]{BlockFile(first), BlockFile(second)};
    for (int side = 0; side < 2; ++side) {
        if (!files[side].IsOpen()) {
            result.outcome = BlockOutcome::Failed;
            result.failedSide = side;
            result.error = files[side].OpenError();
            return result;
        }
    }
    // Kept for the thread's next comparison: a folder run compares thousands of small pairs.
    thread_local const std::unique_ptr<char[]> buffers[2]{std::make_unique_for_overwrite<char[]>(kBlockBytes),
                                                          std::make_unique_for_overwrite<char[]>(kBlockBytes)};
    for (std::uint64_t done = 0; done < size;) {
        if (stop.stop_requested()) {
            result.outcome = BlockOutcome::Stopped;
            return result;
        }
        // Exactly what is left of the size: a file of that size needs no read that finds its end.
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kBlockBytes, size - done));
        long long got[2];
        for (int side = 0; side < 2; ++side) {
            got[side] = files[side].ReadFull(buffers[side].get(), wanted);
            if (got[side] < 0) {
                result.outcome = BlockOutcome::Failed;
                result.failedSide = side;
                result.error = errno != 0 ? errno : EIO;
                return result;
            }
            if (done != 0)
                continue;
            const std::string_view head(buffers[side].get(), static_cast<std::size_t>(got[side]));
            result.binary[side] = HeadLooksBinary(head);
            if (keepHeads)
                result.heads[side] = head.substr(0, kFileHeadBytes);
        }
        // A file that shrank since it was listed ends early, and differs.
        if (got[0] != static_cast<long long>(wanted) || got[1] != static_cast<long long>(wanted) ||
            std::memcmp(buffers[0].get(), buffers[1].get(), wanted) != 0) {
            result.outcome = BlockOutcome::Different;
            return result;
        }
        done += wanted;
    }
    return result;
}

std::string ReadFileHead(const std::string& utf8Path, std::size_t maxBytes, int& error)
{
    error = 0;
    InputFile file(utf8Path);
    if (!file.IsOpen()) {
        error = file.OpenError();
        return {};
    }
    thread_local std::unique_ptr<char[]> buffer;
    thread_local std::size_t bufferSize = 0;
    if (bufferSize < maxBytes) {
        buffer = std::make_unique_for_overwrite<char[]>(maxBytes);
        bufferSize = maxBytes;
    }
    const long long got = file.ReadFull(buffer.get(), maxBytes);
    if (got < 0) {
        error = errno != 0 ? errno : EIO;
        return {};
    }
    return std::string(buffer.get(), static_cast<std::size_t>(got));
}

}  // namespace kl
