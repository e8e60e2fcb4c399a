#include "engine/linedetail/bounded_line_diff.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kl {
namespace {

// A line as a sequence of characters. A line of single-byte characters only (the common
// case) needs no table: character i is byte i.
class CharSequence {
public:
    CharSequence(std::string_view text, TextEncoding encoding) : text_(text)
    {
        std::size_t count = 0;
        for (std::size_t pos = 0; pos < text.size(); ++count) {
            const std::size_t next = NextCharIn(encoding, text, pos);
            if (next != pos + 1 && starts_.empty()) {
                // The first multi-byte character: from here on every start is kept.
                starts_.reserve(text.size() + 1);
                for (std::size_t k = 0; k < count; ++k)
                    starts_.push_back(static_cast<std::uint32_t>(k));
            }
            if (!starts_.empty() || next != pos + 1)
                starts_.push_back(static_cast<std::uint32_t>(pos));
            pos = next;
        }
        if (!starts_.empty())
            starts_.push_back(static_cast<std::uint32_t>(text.size()));
        count_ = static_cast<std::int64_t>(count);
    }

    std::int64_t size() const { return count_; }
    bool singleBytes() const { return starts_.empty(); }
    std::string_view text() const { return text_; }
    std::uint32_t Start(std::int64_t i) const
    {
        return starts_.empty() ? static_cast<std::uint32_t>(i) : starts_[static_cast<std::size_t>(i)];
    }

private:
    std::string_view text_;
    std::vector<std::uint32_t> starts_;  // every character start and the end; empty for single bytes only
    std::int64_t count_ = 0;
};

// Myers' search over two character sequences, split by split, with the work bounded.
class BoundedSearch {
public:
    BoundedSearch(const CharSequence& a, const CharSequence& b, const std::stop_token& stop, const BoundedDiffLimits& limits)
        : a_(a),
          b_(b),
          bytes_(a.singleBytes() && b.singleBytes()),
          stop_(stop),
          // No split takes more edit steps than the two sequences have characters.
          maxCost_(std::clamp<std::int64_t>(limits.stepsPerSplit, 1, a.size() + b.size() + 1)),
          work_(limits.work),
          forward_(static_cast<std::size_t>(2 * maxCost_ + 7)),
          backward_(static_cast<std::size_t>(2 * maxCost_ + 7)),
          changedA_(static_cast<std::size_t>(a.size()), 0),
          changedB_(static_cast<std::size_t>(b.size()), 0)
    {
    }

    // Marks every character that is not part of the common sequence found; false when a
    // stop was requested.
    bool Run();
    std::vector<CommonStretch> Stretches() const;

private:
    struct Box {
        std::int64_t off1, lim1, off2, lim2;
    };
    struct SplitPoint {
        std::int64_t x, y;
    };
    enum class SplitOutcome { Found, OutOfWork, Stopped };

    bool Equal(std::int64_t i, std::int64_t j) const
    {
        if (bytes_)
            return a_.text()[static_cast<std::size_t>(i)] == b_.text()[static_cast<std::size_t>(j)];
        const std::uint32_t s1 = a_.Start(i);
        const std::uint32_t s2 = b_.Start(j);
        const std::uint32_t n = a_.Start(i + 1) - s1;
        return n == b_.Start(j + 1) - s2 && std::memcmp(a_.text().data() + s1, b_.text().data() + s2, n) == 0;
    }
    SplitOutcome Split(const Box& box, SplitPoint& split);
    void MarkChanged(const Box& box);

    // The forward and the backward furthest reach per diagonal, each kept in a window
    // around the diagonal its search starts from: a split never goes further than
    // maxCost_ + 2 diagonals from it.
    std::int64_t& F(std::int64_t d) { return forward_[static_cast<std::size_t>(d - forwardBase_)]; }
    std::int64_t& B(std::int64_t d) { return backward_[static_cast<std::size_t>(d - backwardBase_)]; }

