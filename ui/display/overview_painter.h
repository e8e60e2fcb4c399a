#pragma once
// The picture of the overview bar, apart from the widget that shows it: the bar's
// rectangle, the coloured bands of its two strips (DocA left, DocB right), the thumb's size
// and place, and the painting of all of it.
//
// Layout across the bar, w = bar width, third = w / 3: the left strip, a separator line, the
// thumb's lane, a separator line, the right strip. Bars 12 pixels wide or less have no
// separators.
#include <QColor>
#include <QRect>
#include <QSize>
#include <array>
#include <vector>

#include "engine/display/shown_rows.h"
#include "engine/document/text_document.h"
#include "engine/settings/settings_file.h"
#include "engine/settings/view_settings.h"

class QPainter;

namespace kl {

// Scalings of the strips, the frame's detailMode.
inline constexpr int OVERVIEW_ROWS = 0;    // D1: one step per result row, both strips level
inline constexpr int OVERVIEW_BLOCKS = 1;  // D2: blocks, each strip scaled to its own text

// The bar inside the client area, 2 pixels from each edge. Edges as the painting uses them:
// right and bottom are one past the last pixel.
struct OverviewBar {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};
OverviewBar OverviewBarIn(QSize client);

// A band starts at y (client pixels) and runs to the next band's start; the last band of a
// strip only closes the one before it. kind is a row kind (D1) or a block kind (D2).
struct OverviewBand {
    int y = 0;
    int kind = 0;
};

struct OverviewStrips {
    std::vector<OverviewBand> a;  // left strip, DocA
    std::vector<OverviewBand> b;  // right strip, DocB
    int rowCount = 0;      // the larger side's row (D1) or line (D2) count; 0 when nothing is mapped
    int thumbHeight = 0;   // 0 when nothing is mapped
};

// The strips of doc's result in bar. rowHeightSetting is the font's height setting (its
// absolute value is the text row height; 0 counts as 10). Nothing is mapped unless both
// texts have lines and, with OVERVIEW_ROWS, the result has rows. With OVERVIEW_ROWS the
// rows are shown's (the result's rows as the views show them) when given, else the
// result's own.
OverviewStrips BuildOverviewStrips(const TextDocument& doc, int detailMode, int rowHeightSetting,
                                   const OverviewBar& bar, const ShownRows* shown = nullptr);

// The thumb's height for a bar of barHeight pixels showing rowCount rows of rowHeight
// pixels: the share of the whole the views show, at least 5 pixels; a thumb that would fill
// the bar or nearly so is made the bar's height or a little less.
int OverviewThumbHeight(int barHeight, int rowCount, int rowHeight);

// The thumb's top for position p of range r (p < r), e.g. a scroll position or a row.
int OverviewThumbTop(long long p, long long r, int barHeight, int thumbHeight);

// Where the thumb is drawn: near the top it snaps to the bar's top, and it stays inside
// the bar at the bottom.
QRect OverviewThumbRect(const OverviewBar& bar, int thumbTop, int thumbHeight);

// Colours of the bar. kinds[k] fills bands of kind k (row kinds 0..3, block kinds 0..2).
struct OverviewColors {
    std::array<QColor, 4> kinds;
    std::array<QColor, 2> changed;  // changed rows of the paired display: left strip, right strip
    QColor window;  // the bar's background, and bands of an unknown kind
    QColor frame = QColor(0, 0, 0);
    QColor thumb = QColor(179, 179, 179);
    QColor thumbEdge = QColor(147, 144, 144);
    QColor thumbCore = QColor(115, 112, 112);
};
// Common rows are uncoloured when fSameCol is 1, filler rows when fOtherCol is 0, as in the
// text views.
OverviewColors OverviewColorsFrom(const ColorTable& colors, const DocSettings& settings);

// Paints the framed bar, the separators, both strips and the thumb.
void PaintOverview(QPainter& painter, const OverviewBar& bar, const OverviewStrips& strips, int thumbTop,
                   const OverviewColors& colors);

}  // namespace kl
