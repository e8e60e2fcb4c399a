#include "engine/compare/line_kind_counts.h"

#include <algorithm>

namespace kl {

LineKindCounts CountLineKinds(const CompareResult& result)
{
    LineKindCounts counts;
    const std::vector<DisplayRow>& rowsA = result.Rows(DOC_A);
    const std::vector<DisplayRow>& rowsB = result.Rows(DOC_B);
    // A line outside a common row that still belongs to a common block has its partner
    // elsewhere: a moved line.
    const auto hasPartner = [&](int side, const DisplayRow& row) {
        const std::vector<std::int32_t>& blockSize = result.sides[static_cast<std::size_t>(side)].blockSize;
        const auto line = static_cast<std::size_t>(row.lineIndex);
        return line < blockSize.size() && blockSize[line] > 0;
    };
    for (std::size_t r = 0; r < std::min(rowsA.size(), rowsB.size()); ++r) {
        const DisplayRow& a = rowsA[r];
        const DisplayRow& b = rowsB[r];
        if (a.message == RowMessage::LeftOut || b.message == RowMessage::LeftOut) {
            counts.leftOut += (a.lineIndex != kNoLine) + (b.lineIndex != kNoLine);
            continue;
        }
        if (a.kind == ROW_COMMON && b.kind == ROW_COMMON) {
            ++counts.common;
            continue;
        }
        if (a.lineIndex != kNoLine)
            ++(hasPartner(DOC_A, a) ? counts.movedA : counts.onlyA);
        if (b.lineIndex != kNoLine)
            ++(hasPartner(DOC_B, b) ? counts.movedB : counts.onlyB);
    }
    return counts;
}

bool HasDifference(const LineKindCounts& counts)
{
    return counts.onlyA + counts.onlyB + counts.movedA + counts.movedB > 0;
}

}  // namespace kl
