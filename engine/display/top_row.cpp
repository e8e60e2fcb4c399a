#include "engine/display/top_row.h"

#include <algorithm>

namespace kl {

int TopRowAfterSwitch(const ShownRows& from, const ShownRows& to, int side, int topRow)
{
    const int count = to.ColumnRowCount(side);
    if (count == 0)
        return 0;
    const int lastRow = count - 1;
    topRow = std::max(topRow, 0);
    if (from.options() == to.options())
        return std::min(topRow, lastRow);

    int line = kNoLine;
    for (int row = topRow; row < from.ColumnRowCount(side) && line == kNoLine; ++row)
        line = from.LineAt(side, row);
    if (line == kNoLine)
        return lastRow;
    // A column holds its text's lines in order with filler rows between them, so line n is
    // never above row n.
    for (int row = std::min(line, lastRow); row < count; ++row) {
        if (to.LineAt(side, row) >= line)
            return row;
    }
    return lastRow;
}

}  // namespace kl
