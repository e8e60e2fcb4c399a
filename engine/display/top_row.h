#pragma once
// Where the text views stand after the rows they show change shape (a display-mode switch,
// changed lines paired or not): the line that was at the top stays at the top.
#include "engine/display/shown_rows.h"

namespace kl {

// The first row of to to show after topRow was the first row shown of from, for the column
// of side (DOC_A or DOC_B):
// - the same display options: topRow;
// - otherwise the row of to that shows the line from showed on topRow, or when that is a
//   filler row the line of the next row that has one; when to does not show that line, the
//   next line it does show; the last row when none is left.
// The answer is a valid row of to's column, or 0 when it has no rows.
int TopRowAfterSwitch(const ShownRows& from, const ShownRows& to, int side, int topRow);

}  // namespace kl
