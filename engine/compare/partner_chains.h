#pragma once
// The partner line lists of one text while the matcher builds them: lines get partners put
// in front and at the back in any order, so every list is a chain of nodes in one shared
// store instead of a heap vector per line. A finished run packs them into PartnerLists.
#include <cstdint>
#include <vector>

#include "engine/compare/compare_result.h"

namespace kl {

class PartnerChains {
public:
    explicit PartnerChains(int lineCount = 0);

    void PushFront(int line, std::int32_t partner);
    void PushBack(int line, std::int32_t partner);
    // Swaps the first two entries; the list must hold at least two.
    void SwapFirstTwo(int line);
    bool HasAtMostOne(int line) const;
    std::vector<std::int32_t> Lines(int line) const;

    // The lists in one flat store, line by line; the chains are left empty.
    PartnerLists Pack();

private:
    struct Node {
        std::int32_t partner;
        std::int32_t next;  // kNoNode at the end of a chain
    };
    static constexpr std::int32_t kNoNode = -1;
    std::int32_t NextNode() const;

    std::vector<std::int32_t> head_;  // per line
    std::vector<std::int32_t> tail_;  // per line
    std::vector<Node> nodes_;
};

}  // namespace kl
