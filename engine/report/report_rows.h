#pragma once
// The rows a report shows, read one at a time: per side the line number, the bytes, how to
// read them and the colour class of the cell. Everything the report knows about rows comes
// through here.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/compare/compare_result.h"

namespace kl {

// The colour a cell is shown on.
enum class CellShade : std::uint8_t {
    Same,    // a line with its partner beside it (or elsewhere, for a moved line)
    OnlyA,   // a line only in DocA
    OnlyB,   // a line only in DocB
    Filler,  // no line: a message
};

// A run of bytes of a cell's text shown in the mark colour.
struct MarkedRun {
    std::size_t from = 0;
    std::size_t to = 0;
};

struct ReportCell {
    int lineIndex = kNoLine;  // 0-based line in the side's text, kNoLine for a filler
    CellShade shade = CellShade::Filler;
    std::string_view text;    // the line with its line end, or the message
    TextEncoding encoding = TextEncoding::Cp932;
    std::vector<MarkedRun> marks;  // in order, not overlapping
};

struct ReportRow {
    std::array<ReportCell, 2> cells;
    bool difference = false;  // part of a difference (not a common row)
};

class ReportRows {
public:
    explicit ReportRows(const CompareResult& result);

    int Count() const { return count_; }
    bool IsDifference(int r) const;
    // Row r; the texts stay valid until the next call.
    void Read(int r, ReportRow& row);

private:
    const CompareResult& result_;
    int count_ = 0;
    std::array<std::string, 2> scratch_;
};

}  // namespace kl
