#include "engine/edit/copy_across.h"

#include <string>
#include <utility>
#include <vector>

#include "engine/platform/text_encoding.h"

namespace kl {

namespace {

// One run of rows: the target's lines [first, end) give way to the source's bytes.
struct CopiedRun {
    int first = 0;
    int end = 0;
    std::string bytes;  // the source's lines, in the source's encoding
};

CopiedRun RunOfRows(const ShownRows& shown, int from, int firstRow, int lastRow)
{
    const int to = 1 - from;
    CopiedRun run;
    const Text& source = *shown.TextOf(from);
    int firstLine = kNoLine;
    int lastLine = kNoLine;
    for (int row = firstRow; row <= lastRow; ++row) {
        const int line = shown.LineAt(from, row);
        if (line != kNoLine)
            run.bytes += source.text(line);
        const int target = shown.LineAt(to, row);
        if (target != kNoLine) {
            if (firstLine == kNoLine)
                firstLine = target;
            lastLine = target;
        }
    }
    if (firstLine == kNoLine) {
        // The lines go in after the target's line above the rows.
        int row = firstRow - 1;
        while (row >= 0 && shown.LineAt(to, row) == kNoLine)
            --row;
        firstLine = row >= 0 ? shown.LineAt(to, row) + 1 : 0;
        lastLine = firstLine - 1;
    }
    run.first = firstLine;
    run.end = lastLine + 1;
    return run;
}

bool EndsWithBreak(std::string_view bytes)
{
    return !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
}

// The runs as one edit of the target, every run's bytes in the target's encoding (the
// target made UTF-8 first when its own encoding cannot hold them).
std::optional<PreparedEdit> EditOfRuns(const ShownRows& shown, int from, std::vector<CopiedRun> runs)
{
    const int to = 1 - from;
    const Text& source = *shown.TextOf(from);
    const Text& original = *shown.TextOf(to);
    std::shared_ptr<const Text> base;
    if (source.encoding != original.encoding) {
        std::vector<std::string> encoded;
        for (const CopiedRun& run : runs) {
            std::optional<std::string> bytes = EncodeFor(original.encoding, DecodeToUtf8(source.encoding, run.bytes));
            if (!bytes) {
                base = AsUtf8Text(original);
                break;
            }
            encoded.push_back(std::move(*bytes));
        }
        for (std::size_t k = 0; k < runs.size(); ++k)
            runs[k].bytes = base ? DecodeToUtf8(source.encoding, runs[k].bytes) : std::move(encoded[k]);
    }
    const Text& target = base ? *base : original;
    const std::string_view bytes = target.bytes();
    const std::string newline(DominantNewline(target));
    const std::int64_t begin = LineStart(target, runs.front().first);
    const std::int64_t end = LineStart(target, runs.back().end);
    std::string inserted;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const CopiedRun& run = runs[k];
        const std::int64_t runStart = LineStart(target, run.first);
        // Lines put after a last line without a line end need one between.
        if (runStart == static_cast<std::int64_t>(bytes.size()) && !bytes.empty() && !EndsWithBreak(bytes) &&
            !run.bytes.empty() && inserted.empty())
            inserted += newline;
        inserted += run.bytes;
        const std::int64_t after = LineStart(target, run.end);
        const std::int64_t next = k + 1 < runs.size() ? LineStart(target, runs[k + 1].first) : end;
        const bool more = next > after || after < static_cast<std::int64_t>(bytes.size());
        if (more && !inserted.empty() && !EndsWithBreak(inserted))
            inserted += newline;
        inserted.append(bytes.substr(static_cast<std::size_t>(after), static_cast<std::size_t>(next - after)));
    }
    if (!base && bytes.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)) == inserted)
        return std::nullopt;
    return PreparedEdit{std::move(base), {to, begin, end, std::move(inserted)}};
}

}  // namespace

int BlockLastRow(const ShownRows& shown, int block)
{
    int row = shown.BlockFirstRow(block);
    while (row + 1 < shown.RowCount() && shown.BlockOf(row + 1) == block)
        ++row;
    return row;
}

std::optional<PreparedEdit> CopyRowsEdit(const ShownRows& shown, int from, int firstRow, int lastRow)
{
    if (!shown.TextOf(DOC_A) || !shown.TextOf(DOC_B) || firstRow > lastRow)
        return std::nullopt;
    return EditOfRuns(shown, from, {RunOfRows(shown, from, firstRow, lastRow)});
}

std::optional<PreparedEdit> CopyBlockEdit(const ShownRows& shown, int from, int block)
{
    if (block < 0 || block >= shown.BlockCount())
        return std::nullopt;
    return CopyRowsEdit(shown, from, shown.BlockFirstRow(block), BlockLastRow(shown, block));
}

std::optional<PreparedEdit> CopyAllEdit(const ShownRows& shown, int from)
{
    if (!shown.TextOf(DOC_A) || !shown.TextOf(DOC_B) || shown.BlockCount() == 0)
        return std::nullopt;
    std::vector<CopiedRun> runs;
    for (int block = 0; block < shown.BlockCount(); ++block)
        runs.push_back(RunOfRows(shown, from, shown.BlockFirstRow(block), BlockLastRow(shown, block)));
    return EditOfRuns(shown, from, std::move(runs));
}

}  // namespace kl
