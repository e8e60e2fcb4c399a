#pragma once
// Comparing two files block by block, without ever holding more than a block of each: the
// comparison stops at the first block that differs.
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>
#include <string_view>

namespace kl {

// Bytes of each file kept for telling its kind (binary, encoding, line ends).
inline constexpr std::size_t kFileHeadBytes = 64 * 1024;

enum class BlockOutcome {
    Same,       // the same bytes, to the end of both
    Different,  // a block differs, or one file is longer
    Failed,     // a file could not be opened or read
    Stopped,    // the stop request came first
};

struct BlockComparison {
    BlockOutcome outcome = BlockOutcome::Same;
    int failedSide = 0;  // 0 or 1, with Failed
    int error = 0;       // errno, with Failed
    std::string heads[2];  // the first bytes of each file, up to kFileHeadBytes, when kept
    bool binary[2]{};      // the file holds a NUL byte in its first 8 KB
};

// Whether the bytes hold a NUL in their first 8 KB: binary rather than text.
bool HeadLooksBinary(std::string_view head);

// Compares the first size bytes of the files at the two UTF-8 paths, both listed with that
// size (a file that has since shrunk differs; what has since grown is not looked at);
// keepHeads keeps their first bytes.
BlockComparison CompareFileBlocks(const std::string& first, const std::string& second, std::uint64_t size,
                                  bool keepHeads, std::stop_token stop = {});

// The first bytes of a file listed as a regular file, up to maxBytes; error is set (and the
// result empty) when it cannot be read.
std::string ReadFileHead(const std::string& utf8Path, std::size_t maxBytes, int& error);

}  // namespace kl
