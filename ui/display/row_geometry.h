#pragma once
// Where the rows of the two text views stand vertically. Without wrapping every row is one
// line high. With wrapping each side knows how many lines each of its rows takes at its
// pane's width, and a row is as tall as its taller side, so that row k of the left column
// always stands beside row k of the right one. Painting, hit-testing, the caret, scrolling
// and navigation all place rows through this one table.
//
// The table is built once per change of the rows, the width or the font (in time linear in
// the rows; typing that moves no line changes only the heights of its rows), and answers
// each question in constant or logarithmic time.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/display/shown_rows.h"
#include "engine/edit/text_edit.h"
#include "ui/display/row_layout.h"

namespace kl {

class RowGeometry {
public:
    void SetLineHeight(int lineHeight) { lineHeight_ = lineHeight > 0 ? lineHeight : 1; }
    int lineHeight() const { return lineHeight_; }

    // The lines each row of side's column takes wrapped at wrapWidth; empty counts (and a
    // width of 0) for a side that does not wrap.
    void SetSide(int side, std::vector<std::int32_t> counts, int wrapWidth);
    int WrapWidth(int side) const { return wrapWidth_[Index(side)]; }
    const std::vector<std::int32_t>& SideCounts(int side) const { return counts_[Index(side)]; }
    bool wraps() const { return !firstLine_.empty(); }
    // Row of side's column takes lines now; the rows below it move with its height.
    void SetRowLines(int side, int row, std::int32_t lines);

    // Pixels from the top of the first row to the top of row; rows past the table are one
    // line each.
    long long Top(int row) const { return FirstLine(row) * lineHeight_; }
    // Lines of row: the larger of both sides'.
    int Lines(int row) const { return static_cast<int>(FirstLine(row + 1) - FirstLine(row)); }
    int Height(int row) const { return Lines(row) * lineHeight_; }
    // Lines side's own text takes on row (at least one).
    int SideLines(int side, int row) const;
    // The row whose lines hold y (pixels from the top of the first row); 0 above it.
    int RowAt(long long y) const;

private:
    static std::size_t Index(int side) { return side == DOC_B ? 1 : 0; }
    long long FirstLine(int row) const;
    void Combine();

    int lineHeight_ = 1;
    std::array<std::vector<std::int32_t>, 2> counts_;
    std::array<int, 2> wrapWidth_{};
    std::vector<std::int64_t> firstLine_;  // rows + 1 entries while a side wraps
};

// The lines each row of side's column takes wrapped at wrapWidth, measured with measure (set
// to the side's font) and the tab cell; filler messages are measured in code page 932.
std::vector<std::int32_t> WrappedLineCounts(TextMeasure& measure, int tabPixels, int wrapWidth,
                                            const ShownRows& shown, int side);

// The same after a change of the rows (an edit, a new comparison) with the same width, font
// and tab cell: the rows at the start and at the end that show the same bytes as in before
// keep their counts from beforeCounts, and only the rows between them are measured.
struct RowLines {
    int row = 0;
    std::int32_t lines = 0;
};
// After an edit that moved no line, over before's own rows: the lines of each row whose
// text the edit changed (none when side's text is before's); nullopt when the rows or the
// text changed otherwise.
std::optional<std::vector<RowLines>> RowLinesAfterTyping(TextMeasure& measure, int tabPixels, int wrapWidth,
                                                        const ShownRows& shown, int side, const ShownRows& before,
                                                        std::optional<LineChange> edit);

// edit, when known, is the change that made shown's text of side from before's: when the
// rows are before's own (an edit that moved no line) only the rows of its lines are measured.
std::vector<std::int32_t> WrappedLineCountsAfter(TextMeasure& measure, int tabPixels, int wrapWidth,
                                                 const ShownRows& shown, int side, const ShownRows& before,
                                                 const std::vector<std::int32_t>& beforeCounts,
                                                 std::optional<LineChange> edit = std::nullopt);

}  // namespace kl
