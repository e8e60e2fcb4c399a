#include "engine/compare/histogram_diff.h"

#include <algorithm>
#include <vector>

#include "engine/compare/myers_diff.h"

namespace kl {
namespace {

// Lines occurring more often than this in a range are no anchors.
constexpr int kMaxOccurrences = 64;

struct Anchor {
    int x = 0;
    int y = 0;
    int length = 0;
    int occurrences = kMaxOccurrences + 1;
};

class HistogramSearch {
public:
    HistogramSearch(const KeySequences& keys, int keyCount, LineAlignment& out)
        : keys_(keys), a_(keys.a.data()), b_(keys.b.data()), out_(out),
          count_(static_cast<std::size_t>(keyCount), 0), head_(static_cast<std::size_t>(keyCount), -1),
          next_(keys.a.size(), -1)
    {
    }

    bool Run(const std::stop_token& stop)
    {
        std::vector<LineRange> pending{{0, static_cast<int>(keys_.a.size()), 0, static_cast<int>(keys_.b.size())}};
        while (!pending.empty()) {
            if (stop.stop_requested())
                return false;
            LineRange r = pending.back();
            pending.pop_back();
            if (!LinkEqualEnds(r, a_, b_, out_))
                continue;
            const Anchor anchor = FindAnchor(r);
            if (anchor.length == 0) {
                if (!AlignMyers(keys_, r, out_, stop))
                    return false;
                continue;
            }
            ++anchors_;
            for (int k = 0; k < anchor.length; ++k)
                out_.Link(anchor.x + k, anchor.y + k);
            pending.push_back({anchor.x + anchor.length, r.xlim, anchor.y + anchor.length, r.ylim});
            pending.push_back({r.xoff, anchor.x, r.yoff, anchor.y});
        }
        return true;
    }

private:
    // The run through the rarest common line, longest among equally rare ones.
    Anchor FindAnchor(const LineRange& r)
    {
        // Chains of DocA positions by key, in ascending order.
        for (int x = r.xlim - 1; x >= r.xoff; --x) {
            const auto k = static_cast<std::size_t>(a_[x]);
            next_[static_cast<std::size_t>(x)] = head_[k];
            head_[k] = x;
            ++count_[k];
        }
        Anchor best;
        for (int y = r.yoff; y < r.ylim;) {
            const auto k = static_cast<std::size_t>(b_[y]);
            int nextY = y + 1;
            if (count_[k] == 0 || count_[k] > best.occurrences) {
                y = nextY;
                continue;
            }
            for (int x = head_[k]; x != -1; x = next_[static_cast<std::size_t>(x)]) {
                int xs = x, ys = y;
                while (xs > r.xoff && ys > r.yoff && a_[xs - 1] == b_[ys - 1]) {
                    --xs;
                    --ys;
                }
                int xe = x + 1, ye = y + 1;
                int rarest = count_[k];
                while (xe < r.xlim && ye < r.ylim && a_[xe] == b_[ye]) {
                    rarest = std::min(rarest, count_[static_cast<std::size_t>(a_[xe])]);
                    ++xe;
                    ++ye;
                }
                const int length = xe - xs;
                if (rarest < best.occurrences || (rarest == best.occurrences && length > best.length)) {
                    best = {xs, ys, length, rarest};
                }
                if (ye > nextY)
                    nextY = ye;
            }
            y = nextY;
        }
        for (int x = r.xoff; x < r.xlim; ++x) {
            const auto k = static_cast<std::size_t>(a_[x]);
            head_[k] = -1;
            count_[k] = 0;
        }
        return best;
    }

public:
    int anchors_ = 0;

private:
    const KeySequences& keys_;
    const std::int32_t* a_;
    const std::int32_t* b_;
    LineAlignment& out_;
    std::vector<int> count_;  // per key: DocA lines in the current range
    std::vector<int> head_;   // per key: the first such line
    std::vector<int> next_;   // per DocA line: the next line with its key
};

}  // namespace

bool AlignHistogram(const KeySequences& keys, int keyCount, LineAlignment& out, const std::stop_token& stop,
                    int* anchors)
{
    HistogramSearch search(keys, keyCount, out);
    const bool done = search.Run(stop);
    if (anchors) *anchors = search.anchors_;
    return done;
}

}  // namespace kl
