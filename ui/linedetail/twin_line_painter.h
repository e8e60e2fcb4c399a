#pragma once
// Painting of the twin-line window: the picked line in the upper row, its partner in the
// lower row, each as its runs on the colour of their kind, and two link lines from each
// common run of the lower row up to the run of the upper row it was paired with. Free
// functions, so the window and the tests share them.
#include <QColor>
#include <QLine>
#include <QString>
#include <string_view>
#include <vector>

#include "engine/linedetail/line_compare.h"
#include "ui/display/row_layout.h"

class QPainter;
class QPixmap;

namespace kl {

struct TwinPaintContext {
    QPainter& painter;
    TextMeasure& measure;       // set to the painter's font
    QColor upperDifference;     // DOC1: difference runs of the upper row
    QColor lowerDifference;     // DOC2: difference runs of the lower row
    QColor common;              // SAME: common runs of both rows
    QColor text{Qt::black};
    int tabPixels = 1;          // the tab pitch; at least 1
    int textHeight = 12;        // height of a text cell
    int fontSize = 12;          // FONTSIZE size: the width of a double-byte character
    int fontHeight = 12;        // FONTSIZE height, as a positive number
    const QPixmap* newlineMark = nullptr;
    TextEncoding upperEncoding = TextEncoding::Cp932;  // how each row's line is read
    TextEncoding lowerEncoding = TextEncoding::Cp932;
};

// Draws text (read in the measure's encoding) at (x0, y) on background and returns the x
// after it. Text before the first
// tab starts 3 pixels in when the run has a tab; a tab advances by whole pitches from
// where the text before it started, at least one, and at least two after some text. Line
// ends show the newline mark.
int DrawRun(TwinPaintContext& context, int x0, int y, std::string_view text, const QColor& background);
// The width DrawRun gives text (read in the measure's encoding) drawn from x 0; fontSize is
// the width of a newline mark's cell.
int RunWidth(TextMeasure& measure, int tabPixels, int fontSize, std::string_view text);

// Both rows of a finished comparison, scrolled left by scrollX; the lower row starts at
// secondRowTop. Nothing is drawn when the upper row has no runs. Returns the link lines
// drawn.
std::vector<QLine> PaintTwinRows(TwinPaintContext& context, const LinePairResult& result, std::string_view line1,
                                 std::string_view line2, int scrollX, int secondRowTop);

}  // namespace kl
