#include "engine/platform/block_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "engine/platform/input_file.h"

namespace kl {

namespace {

// Large enough that the system reads ahead at full speed, small enough for the cache.
constexpr std::size_t kBlockBytes = 256 * 1024;
constexpr std::size_t kBinaryProbeBytes = 8192;

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
    InputFile files[2]{InputFile(first, InputOpen::ListedFile), InputFile(second, InputOpen::ListedFile)};
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
    InputFile file(utf8Path, InputOpen::ListedFile);
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
