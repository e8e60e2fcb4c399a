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
    // Each chain is a ring: a line knows its last node, and the last node links to the
    // first, so both ends are reached in one step with a single index per line.
    struct Node {
        std::int32_t partner;
        std::int32_t next;
    };
    static constexpr std::int32_t kNoNode = -1;
    // Appends a node after the line's last one (or as the only one) and returns it.
    std::int32_t Insert(int line, std::int32_t partner);
    std::int32_t First(int line) const;

    std::vector<std::int32_t> last_;  // per line, kNoNode for an empty list
    std::vector<Node> nodes_;
};

}  // namespace kl
