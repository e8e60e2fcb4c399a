#pragma once
// The rows a report shows, read one at a time from the rows the window shows: per side the
// line number, the bytes, how to read them, the colour class of the cell and, in a changed
// row of the paired display, the changed characters.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/display/changed_marks.h"
#include "engine/display/shown_rows.h"

namespace kl {

// The colour a cell is shown on.
enum class CellShade : std::uint8_t {
    Same,     // a line with its partner beside it (or elsewhere, for a moved line)
    OnlyA,    // a line only in DocA
    OnlyB,    // a line only in DocB
    Filler,   // no line: a message
    Changed,  // a changed line of the paired display, beside the line that replaced it
};

struct ReportCell {
    int lineIndex = kNoLine;  // 0-based line in the side's text, kNoLine for a filler
    CellShade shade = CellShade::Filler;
    std::string_view text;    // the line with its line end, or the message
    TextEncoding encoding = TextEncoding::Cp932;
    std::vector<MarkedRun> marks;  // changed characters, in order, not overlapping
};

struct ReportRow {
    std::array<ReportCell, 2> cells;
};

class ReportRows {
public:
    explicit ReportRows(const ShownRows& shown) : shown_(shown) {}

    int Count() const { return shown_.RowCount(); }
    // Part of a difference (not a common row).
    bool IsDifference(int r) const { return shown_.BlockOf(r) >= 0; }
    // Row r, with the changed characters of a paired row when marks is set; the texts stay
    // valid until the next call.
    void Read(int r, ReportRow& row, bool marks = true);

private:
    const ShownRows& shown_;
    std::array<std::string, 2> scratch_;
};

}  // namespace kl
