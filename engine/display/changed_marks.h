#pragma once
// The changed characters of a changed row: the difference runs the character comparison of
// the line windows finds between its two lines (with the same cells and encodings), as byte
// ranges of each line, line ends left out.
#include <array>
#include <cstdint>
#include <stop_token>
#include <string_view>
#include <vector>

#include "engine/display/shown_rows.h"
#include "engine/platform/text_encoding.h"

namespace kl {

// Bytes [start, end) of a line.
struct MarkedRun {
    std::int32_t start = 0;
    std::int32_t end = 0;
    bool operator==(const MarkedRun&) const = default;
};

struct RowMarks {
    std::array<std::vector<MarkedRun>, 2> runs;  // DocA's line, DocB's line; ascending
    bool aborted = false;                        // a stop came first: no runs
};

// Two lines of one encoding are compared in it; lines of two encodings byte by byte as code
// page 932.
TextEncoding PairEncoding(TextEncoding first, TextEncoding second);

// The runs of two lines (with their line ends).
RowMarks MarkChangedLines(std::string_view lineA, TextEncoding encodingA, std::string_view lineB,
                          TextEncoding encodingB, const std::stop_token& stop = {});

// The runs of row of shown; none for a row that is not a changed row.
RowMarks MarkShownRow(const ShownRows& shown, int row, const std::stop_token& stop = {});

}  // namespace kl
