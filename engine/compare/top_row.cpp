#include "engine/compare/top_row.h"

#include <algorithm>

#include "engine/compare/display_mode.h"
#include "engine/document/document_ops.h"

namespace kl {

namespace {

int RowCount(const TextDocument& doc, int side, int mode)
{
    if (mode == DISPLAY_RESULT)
        return static_cast<int>(doc.result->Rows(side).size());
    return LineCount(doc, side);
}

}  // namespace

int TopRowAfterModeSwitch(const TextDocument& doc, int side, int fromMode, int toMode, int topRow)
{
    const int count = RowCount(doc, side, toMode);
    if (count == 0)
        return 0;
    const int lastRow = count - 1;
    topRow = std::max(topRow, 0);
    if (fromMode == toMode)
        return std::min(topRow, lastRow);

    const std::vector<DisplayRow>& rows = doc.result->Rows(side);
    if (toMode == DISPLAY_RESULT) {
        // A column holds its text's lines in order with filler rows between them, so line n
        // is never above row n.
        for (int row = std::min(topRow, lastRow); row < count; ++row) {
            if (rows[static_cast<std::size_t>(row)].lineIndex >= topRow)
                return row;
        }
        return lastRow;
    }
    for (int row = topRow; row < static_cast<int>(rows.size()); ++row) {
        const int line = rows[static_cast<std::size_t>(row)].lineIndex;
        if (line >= 0)
            return std::min(line, lastRow);
    }
    return lastRow;
}

}  // namespace kl
