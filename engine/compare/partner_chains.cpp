#include "engine/compare/partner_chains.h"

#include <limits>
#include <stdexcept>
#include <utility>

namespace kl {

PartnerChains::PartnerChains(int lineCount)
    : head_(static_cast<std::size_t>(lineCount), kNoNode), tail_(static_cast<std::size_t>(lineCount), kNoNode)
{
}

std::int32_t PartnerChains::NextNode() const
{
    if (nodes_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("too many partner lines");
    return static_cast<std::int32_t>(nodes_.size());
}

void PartnerChains::PushFront(int line, std::int32_t partner)
{
    const auto k = static_cast<std::size_t>(line);
    const std::int32_t node = NextNode();
    nodes_.push_back(Node{partner, head_[k]});
    head_[k] = node;
    if (tail_[k] == kNoNode)
        tail_[k] = node;
}

void PartnerChains::PushBack(int line, std::int32_t partner)
{
    const auto k = static_cast<std::size_t>(line);
    const std::int32_t node = NextNode();
    nodes_.push_back(Node{partner, kNoNode});
    if (tail_[k] == kNoNode)
        head_[k] = node;
    else
        nodes_[static_cast<std::size_t>(tail_[k])].next = node;
    tail_[k] = node;
}

void PartnerChains::SwapFirstTwo(int line)
{
    Node& first = nodes_[static_cast<std::size_t>(head_[static_cast<std::size_t>(line)])];
    std::swap(first.partner, nodes_[static_cast<std::size_t>(first.next)].partner);
}

bool PartnerChains::HasAtMostOne(int line) const
{
    const std::int32_t first = head_[static_cast<std::size_t>(line)];
    return first == kNoNode || nodes_[static_cast<std::size_t>(first)].next == kNoNode;
}

std::vector<std::int32_t> PartnerChains::Lines(int line) const
{
    std::vector<std::int32_t> lines;
    for (std::int32_t n = head_[static_cast<std::size_t>(line)]; n != kNoNode; n = nodes_[static_cast<std::size_t>(n)].next)
        lines.push_back(nodes_[static_cast<std::size_t>(n)].partner);
    return lines;
}

PartnerLists PartnerChains::Pack()
{
    PartnerLists lists;
    if (head_.empty())
        return lists;
    lists.starts.reserve(head_.size() + 1);
    lists.lines.reserve(nodes_.size());
    lists.starts.push_back(0);
    for (std::int32_t first : head_) {
        for (std::int32_t n = first; n != kNoNode; n = nodes_[static_cast<std::size_t>(n)].next)
            lists.lines.push_back(nodes_[static_cast<std::size_t>(n)].partner);
        lists.starts.push_back(static_cast<std::uint32_t>(lists.lines.size()));
    }
    *this = PartnerChains();
    return lists;
}

}  // namespace kl
