#include "engine/compare/compare.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "engine/compare/aligned_rows.h"
#include "engine/compare/compared_lines.h"
#include "engine/compare/left_out_lines.h"
#include "engine/compare/line_filters.h"
#include "engine/compare/line_keys.h"
#include "engine/compare/minimal_alignment.h"
#include "engine/compare/row_builder.h"

namespace kl {

namespace {

// Counts the line ends of a text, stopping early on a stop request.
LineEndCounts CountLineEnds(const Text& text, const std::stop_token& stop)
{
    LineEndCounts counts;
    for (int i = 0; i < text.count(); ++i) {
        const int kind = NewlineKind(text, i);
        if (kind == 1)
            ++counts.lf;
        else if (kind == 2)
            ++counts.crlf;
        if (stop.stop_requested())
            break;
    }
    return counts;
}

void TakeMatchFields(MatchSide& from, SideResult& to)
{
    to.blockSize = std::move(from.blockSize);
    to.partnerSlots = std::move(from.partnerSlots);
    to.partnerLines = from.partnerLines.Pack();
}

// A run stopped while its rows were built keeps them, but no blocks.
CompareResult StoppedInRows(CompareResult result)
{
    result.outcome = RunOutcome::StoppedInRows;
    for (SideResult& side : result.sides)
        side.blocks.clear();
    return result;
}

void CountBothLineEnds(const TextPair& texts, const std::stop_token& stop, CompareResult& result)
{
    for (int k = DOC_A; k <= DOC_B; ++k)
        result.sides[static_cast<std::size_t>(k)].lineEnds = CountLineEnds(*texts[static_cast<std::size_t>(k)], stop);
}

CompareResult CompareMinimal(const TextPair& texts, const CompareOptions& options, const std::stop_token& stop,
                             const ProgressCallback& progress, CompareResult result)
{
    MinimalMatch match;
    if (!MatchMinimal(*texts[DOC_A], *texts[DOC_B], options, stop, match, progress))
        return result;
    FillMatchFields(match, result);
    CountBothLineEnds(texts, stop, result);
    if (!EmitAlignedRows(match, 84, progress, stop, result) || stop.stop_requested())
        return StoppedInRows(std::move(result));
    result.outcome = RunOutcome::Completed;
    return result;
}

// Compares the keys of the lines that take part, with the other options, then puts the
// result back into the texts' own lines.
CompareResult CompareFiltered(const TextPair& texts, const CompareRequest& request, const CompareOptions& options,
                              const std::stop_token& stop, const ProgressCallback& progress, CompareResult result)
{
    const LineFilters filters(options, options.encoding);
    std::array<ComparedLines, 2> compared{SelectComparedLines(*texts[DOC_A], filters),
                                          SelectComparedLines(*texts[DOC_B], filters)};
    if (stop.stop_requested())
        return result;
    CompareRequest inner = request;
    inner.options = options;
    inner.options.ignoreCase = false;
    inner.options.ignoreBlankLines = false;
    inner.options.useLineFilters = false;
    inner.options.useSubstitutions = false;
    const TextPair keys{std::make_shared<const Text>(std::move(compared[DOC_A].keys)),
                        std::make_shared<const Text>(std::move(compared[DOC_B].keys))};
    const CompareResult keyed = Compare(keys, inner, stop, progress);
    if (keyed.outcome != RunOutcome::Completed) {
        result.outcome = keyed.outcome;
        return result;
    }
    CountBothLineEnds(texts, stop, result);
    if (!RestoreLeftOutLines(keyed, compared, stop, result) || stop.stop_requested())
        return StoppedInRows(std::move(result));
    result.outcome = RunOutcome::Completed;
    return result;
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

std::string LineTotalsText(const CompareResult& result, int side, const std::string& fileInfo)
{
    const Text* text = result.TextOf(side);
    const LineEndCounts& ends = result.sides[static_cast<std::size_t>(side)].lineEnds;
    return FormatLineTotals(text ? text->count() : 0, ends.lf, ends.crlf, fileInfo);
}

CompareResult Compare(const TextPair& texts, const CompareRequest& request, std::stop_token stop,
                      const ProgressCallback& progress)
{
    CompareResult result;
    result.texts = texts;
    result.messages = request.messages;
    if (!texts[DOC_A] || !texts[DOC_B]) {
        result.outcome = RunOutcome::NoTexts;
        return result;
    }
    result.outcome = RunOutcome::StoppedInMatching;
    if (stop.stop_requested())
        return result;

    // Both texts are read in one encoding; a pair in two encodings is compared as code page
    // 932, byte for byte.
    CompareOptions options = request.options;
    options.encoding = texts[DOC_A]->encoding == texts[DOC_B]->encoding ? texts[DOC_A]->encoding
                                                                      : TextEncoding::Cp932;
    if (HasLineFilterOptions(options))
        return CompareFiltered(texts, request, options, stop, progress, std::move(result));
    if (request.mode == COMPARE_MINIMAL)
        return CompareMinimal(texts, options, stop, progress, std::move(result));
    int value = 0;
    {
        MatchContext context{options, request.mode, progress, stop};
        // The line numbers come first: their hash table is gone before the match fields
        // are allocated, which keeps the peak of a large comparison down.
        context.keyCache = std::make_shared<LineKeysCache>(LineKeysCache{
            texts[DOC_A].get(), texts[DOC_B].get(),
            std::make_shared<const LineKeys>(*texts[DOC_A], *texts[DOC_B], options)});
        if (stop.stop_requested())
            return result;
        MatchSide a(*texts[DOC_A]);
        MatchSide b(*texts[DOC_B]);
        // Each stage starts where the previous one ended, so the bar never moves back.
        value = std::max(MatchPass(0, 40, a, b, context), 0);
        if (stop.stop_requested())
            return result;
        value = std::max(MatchPass(value, 40, b, a, context), value);
        if (stop.stop_requested())
            return result;
        TakeMatchFields(a, result.sides[DOC_A]);
        TakeMatchFields(b, result.sides[DOC_B]);
    }

    for (int k = DOC_A; k <= DOC_B; ++k) {
        result.sides[static_cast<std::size_t>(k)].lineEnds = CountLineEnds(*texts[static_cast<std::size_t>(k)], stop);
        value += 2;
        if (progress)
            progress(value);
    }
    const bool built = BuildRows(value, progress, stop, result);
    if (!built || stop.stop_requested())
        return StoppedInRows(std::move(result));
    result.outcome = RunOutcome::Completed;
    return result;
}

}  // namespace kl
