#pragma once
// The painters of the text views: free functions that draw a text as loaded, a column of
// the comparison result, the line-number cells and the selection highlight. They work in
// document coordinates: row k lies at the y the row geometry gives it (k x lineHeight
// without one), the number cell of a row at numberX and its text from numberColumnWidth + 3.
// Only rows that meet the area to paint are drawn. With a wrap width a row's text runs on
// as many lines as it needs.
#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <array>
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "engine/compare/compare_result.h"
#include "engine/display/changed_marks.h"
#include "engine/display/shown_rows.h"
#include "ui/display/row_geometry.h"
#include "ui/display/row_layout.h"
#include "engine/document/text.h"
#include "engine/settings/settings_file.h"

class QPainter;

namespace kl {

// The row kind of a text shown as loaded: no background colour.
inline constexpr int kUncoloredRow = -1;
inline const QColor kEofColor(10, 69, 37);
inline const QColor kEmptyResultColor(155, 191, 247);
inline constexpr int kTextGap = 3;  // pixels between the number column and the text

QColor ColorFromRef(ColorRef color);
// A pixel size from the settings file (FONTSIZE), as a positive number; fallback for 0 or a
// value beyond 1000, which only a damaged settings file holds.
int PixelsFromSetting(int value, int fallback);
ColorRef RefFromColor(const QColor& color);

// The background of a row of the given kind: common rows SAME (the window colour when
// fSameCol is 1), DocA-only DOC1, DocB-only DOC2, filler rows OTHER (the window colour
// when fOtherCol is 0); kUncoloredRow the window colour.
// Changed rows take CHANGED1 on DocA's side and CHANGED2 on DocB's.
QColor RowBackground(const ColorTable& colors, int fSameCol, int fOtherCol, int kind, int side = DOC_A);

// What the painters draw with. The view fills one in for each paint.
struct PaintContext {
    QPainter& painter;
    TextMeasure& measure;   // set to the painter's font
    QString& scratch;       // segment buffer, reused row after row
    const ColorTable& colors;
    int fSameCol = 1;
    int fOtherCol = 1;
    int lineHeight = 12;
    int tabPixels = 0;
    int markCellWidth = 12;  // the cell the newline mark is drawn in (the FONTSIZE size)
    const QPixmap* newlineMark = nullptr;
    // Set when line ends are shown by kind: the marks to draw instead of newlineMark.
    const std::array<QPixmap, 3>* lineEndMarks = nullptr;
    QRect area{};            // document rectangle to paint
    QColor textColor{};
    int numberColumnWidth = 0;  // set by PaintSource and PaintResult
    int side = DOC_A;           // the column painted, set by PaintResult
    bool fullWidthRows = false; // row backgrounds reach the area's right edge
    int numberDigits = 5;       // digits of the line-number column (NumberDigitsFor)
    // Document x of the number cells: the horizontal scroll position keeps them in place
    // while the text scrolls sideways under a clip that spares them.
    int numberX = 0;
    const RowGeometry* geometry = nullptr;  // null: every row one line
    int wrapWidth = 0;                      // the width rows wrap at; 0 none
    int rowHeight = 0;                      // set for the row being painted; 0 one line

    long long RowTop(int row) const { return geometry ? geometry->Top(row) : static_cast<long long>(row) * lineHeight; }
    int RowHeight(int row) const { return geometry ? geometry->Height(row) : lineHeight; }
    int RowAt(long long y) const;
};

// The digits the line-number column shows: five, or as many as the largest line number.
int NumberDigitsFor(int largestLineNumber);

// The marked runs of a changed row as far as they are known; null while they are not.
using RowMarksLookup = std::function<const RowMarks*(int row)>;

// A line-number cell: number -1 gives blanks, otherwise number + 1 (its last
// context.numberDigits digits), right-aligned, in LINETEXT on LINEBACK over the whole cell,
// outside the painter's clip.
// With height -1 nothing is drawn. Returns the width of the number column (one digit more
// than it shows, as "000000" for five).
int PaintNumberCell(PaintContext& context, int number, int x, int y, int width, int height);
// Cells numbered firstNumber, firstNumber + 1, ... one per lineHeight from y while they
// start above bottom, at least one.
void PaintNumberCells(PaintContext& context, int firstNumber, int x, int y, int bottom, int width);

// A segment of text at x + 3 on the background of kind, w pixels wide; with a tab width
// t > 0 the gap up to the tab stop is filled with the same background. Returns the
// advance: TabAdvance(w, t), or w for the last segment of a row (t = 0).
int PaintSegment(PaintContext& context, int x, int y, const QString& text, int w, int t, int kind);

struct LineEndPaint {
    int endX = 0;              // document x after the text
    int endY = 0;              // document y of the line the text ends on
    bool endedWithLineEnd = false;
};

// One line of a text as loaded, at row y: its number cell, its text in the window colour,
// the newline mark.
LineEndPaint PaintSourceLine(PaintContext& context, std::string_view text, int lineIndex, int y);
// A whole text as loaded, each line on its own row, then "[EOF]" and numbered cells down
// to the bottom of the area. Returns the number column width.
int PaintSource(PaintContext& context, const Text& table);

// One result row at y: number cell (blank for a filler row), segments on the row's colour,
// the newline mark.
void PaintResultRow(PaintContext& context, std::string_view text, const DisplayRow& row, int y);
// Column side of the result; an empty column shows the message that there is nothing to
// show and returns 0, otherwise returns the number column width. The changed characters of
// changed rows are drawn again on DOC1 (DocA) or DOC2 (DocB) when marks knows them.
int PaintResult(PaintContext& context, const ShownRows& shown, int side, const RowMarksLookup& marks = {});

// The runs of a row at y drawn again on colour.
void PaintMarkedRuns(PaintContext& context, std::string_view text, const std::vector<MarkedRun>& runs, int y,
                     const QColor& colour);

// Bytes [from, to) of a row at y drawn again on SELBACK; a line end inside the range shows
// as the glyph "↓".
void PaintSelectedText(PaintContext& context, std::string_view text, std::size_t from, std::size_t to, int y);

}  // namespace kl