    const CharSequence& a_;
    const CharSequence& b_;
    const bool bytes_;
    const std::stop_token& stop_;
    const std::int64_t maxCost_;
    std::int64_t work_;
    std::vector<std::int64_t> forward_;
    std::vector<std::int64_t> backward_;
    std::int64_t forwardBase_ = 0;
    std::int64_t backwardBase_ = 0;
    std::vector<std::uint8_t> changedA_;
    std::vector<std::uint8_t> changedB_;
};

void BoundedSearch::MarkChanged(const Box& box)
{
    std::fill(changedA_.begin() + box.off1, changedA_.begin() + box.lim1, std::uint8_t{1});
    std::fill(changedB_.begin() + box.off2, changedB_.begin() + box.lim2, std::uint8_t{1});
}

// One split of the box, whose first and last characters differ: the middle of a shortest
// edit script when one is found within maxCost_ edit steps from both ends, else the
// point of the diagonal that reached furthest from either end.
BoundedSearch::SplitOutcome BoundedSearch::Split(const Box& box, SplitPoint& split)
{
    const auto [off1, lim1, off2, lim2] = box;
    const std::int64_t dmin = off1 - lim2;
    const std::int64_t dmax = lim1 - off2;
    const std::int64_t fmid = off1 - off2;
    const std::int64_t bmid = lim1 - lim2;
    const bool odd = ((fmid - bmid) & 1) != 0;
    constexpr std::int64_t kBeforeAll = -1;
    constexpr std::int64_t kAfterAll = std::numeric_limits<std::int64_t>::max();
    forwardBase_ = fmid - maxCost_ - 3;
    backwardBase_ = bmid - maxCost_ - 3;
    std::int64_t fmin = fmid, fmax = fmid, bmin = bmid, bmax = bmid;
    F(fmid) = off1;
    B(bmid) = lim1;

    for (std::int64_t cost = 1;; ++cost) {
        if (stop_.stop_requested())
            return SplitOutcome::Stopped;
        if (work_ < 0)
            return SplitOutcome::OutOfWork;
        // The diagonals reached grow by one at each end; one that would leave the box
        // turns back instead. The diagonal just outside is set so that it never wins.
        if (fmin > dmin)
            F(--fmin - 1) = kBeforeAll;
        else
            ++fmin;
        if (fmax < dmax)
            F(++fmax + 1) = kBeforeAll;
        else
            --fmax;
        for (std::int64_t d = fmax; d >= fmin; d -= 2) {
            std::int64_t x = F(d - 1) >= F(d + 1) ? F(d - 1) + 1 : F(d + 1);
            std::int64_t y = x - d;
            const std::int64_t from = x;
            while (x < lim1 && y < lim2 && Equal(x, y)) {
                ++x;
                ++y;
            }
            work_ -= 1 + (x - from);
            F(d) = x;
            if (odd && bmin <= d && d <= bmax && B(d) <= x) {
                split = {x, y};
                return SplitOutcome::Found;
            }
        }

        if (bmin > dmin)
            B(--bmin - 1) = kAfterAll;
        else
            ++bmin;
        if (bmax < dmax)
            B(++bmax + 1) = kAfterAll;
        else
            --bmax;
        for (std::int64_t d = bmax; d >= bmin; d -= 2) {
            std::int64_t x = B(d - 1) < B(d + 1) ? B(d - 1) : B(d + 1) - 1;
            std::int64_t y = x - d;
            const std::int64_t from = x;
            while (x > off1 && y > off2 && Equal(x - 1, y - 1)) {
                --x;
                --y;
            }
            work_ -= 1 + (from - x);
            B(d) = x;
            if (!odd && fmin <= d && d <= fmax && x <= F(d)) {
                split = {x, y};
                return SplitOutcome::Found;
            }
        }

        if (cost < maxCost_)
            continue;
        // Too costly to finish: split where a search got furthest along its diagonals.
        std::int64_t forwardBest = -1, forwardX = -1;
        for (std::int64_t d = fmax; d >= fmin; d -= 2) {
            std::int64_t x = std::min(F(d), lim1);
            std::int64_t y = x - d;
            if (lim2 < y) {
                x = lim2 + d;
                y = lim2;
            }
            if (forwardBest < x + y) {
                forwardBest = x + y;
                forwardX = x;
            }
        }
        std::int64_t backwardBest = kAfterAll, backwardX = kAfterAll;
        for (std::int64_t d = bmax; d >= bmin; d -= 2) {
            std::int64_t x = std::max(off1, B(d));
            std::int64_t y = x - d;
            if (y < off2) {
                x = off2 + d;
                y = off2;
            }
            if (x + y < backwardBest) {
                backwardBest = x + y;
                backwardX = x;
            }
        }
        if ((lim1 + lim2) - backwardBest < forwardBest - (off1 + off2))
            split = {forwardX, forwardBest - forwardX};
        else
            split = {backwardX, backwardBest - backwardX};
        return SplitOutcome::Found;
    }
}

bool BoundedSearch::Run()
{
    std::vector<Box> pending{{0, a_.size(), 0, b_.size()}};
    while (!pending.empty()) {
        Box box = pending.back();
        pending.pop_back();
        // Equal characters at either end are common.
        const std::int64_t sizeBefore = box.lim1 - box.off1;
        while (box.off1 < box.lim1 && box.off2 < box.lim2 && Equal(box.off1, box.off2)) {
            ++box.off1;
            ++box.off2;
        }
        while (box.off1 < box.lim1 && box.off2 < box.lim2 && Equal(box.lim1 - 1, box.lim2 - 1)) {
            --box.lim1;
            --box.lim2;
        }
        work_ -= sizeBefore - (box.lim1 - box.off1);
        if (box.off1 == box.lim1 || box.off2 == box.lim2 || work_ < 0) {
            MarkChanged(box);
            continue;
        }
        SplitPoint split{};
        switch (Split(box, split)) {
        case SplitOutcome::Stopped:
            return false;
        case SplitOutcome::OutOfWork:
            MarkChanged(box);
            continue;
        case SplitOutcome::Found:
            break;
        }
        pending.push_back({split.x, box.lim1, split.y, box.lim2});
        pending.push_back({box.off1, split.x, box.off2, split.y});
    }
    return true;
}

std::vector<CommonStretch> BoundedSearch::Stretches() const
{
    std::vector<CommonStretch> stretches;
    const std::int64_t n = a_.size();
    const std::int64_t m = b_.size();
    std::int64_t i = 0;
    std::int64_t j = 0;
    for (;;) {
        while (i < n && changedA_[static_cast<std::size_t>(i)] != 0)
            ++i;
        while (j < m && changedB_[static_cast<std::size_t>(j)] != 0)
            ++j;
        if (i == n || j == m)
            break;
        const std::int64_t i0 = i;
        const std::int64_t j0 = j;
        while (i < n && j < m && changedA_[static_cast<std::size_t>(i)] == 0 && changedB_[static_cast<std::size_t>(j)] == 0) {
            ++i;
            ++j;
        }
        stretches.push_back({static_cast<std::int32_t>(a_.Start(i0)), static_cast<std::int32_t>(b_.Start(j0)),
                             static_cast<std::int32_t>(a_.Start(i) - a_.Start(i0))});
    }
    return stretches;
}

}  // namespace

BoundedDiff DiffLongLines(std::string_view text1, std::string_view text2, TextEncoding encoding,
                          const std::stop_token& stop, const BoundedDiffLimits& limits)
{
    const CharSequence a(text1, encoding);
    const CharSequence b(text2, encoding);
    BoundedSearch search(a, b, stop, limits);
    BoundedDiff diff;
    if (!search.Run()) {
        diff.aborted = true;
        return diff;
    }
    diff.stretches = search.Stretches();
    return diff;
}

}  // namespace kl
