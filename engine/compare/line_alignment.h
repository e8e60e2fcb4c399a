#pragma once
// A monotone pairing of the lines of two texts: which DocA line stands beside which DocB
// line as a common row. Lines without a partner are the changed lines.
#include <cstdint>
#include <span>
#include <vector>

#include "engine/document/text.h"

namespace kl {

struct LineAlignment {
    std::vector<std::int32_t> partnerA;  // per DocA line: its DocB line, kNoLine when changed
    std::vector<std::int32_t> partnerB;  // per DocB line: its DocA line, kNoLine when changed

    LineAlignment() = default;
    LineAlignment(int countA, int countB)
        : partnerA(static_cast<std::size_t>(countA), kNoLine), partnerB(static_cast<std::size_t>(countB), kNoLine)
    {
    }
    void Link(int a, int b)
    {
        partnerA[static_cast<std::size_t>(a)] = b;
        partnerB[static_cast<std::size_t>(b)] = a;
    }
    // Lines of both texts without a partner.
    std::int64_t ChangedLines() const
    {
        std::int64_t changed = 0;
        for (std::int32_t p : partnerA) changed += p == kNoLine;
        for (std::int32_t p : partnerB) changed += p == kNoLine;
        return changed;
    }
};

// The lines of both texts as numbers: equal numbers are equal lines.
struct KeySequences {
    std::span<const std::int32_t> a;
    std::span<const std::int32_t> b;
};

// A stretch of both texts: DocA lines [xoff, xlim) against DocB lines [yoff, ylim).
struct LineRange {
    int xoff = 0;
    int xlim = 0;
    int yoff = 0;
    int ylim = 0;
};

// Links the equal lines at both ends of r and narrows r to what lies between them; true when
// both texts still have lines left in r.
inline bool LinkEqualEnds(LineRange& r, const std::int32_t* a, const std::int32_t* b, LineAlignment& out)
{
    while (r.xoff < r.xlim && r.yoff < r.ylim && a[r.xoff] == b[r.yoff])
        out.Link(r.xoff++, r.yoff++);
    while (r.xoff < r.xlim && r.yoff < r.ylim && a[r.xlim - 1] == b[r.ylim - 1])
        out.Link(--r.xlim, --r.ylim);
    return r.xoff < r.xlim && r.yoff < r.ylim;
}

}  // namespace kl
