#pragma once
// Where the text views stand after a display-mode switch: the line that was at the top
// stays at the top.
#include "engine/document/text_document.h"

namespace kl {

// The first row to show in toMode after topRow was the first row shown in fromMode, for the
// column of side (DOC_A or DOC_B):
// - source to result: the result row of the side's line topRow, or of the next line that
//   has a row (the last row when none has);
// - result to source: the side's line in row topRow, or when that is a filler row the line
//   of the next row that has one (the last line when none follows);
// - the same mode: topRow.
// The answer is a valid row of toMode, or 0 when that mode has no rows.
int TopRowAfterModeSwitch(const TextDocument& doc, int side, int fromMode, int toMode, int topRow);

}  // namespace kl
