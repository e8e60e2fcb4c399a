#pragma once
// The largest block size over ranges of lines of one table, kept up to date as block sizes
// change. The candidate search asks it for the next line whose block is larger than a given
// size, so it can pass over lines that cannot stop the search without visiting them.
#include <cstdint>
#include <span>
#include <vector>

namespace kl {

class BlockSizeTree {
public:
    explicit BlockSizeTree(std::span<const std::int32_t> blockSizes);

    void Set(int line, std::int32_t blockSize);
    // The first line at or after from whose block size exceeds limit (limit >= 0);
    // the line count when there is none.
    int FirstAbove(int from, std::int32_t limit) const;

private:
    int count_ = 0;
    std::size_t leaves_ = 1;              // a power of two >= count_
    std::vector<std::int32_t> largest_;   // heap layout: node k has children 2k and 2k + 1
};

}  // namespace kl
