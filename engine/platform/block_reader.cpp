#include "engine/platform/block_reader.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include "engine/platform/input_file.h"

namespace kl {

namespace {

// Large enough that the system reads ahead at full speed, small enough for the cache.
constexpr std::size_t kBlockBytes = 256 * 1024;

}  // namespace

BlockComparison CompareFileBlocks(const std::string& first, const std::string& second, std::stop_token stop)
{
    BlockComparison result;
    InputFile files[2]{InputFile(first), InputFile(second)};
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
    for (bool firstBlock = true;; firstBlock = false) {
        if (stop.stop_requested()) {
            result.outcome = BlockOutcome::Stopped;
            return result;
        }
        long long got[2];
        for (int side = 0; side < 2; ++side) {
            got[side] = files[side].ReadFull(buffers[side].get(), kBlockBytes);
            if (got[side] < 0) {
                result.outcome = BlockOutcome::Failed;
                result.failedSide = side;
                result.error = errno != 0 ? errno : EIO;
                return result;
            }
            if (firstBlock)
                result.heads[side].assign(buffers[side].get(),
                                          std::min<std::size_t>(static_cast<std::size_t>(got[side]), kFileHeadBytes));
        }
        if (got[0] != got[1] ||
            std::memcmp(buffers[0].get(), buffers[1].get(), static_cast<std::size_t>(got[0])) != 0) {
            result.outcome = BlockOutcome::Different;
            return result;
        }
        if (got[0] == 0)
            return result;
    }
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
