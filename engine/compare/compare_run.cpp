#include "engine/compare/compare_run.h"

#include <algorithm>
#include <array>

namespace kl {

namespace {

struct LineEndCounts {
    int lf = 0;    // one-byte line ends (LF or a lone CR)
    int crlf = 0;  // CR LF
};

// Counts the line ends of a table, stopping early when an abort is requested.
LineEndCounts CountLineEnds(const LineTable& table)
{
    LineEndCounts counts;
    for (const LineRecord& line : table.lines) {
        if (line.newlineKind == 1)
            ++counts.lf;
        else if (line.newlineKind == 2)
            ++counts.crlf;
        if (AbortPending())
            break;
    }
    return counts;
}

// Ends a run that was stopped before any row was rebuilt.
int EndAborted(TextDocument& doc, bool emptyBlocks)
{
    if (emptyBlocks) {
        doc.blocksA.clear();
        doc.blocksB.clear();
    }
    g_abortRequested = 0;
    g_compareRunning = 0;
    return kRunEnded;
}

}  // namespace

std::string FormatLineTotals(int lines, int lfCount, int crlfCount, const std::string& fileInfo)
{
    std::string text = "\x91\x8d\x8d" "s\x90\x94 = ";  // 総行数 =
    text += std::to_string(lines);
    text += " (LF:";
    text += std::to_string(lfCount);
    text += " CRLF:";
    text += std::to_string(crlfCount);
    text += ") ";
    text += fileInfo;
    return text;
}

int RunCompare(TextDocument& doc, CompareRunSettings settings, const CompareRunCallbacks& callbacks)
{
    if (!doc.lineTables[DOC_A] || !doc.lineTables[DOC_B]) {
        g_compareRunning = 0;
        return kRunEnded;
    }
    LineTable& a = *doc.lineTables[DOC_A];
    LineTable& b = *doc.lineTables[DOC_B];
    doc.blocksA.clear();
    doc.blocksB.clear();

    ResetMatchFields(a, b);
    if (AbortPending())
        return EndAborted(doc, false);

    MatchContext context{settings.options, settings.mode, callbacks.progress};
    context.keyCache = std::make_shared<LineKeysCache>();
    // Each stage starts where the previous one ended, so the bar never moves back.
    int value = std::max(MatchPass(0, 40, a, b, context), 0);
    if (AbortPending())
        return EndAborted(doc, true);
    value = std::max(MatchPass(value, 40, b, a, context), value);
    if (AbortPending())
        return EndAborted(doc, true);

    std::array<LineEndCounts, 2> counts;
    const std::array<const LineTable*, 2> tables{&a, &b};
    for (int k = DOC_A; k <= DOC_B; ++k) {
        counts[k] = CountLineEnds(*tables[k]);
        value += 2;
        if (callbacks.progress)
            callbacks.progress(value);
    }
    if (callbacks.totals) {
        for (int k = DOC_A; k <= DOC_B; ++k) {
            const std::string info =
                k < static_cast<int>(doc.fileInfos.size()) ? doc.fileInfos[k] : std::string();
            callbacks.totals(k, FormatLineTotals(tables[k]->count(), counts[k].lf, counts[k].crlf, info));
        }
    }

    BuildRows(value, callbacks.progress, doc, settings.messages);

    if (callbacks.completed)
        callbacks.completed();
    // The running flag is cleared last: once it drops, the document belongs to the UI again.
    if (AbortPending()) {
        doc.blocksA.clear();
        doc.blocksB.clear();
        g_abortRequested = 0;
        g_compareRunning = 0;
        return kRunEnded;
    }
    g_compareRunning = 0;
    return kRunCompleted;
}

}  // namespace kl
