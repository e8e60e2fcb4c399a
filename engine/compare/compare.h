#pragma once
// One comparison: match both texts, count their line ends and build the rows and blocks.
// A run reads only its arguments and returns a value; it never touches a window, and it
// shares nothing with other runs but the immutable texts.
#include <stop_token>
#include <string>

#include "engine/compare/compare_options.h"
#include "engine/compare/compare_result.h"
#include "engine/compare/line_matching.h"
#include "engine/compare/progress.h"

namespace kl {

// What a run depends on besides the texts, captured when it starts.
struct CompareRequest {
    CompareOptions options;
    CompareMode mode = COMPARE_NORMAL;
    RowMessages messages;
};

// Compares texts[DOC_A] with texts[DOC_B]. Progress goes from 0 to 100 and never moves
// back. A stop request before the rows ends the run with RunOutcome::StoppedInMatching (no
// rows); one while counting or building rows ends it with RunOutcome::StoppedInRows: the
// rows built so far and no blocks. Without both texts the outcome is NoTexts.
CompareResult Compare(const TextPair& texts, const CompareRequest& request, std::stop_token stop = {},
                      const ProgressCallback& progress = {});

// "総行数 = %d (LF:%d CRLF:%d) %s" in code page 932.
std::string FormatLineTotals(int lines, int lfCount, int crlfCount, const std::string& fileInfo);
// The line-total text of one side of a result.
std::string LineTotalsText(const CompareResult& result, int side, const std::string& fileInfo);

}  // namespace kl
