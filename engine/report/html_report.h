#pragma once
// A comparison written as one self-contained HTML page: a header with both files, the way
// they were compared and the totals; a table of contents of the differences; the rows side
// by side as the window shows them, all of them or only the differences with some context.
// The page needs no script and no other file, and prints on A4 with the column titles
// repeated on every page. Rows are written as they are read, so memory does not grow with
// the report.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/compare/compare_result.h"
#include "engine/compare/compare_options.h"
#include "engine/compare/line_matching.h"
#include "engine/display/shown_rows.h"
#include "engine/settings/settings_file.h"

namespace kl {

// How the rows look and which are shown.
struct ReportStyle {
    ColorTable colors = DefaultColorTable(Rgb(255, 255, 255));
    int fSameCol = 1;        // common rows stay on the window colour
    int fOtherCol = 1;       // filler rows are coloured
    int tabSize = 4;         // tab stops every tabSize cells
    std::string fontFace;    // UTF-8; tried before the Japanese monospace fonts
    int fontPixels = 13;     // character height
    bool newlineMarks = true;
    int context = -1;        // < 0: all rows; else only differences with this many rows around
};

struct ReportFile {
    std::string path;                             // UTF-8
    std::optional<std::uintmax_t> size;           // bytes, when known
    std::optional<std::int64_t> modifiedSeconds;  // since 1970 UTC, when known
};

// What the header tells besides the result itself.
struct ReportHeader {
    std::array<ReportFile, 2> files;
    CompareMode mode = COMPARE_NORMAL;
    CompareOptions options;
    std::int64_t createdSeconds = 0;  // when the report was made, since 1970 UTC
};

// Receives the page piece by piece; false stops the writer (a failed write).
using ReportSink = std::function<bool(std::string_view)>;

// Writes the report of the rows shown (as the result, changed lines paired or not); false
// when the sink refused a piece. Changed characters of paired rows are marked with the
// DocA-only and DocB-only colours, as the window marks them.
bool WriteHtmlReport(const ShownRows& shown, const ReportHeader& header, const ReportStyle& style,
                     const ReportSink& sink);

// The marker of left-out rows: "… 120行省略 …".
std::string LeftOutRowsText(int rows);

}  // namespace kl
