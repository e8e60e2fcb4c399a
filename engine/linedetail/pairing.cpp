#include "engine/linedetail/pairing.h"

#include <algorithm>
#include <bit>


namespace kl {
namespace {

std::uint64_t StoreKey(std::int32_t start, std::int32_t end)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(start)) << 32) | static_cast<std::uint32_t>(end);
}

// The intervals paired so far, asked whether one of them contains a given interval: a
// Fenwick tree over start offsets holding the greatest end among the intervals that
// start at or before an offset.
class ContainmentIndex {
public:
    explicit ContainmentIndex(std::size_t textLength) : tree_(textLength + 2, -1) {}

    void Add(std::int32_t start, std::int32_t end)
    {
        for (std::size_t k = static_cast<std::size_t>(start) + 1; k < tree_.size(); k += k & (~k + 1))
            tree_[k] = std::max(tree_[k], end);
    }
    bool Contains(std::int32_t start, std::int32_t end) const
    {
        std::int32_t farthest = -1;
        for (std::size_t k = static_cast<std::size_t>(start) + 1; k > 0; k -= k & (~k + 1))
            farthest = std::max(farthest, tree_[k]);
        return farthest >= end;
    }

private:
    std::vector<std::int32_t> tree_;
};

// The first candidate of the other line, in the order longest first and then by start,
// that equals driving[start, start + length): the one with the smallest start. -1 when
// there is none.
std::int32_t FindPartner(const PairingLine& driving, const PairingLine& other, std::int32_t start, std::int32_t length)
{
    const std::uint64_t wanted = driving.hasher.Hash(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
    const std::string_view bytes = driving.shape.text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
    for (std::int32_t t : other.shape.starts) {
        if (t + length > other.shape.endLimit)
            break;
        if (other.hasher.Hash(static_cast<std::size_t>(t), static_cast<std::size_t>(length)) == wanted &&
            other.shape.IsCandidateEnd(t, t + length) &&
            other.shape.text.substr(static_cast<std::size_t>(t), static_cast<std::size_t>(length)) == bytes)
            return t;
    }
    return -1;
}

}  // namespace

std::int32_t CandidateStore::Touch(std::int32_t start, std::int32_t end)
{
    const auto [it, added] = index_.try_emplace(StoreKey(start, end), static_cast<std::int32_t>(list.size()));
    if (added) {
        SubstringCandidate c;
        c.start = start;
        c.end = end;
        list.push_back(c);
    }
    return it->second;
}

std::int32_t CandidateStore::Find(std::int32_t start, std::int32_t end) const
{
    const auto it = index_.find(StoreKey(start, end));
    return it == index_.end() ? kNoCandidate : it->second;
}

// The driving candidates are visited by length in cells, longest first, and within one length by
// ascending start: the fixed order of the sorted candidate list. Only candidates that have
// an equal candidate in the other line are visited, since trying any other changes
// nothing. A start is dropped from the visits once a candidate at it is paired or found
// inside a paired one: every shorter candidate at that start then lies inside the same
// paired candidate and is refused too. (AcceptCandidate's early acceptance needs an
// accepted entry of the same text that starts after the candidate; with equal lengths
// tried by ascending start such an entry is never accepted first.)
PairingOutcome PairDrivingLine(const PairingLine& driving, const PairingLine& other, std::int64_t limit,
                               const std::stop_token& stop)
{
    PairingOutcome outcome;
    const LineShape& shape = driving.shape;

    // The cells of the longest candidate at a start that can have a partner.
    const auto longestAt = [&](std::int32_t s) {
        const std::int32_t bytes = std::max(0, std::min(driving.reach[static_cast<std::size_t>(s)], shape.endLimit - s));
        return shape.Cells(s, s + bytes);
    };
    std::vector<std::int32_t> byLongest;
    for (std::int32_t s : shape.starts) {
        if (longestAt(s) >= kMinCandidateCells)
            byLongest.push_back(s);
    }
    std::stable_sort(byLongest.begin(), byLongest.end(),
                     [&](std::int32_t a, std::int32_t b) { return longestAt(a) > longestAt(b); });

    std::vector<std::uint64_t> active((shape.text.size() + 63) / 64, 0);
    std::vector<SubstringCandidate> accepted;  // snapshots of the paired candidates, in pairing order
    ContainmentIndex paired(shape.text.size());
    std::int64_t pairings = 0;
    std::size_t nextStart = 0;
    const std::int32_t longest = byLongest.empty() ? 0 : longestAt(byLongest.front());

    for (std::int32_t cells = longest; cells >= kMinCandidateCells; --cells) {
        while (nextStart < byLongest.size() && longestAt(byLongest[nextStart]) >= cells) {
            const auto s = static_cast<std::size_t>(byLongest[nextStart++]);
            active[s / 64] |= std::uint64_t{1} << (s % 64);
        }
        for (std::size_t word = 0; word < active.size(); ++word) {
            for (std::uint64_t bits = active[word]; bits != 0; bits &= bits - 1) {
                if (stop.stop_requested()) {
                    outcome.aborted = true;
                    return outcome;
                }
                const int bit = std::countr_zero(bits);
                const auto s = static_cast<std::int32_t>(word * 64 + static_cast<std::size_t>(bit));
                const std::int32_t e = shape.EndAfterCells(s, cells);
                if (e < 0)
                    continue;
                if (paired.Contains(s, e)) {
                    const std::int32_t stored = driving.store.Find(s, e);
                    SubstringCandidate c = stored == kNoCandidate ? SubstringCandidate{} : driving.store.list[static_cast<std::size_t>(stored)];
                    c.start = s;
                    c.end = e;
                    if (!AcceptCandidate(c, accepted, other.store.list, stop)) {
                        active[word] &= ~(std::uint64_t{1} << bit);
                        continue;
                    }
                }
                const std::int32_t bytes = e - s;
                const std::int32_t t = FindPartner(driving, other, s, bytes);
                if (t < 0)
                    continue;

                const std::int32_t d = driving.store.Touch(s, e);
                const std::int32_t o = other.store.Touch(t, t + bytes);
                SubstringCandidate& dc = driving.store.list[static_cast<std::size_t>(d)];
                SubstringCandidate& oc = other.store.list[static_cast<std::size_t>(o)];
                if (dc.matchLength < bytes)
                    dc.matchLength = bytes;
                if (oc.matchLength < bytes)
                    oc.counterpart = d;
                dc.counterpart = o;
                accepted.push_back(dc);
                outcome.paired.push_back(d);
                paired.Add(s, e);
                active[word] &= ~(std::uint64_t{1} << bit);

                if (limit >= 1) {
                    ++pairings;
                    if (cells <= kMinCandidateCells || pairings >= limit)
                        return outcome;
                }
            }
        }
    }
    return outcome;
}

}  // namespace kl
