#pragma once
// The frame the text views draw around the current difference.
#include <QRect>

#include "ui/display/painters.h"

namespace kl {

// A frame around rows [firstRow, lastRow] over the text part of visible (the view's whole
// client area in document coordinates, so that a partial repaint draws the same frame).
void PaintRowsOutline(PaintContext& context, int firstRow, int lastRow, const QRect& visible);

}  // namespace kl
