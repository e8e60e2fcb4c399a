#include "engine/compare/myers_diff.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace kl {
namespace {

struct Split {
    int x;
    int y;
};

class MyersSearch {
public:
    // The diagonal tables cover the range only: the histogram search asks for many small
    // ranges of large texts.
    MyersSearch(const KeySequences& keys, LineAlignment& out, const LineRange& range)
        : a_(keys.a.data()),
          b_(keys.b.data()),
          out_(out),
          offset_(range.ylim - range.xoff + 1),
          fd_(static_cast<std::size_t>(range.xlim - range.xoff) + static_cast<std::size_t>(range.ylim - range.yoff) + 3),
          bd_(fd_.size())
    {
        // About the square root of the number of diagonals, at least 4096.
        int limit = 1;
        for (std::size_t diagonals = fd_.size(); diagonals != 0; diagonals >>= 2)
            limit <<= 1;
        tooExpensive_ = std::max(4096, limit);
    }

    bool Run(const LineRange& whole, const std::stop_token& stop)
    {
        std::vector<LineRange> pending{whole};
        while (!pending.empty()) {
            if (stop.stop_requested())
                return false;
            LineRange r = pending.back();
            pending.pop_back();
            if (!LinkEqualEnds(r, a_, b_, out_))
                continue;
            const Split s = Middle(r);
            // A split in a corner would not make the ranges smaller: leave the range changed.
            if ((s.x == r.xoff && s.y == r.yoff) || (s.x == r.xlim && s.y == r.ylim))
                continue;
            pending.push_back({s.x, r.xlim, s.y, r.ylim});
            pending.push_back({r.xoff, s.x, r.yoff, s.y});
        }
        return true;
    }

private:
    int& F(int d) { return fd_[static_cast<std::size_t>(d + offset_)]; }
    int& B(int d) { return bd_[static_cast<std::size_t>(d + offset_)]; }

    // A point on a shortest path through range (or, past the cost limit, a good one).
    Split Middle(const LineRange& r)
    {
        const int dmin = r.xoff - r.ylim;
        const int dmax = r.xlim - r.yoff;
        const int fmid = r.xoff - r.yoff;
        const int bmid = r.xlim - r.ylim;
        int fmin = fmid, fmax = fmid, bmin = bmid, bmax = bmid;
        const bool odd = ((fmid - bmid) & 1) != 0;
        F(fmid) = r.xoff;
        B(bmid) = r.xlim;
        for (int c = 1;; ++c) {
            if (fmin > dmin)
                F(--fmin - 1) = -1;
            else
                ++fmin;
            if (fmax < dmax)
                F(++fmax + 1) = -1;
            else
                --fmax;
            for (int d = fmax; d >= fmin; d -= 2) {
                const int tlo = F(d - 1);
                const int thi = F(d + 1);
                int x = tlo >= thi ? tlo + 1 : thi;
                int y = x - d;
                while (x < r.xlim && y < r.ylim && a_[x] == b_[y]) {
                    ++x;
                    ++y;
                }
                F(d) = x;
                if (odd && bmin <= d && d <= bmax && B(d) <= x)
                    return {x, y};
            }
            if (bmin > dmin)
                B(--bmin - 1) = INT_MAX;
            else
                ++bmin;
            if (bmax < dmax)
                B(++bmax + 1) = INT_MAX;
            else
                --bmax;
            for (int d = bmax; d >= bmin; d -= 2) {
                const int tlo = B(d - 1);
                const int thi = B(d + 1);
                int x = tlo < thi ? tlo : thi - 1;
                int y = x - d;
                while (r.xoff < x && r.yoff < y && a_[x - 1] == b_[y - 1]) {
                    --x;
                    --y;
                }
                B(d) = x;
                if (!odd && fmin <= d && d <= fmax && x <= F(d))
                    return {x, y};
            }
            if (c >= tooExpensive_)
                return Furthest(r, fmin, fmax, bmin, bmax);
        }
    }

    // The point that got furthest, forwards or backwards, after too long a search.
    Split Furthest(const LineRange& r, int fmin, int fmax, int bmin, int bmax)
    {
        int fxybest = -1, fxbest = r.xoff;
        for (int d = fmax; d >= fmin; d -= 2) {
            int x = std::min(F(d), r.xlim);
            int y = x - d;
            if (r.ylim < y) {
                x = r.ylim + d;
                y = r.ylim;
            }
            if (fxybest < x + y) {
                fxybest = x + y;
                fxbest = x;
            }
        }
        int bxybest = INT_MAX, bxbest = r.xlim;
        for (int d = bmax; d >= bmin; d -= 2) {
            int x = std::max(r.xoff, B(d));
            int y = x - d;
            if (y < r.yoff) {
                x = r.yoff + d;
                y = r.yoff;
            }
            if (x + y < bxybest) {
                bxybest = x + y;
                bxbest = x;
            }
        }
        if ((r.xlim + r.ylim) - bxybest < fxybest - (r.xoff + r.yoff))
            return {fxbest, fxybest - fxbest};
        return {bxbest, bxybest - bxbest};
    }

    const std::int32_t* a_;
    const std::int32_t* b_;
    LineAlignment& out_;
    const int offset_;
    std::vector<int> fd_;
    std::vector<int> bd_;
    int tooExpensive_ = 4096;
};

}  // namespace

bool AlignMyers(const KeySequences& keys, const LineRange& range, LineAlignment& out, const std::stop_token& stop)
{
    MyersSearch search(keys, out, range);
    return search.Run(range, stop);
}

}  // namespace kl
