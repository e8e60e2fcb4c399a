#pragma once
// One comparison run over a document: reset and match both line tables, count the line
// ends, report the line totals and build the result rows. This is the body of the
// comparison worker; it never touches a window and talks to its caller only through
// the callbacks below.
#include <functional>
#include <string>

#include "engine/compare/compare_options.h"
#include "engine/compare/line_matching.h"
#include "engine/compare/row_builder.h"
#include "engine/compare/run_control.h"
#include "engine/document/text_document.h"

namespace kl {

// Everything a run depends on, copied when it starts so that later changes of the
// process-wide settings cannot reach a running comparison.
struct CompareRunSettings {
    CompareOptions options;
    int mode = COMPARE_NORMAL;
    RowMessages messages;
};

struct CompareRunCallbacks {
    ProgressCallback progress;  // 0..100, never decreasing within a run
    // The line-total text of text k (DOC_A, then DOC_B), code page 932 bytes.
    std::function<void(int k, const std::string& text)> totals;
    // The rows are ready to be shown. Called on the worker; the caller waits for the
    // views to take the result before returning.
    std::function<void()> completed;
};

inline constexpr int kRunCompleted = 0;
inline constexpr int kRunEnded = -1;  // aborted, or nothing to compare

// "総行数 = %d (LF:%d CRLF:%d) %s" in code page 932.
std::string FormatLineTotals(int lines, int lfCount, int crlfCount, const std::string& fileInfo);

// Runs one comparison on doc. Clears g_compareRunning when it ends; on an abort request
// clears g_abortRequested and empties the block lists. An abort during reset or matching
// leaves the previous rows and sends no completion; one during counting or row building
// still completes with the rows built so far. Returns kRunCompleted or kRunEnded.
int RunCompare(TextDocument& doc, CompareRunSettings settings, const CompareRunCallbacks& callbacks);

}  // namespace kl
