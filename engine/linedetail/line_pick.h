#pragma once
// Which two lines a right-click on a row of a text view compares, and what the last
// comparison found for one line. The answers hold the texts they refer to, so a window
// can keep them while the user loads other files.
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "engine/compare/compare_result.h"
#include "engine/display/shown_rows.h"
#include "engine/document/text_document.h"

namespace kl {

// One line of a loaded text, kept alive with its text. index kNoLine: no line.
struct LineRef {
    std::shared_ptr<const Text> text;
    int index = kNoLine;

    bool valid() const { return text && index >= 0 && index < text->count(); }
    // The line's bytes with its line end; empty when there is no line.
    std::string_view bytes() const { return valid() ? text->text(index) : std::string_view(); }
    TextEncoding encoding() const { return text ? text->encoding : TextEncoding::Cp932; }
};

// The clicked line (line1, of the clicked side) and its partner of the other side (line2).
struct LinePick {
    LineRef line1;
    LineRef line2;
};

// The pair a click on row (0-based, counted from the top of the document) of side's view
// picks. Shown as loaded (DISPLAY_SOURCE): the lines with that number on both sides. Shown
// as the result: in each column the row's line, or for a filler row the next row below it
// that has one. Nothing when the row lies past the lines of either side.
std::optional<LinePick> PickLinePair(const ShownRows& shown, int side, int row);

// What the last comparison found for a line: the size of its common block (0 for none)
// and its confirmed partner lines of the other text, at most four, primary first.
struct LineMatchInfo {
    int blockSize = 0;
    std::vector<int> partners;
};
LineMatchInfo MatchInfoOf(const CompareResult& result, int side, int line);

// A moved-line message in row of column side names the line of that column's text where
// the moved line stands: that line and the row that shows it. Nothing when the row holds
// no such message or no row shows the line.
struct RowOfLine {
    int line = kNoLine;
    int row = -1;
};
std::optional<RowOfLine> MovedLinePartner(std::span<const DisplayRow> column, int row);

}  // namespace kl
