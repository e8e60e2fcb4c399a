#include "engine/linedetail/line_shape.h"

#include "engine/linedetail/line_compare.h"

namespace kl {

bool LineShape::IsCandidateEnd(std::int32_t start, std::int32_t end) const
{
    return end <= endLimit && isBoundary[static_cast<std::size_t>(end)] != 0 && Cells(start, end) >= kMinCandidateCells;
}

LineShape MakeLineShape(std::string_view text, TextEncoding encoding)
{
    LineShape shape;
    shape.text = text;
    const std::size_t n = text.size();
    shape.isBoundary.assign(n + 1, 0);
    shape.isStart.assign(n, 0);
    shape.cellsBefore.assign(n + 1, 0);
    shape.boundaryAtCells.reserve(n + 1);
    shape.endLimit = static_cast<std::int32_t>(CandidateEndLimit(text, encoding));

    bool inLineEnd = false;
    std::int32_t cells = 0;
    for (std::size_t pos = 0; pos < n;) {
        const std::size_t next = NextCharIn(encoding, text, pos);
        shape.isBoundary[pos] = 1;
        shape.boundaryAtCells.push_back(static_cast<std::int32_t>(pos));
        if (text[pos] == '\r' || text[pos] == '\n')
            inLineEnd = true;
        if (!inLineEnd) {
            shape.isStart[pos] = 1;
            shape.starts.push_back(static_cast<std::int32_t>(pos));
        }
        const int width = CharCellsIn(encoding, text, pos, next);
        if (width == 2)
            shape.boundaryAtCells.push_back(-1);
        for (std::size_t k = pos; k < next; ++k)
            shape.cellsBefore[k] = cells;
        cells += width;
        pos = next;
    }
    shape.isBoundary[n] = 1;
    shape.cellsBefore[n] = cells;
    shape.boundaryAtCells.push_back(static_cast<std::int32_t>(n));

    // Candidates at start s end at every boundary from the first one 4 cells on up to
    // endLimit; count them with a cursor over the boundaries instead of listing them.
    std::int64_t boundariesUpToLimit = 0;  // boundaries in [0, endLimit]
    for (std::int32_t b : shape.boundaryAtCells)
        boundariesUpToLimit += b >= 0 && b <= shape.endLimit ? 1 : 0;
    std::size_t firstEnd = 0;          // index into boundaryAtCells
    std::int64_t boundariesBefore = 0;  // boundaries listed before firstEnd
    for (std::int32_t s : shape.starts) {
        const std::size_t wanted = static_cast<std::size_t>(shape.cellsBefore[static_cast<std::size_t>(s)]) + kMinCandidateCells;
        while (firstEnd < shape.boundaryAtCells.size() && firstEnd < wanted) {
            boundariesBefore += shape.boundaryAtCells[firstEnd] >= 0 ? 1 : 0;
            ++firstEnd;
        }
        if (boundariesUpToLimit > boundariesBefore)
            shape.candidateCount += boundariesUpToLimit - boundariesBefore;
    }
    return shape;
}

}  // namespace kl
