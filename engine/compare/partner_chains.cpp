#include "engine/compare/partner_chains.h"

#include <limits>
#include <stdexcept>
#include <utility>

namespace kl {

PartnerChains::PartnerChains(int lineCount) : last_(static_cast<std::size_t>(lineCount), kNoNode)
{
    // Nearly every line of two similar texts gets one partner.
    nodes_.reserve(static_cast<std::size_t>(lineCount));
}

std::int32_t PartnerChains::Insert(int line, std::int32_t partner)
{
    if (nodes_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("too many partner lines");
    const auto node = static_cast<std::int32_t>(nodes_.size());
    std::int32_t& last = last_[static_cast<std::size_t>(line)];
    if (last == kNoNode) {
        nodes_.push_back(Node{partner, node});
    } else {
        Node& tail = nodes_[static_cast<std::size_t>(last)];
        const std::int32_t first = tail.next;
        tail.next = node;
        nodes_.push_back(Node{partner, first});
    }
    return node;
}

std::int32_t PartnerChains::First(int line) const
{
    const std::int32_t last = last_[static_cast<std::size_t>(line)];
    return last == kNoNode ? kNoNode : nodes_[static_cast<std::size_t>(last)].next;
}

void PartnerChains::PushFront(int line, std::int32_t partner)
{
    // A node put right after the last one is the new first; the last stays.
    const std::int32_t node = Insert(line, partner);
    std::int32_t& last = last_[static_cast<std::size_t>(line)];
    if (last == kNoNode)
        last = node;
}

void PartnerChains::PushBack(int line, std::int32_t partner)
{
    last_[static_cast<std::size_t>(line)] = Insert(line, partner);
}

void PartnerChains::SwapFirstTwo(int line)
{
    Node& first = nodes_[static_cast<std::size_t>(First(line))];
    std::swap(first.partner, nodes_[static_cast<std::size_t>(first.next)].partner);
}

bool PartnerChains::HasAtMostOne(int line) const
{
    const std::int32_t last = last_[static_cast<std::size_t>(line)];
    return last == kNoNode || nodes_[static_cast<std::size_t>(last)].next == last;
}

std::vector<std::int32_t> PartnerChains::Lines(int line) const
{
    std::vector<std::int32_t> lines;
    const std::int32_t last = last_[static_cast<std::size_t>(line)];
    if (last == kNoNode)
        return lines;
    std::int32_t n = last;
    do {
        n = nodes_[static_cast<std::size_t>(n)].next;
        lines.push_back(nodes_[static_cast<std::size_t>(n)].partner);
    } while (n != last);
    return lines;
}

PartnerLists PartnerChains::Pack()
{
    PartnerLists lists;
    if (last_.empty())
        return lists;
    lists.starts.reserve(last_.size() + 1);
    lists.lines.reserve(nodes_.size());
    lists.starts.push_back(0);
    for (const std::int32_t last : last_) {
        if (last != kNoNode) {
            std::int32_t n = last;
            do {
                n = nodes_[static_cast<std::size_t>(n)].next;
                lists.lines.push_back(nodes_[static_cast<std::size_t>(n)].partner);
            } while (n != last);
        }
        lists.starts.push_back(static_cast<std::uint32_t>(lists.lines.size()));
    }
    *this = PartnerChains();
    return lists;
}

}  // namespace kl
