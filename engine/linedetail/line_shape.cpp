#include "engine/linedetail/line_shape.h"

#include "engine/linedetail/line_compare.h"
#include "engine/platform/cp932.h"

namespace kl {

bool LineShape::IsCandidateEnd(std::int32_t start, std::int32_t end) const
{
    return end - start >= kMinCandidateBytes && end <= endLimit && isBoundary[static_cast<std::size_t>(end)] != 0;
}

LineShape MakeLineShape(std::string_view text, TextEncoding encoding)
{
    LineShape shape;
    shape.text = text;
    const std::size_t n = text.size();
    shape.isBoundary.assign(n + 1, 0);
    shape.isStart.assign(n, 0);
    shape.endLimit = static_cast<std::int32_t>(CandidateEndLimit(text, encoding));

    bool inLineEnd = false;
    for (std::size_t pos = 0; pos < n; pos = NextCharIn(encoding, text, pos)) {
        shape.isBoundary[pos] = 1;
        if (text[pos] == '\r' || text[pos] == '\n')
            inLineEnd = true;
        if (!inLineEnd) {
            shape.isStart[pos] = 1;
            shape.starts.push_back(static_cast<std::int32_t>(pos));
        }
    }
    shape.isBoundary[n] = 1;

    // Candidates at start s end at every boundary from s + 4 up to endLimit; count them
    // with a running number of boundaries instead of listing them.
    std::vector<std::int32_t> boundariesBefore(n + 2, 0);  // boundaries in [0, k)
    for (std::size_t k = 0; k <= n; ++k)
        boundariesBefore[k + 1] = boundariesBefore[k] + shape.isBoundary[k];
    const std::int64_t lastEnd = shape.endLimit;
    for (std::int32_t s : shape.starts) {
        const std::int64_t firstEnd = static_cast<std::int64_t>(s) + kMinCandidateBytes;
        if (firstEnd <= lastEnd)
            shape.candidateCount += boundariesBefore[static_cast<std::size_t>(lastEnd) + 1] -
                                    boundariesBefore[static_cast<std::size_t>(firstEnd)];
    }
    return shape;
}

}  // namespace kl
