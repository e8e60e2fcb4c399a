#pragma once
// Copying differences from one side to the other: the lines one side shows on a run of rows
// take the place of the lines the other side shows there. Where the other side has only
// filler rows the lines go in after its line above them. Moved lines are copied as the
// lines they are.
#include <optional>

#include "engine/display/shown_rows.h"
#include "engine/edit/typing.h"

namespace kl {

// The edit of the side opposite from that copies rows [firstRow, lastRow]; nothing when
// both sides are already the same there or a text is missing.
std::optional<PreparedEdit> CopyRowsEdit(const ShownRows& shown, int from, int firstRow, int lastRow);
// The same for one difference block.
std::optional<PreparedEdit> CopyBlockEdit(const ShownRows& shown, int from, int block);
// Every difference block at once, as one edit (one undo step).
std::optional<PreparedEdit> CopyAllEdit(const ShownRows& shown, int from);

// The last row of block.
int BlockLastRow(const ShownRows& shown, int block);

}  // namespace kl
