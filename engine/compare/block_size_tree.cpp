#include "engine/compare/block_size_tree.h"

#include <algorithm>

namespace kl {

BlockSizeTree::BlockSizeTree(std::span<const std::int32_t> blockSizes) : count_(static_cast<int>(blockSizes.size()))
{
    while (leaves_ < blockSizes.size()) leaves_ *= 2;
    largest_.assign(2 * leaves_, 0);
    std::copy(blockSizes.begin(), blockSizes.end(), largest_.begin() + static_cast<std::ptrdiff_t>(leaves_));
    for (std::size_t node = leaves_ - 1; node >= 1; --node)
        largest_[node] = std::max(largest_[2 * node], largest_[2 * node + 1]);
}

void BlockSizeTree::Set(int line, std::int32_t blockSize)
{
    std::size_t node = leaves_ + static_cast<std::size_t>(line);
    if (largest_[node] == blockSize) return;
    largest_[node] = blockSize;
    for (node /= 2; node >= 1; node /= 2) {
        const std::int32_t value = std::max(largest_[2 * node], largest_[2 * node + 1]);
        if (largest_[node] == value) break;
        largest_[node] = value;
    }
}

int BlockSizeTree::FirstAbove(int from, std::int32_t limit) const
{
    if (from >= count_) return count_;
    // Climb to the first subtree at or after from that holds a larger value...
    std::size_t node = leaves_ + static_cast<std::size_t>(from);
    while (largest_[node] <= limit) {
        while (node & 1) node /= 2;  // a right child: its parent's range ends where it ends
        if (node == 0) return count_;
        ++node;                      // the subtree right after it
    }
    // ...then descend to its leftmost such leaf. Padding leaves hold 0 and never qualify.
    while (node < leaves_) {
        node *= 2;
        if (largest_[node] <= limit) ++node;
    }
    return static_cast<int>(node - leaves_);
}

}  // namespace kl
