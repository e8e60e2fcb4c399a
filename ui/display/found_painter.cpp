#include "ui/display/found_painter.h"

#include <QPainter>
#include <algorithm>

namespace kl {

namespace {

// Tints the runs (ascending, not overlapping) of a row at y with colour: multiplied into
// what is painted, so the text stays as drawn and a match on the window colour shows the
// colour itself. Only rectangles are filled; the text is not drawn again.
void TintRuns(PaintContext& context, std::string_view text, std::span<const TextMatch> runs, int y)
{
    const int left = context.numberColumnWidth + kTextGap;
    const int visibleRight = context.area.right() + 1 - left;
    std::size_t current = 0;
    int runX = -1;
    int runEnd = 0;
    const auto flush = [&] {
        if (runX >= 0 && runEnd > runX)
            context.painter.fillRect(left + runX, y, runEnd - runX, context.lineHeight,
                                     context.painter.brush());
        runX = -1;
    };
    RowWalker walker(context.measure, context.tabPixels, text);
    RowStep step;
    while (walker.Next(step) && step.x <= visibleRight) {
        while (current < runs.size() && step.from >= runs[current].end) {
            flush();
            ++current;
        }
        if (current == runs.size())
            break;
        if (step.from < runs[current].begin || step.kind == RowStep::Kind::LineEnd)
            continue;
        if (runX < 0)
            runX = step.x;
        runEnd = step.x + step.width;
    }
    flush();
}

}  // namespace

void PaintFoundMatches(PaintContext& context, const ShownRows& shown, int side, const FoundMatches& found)
{
    if (!found.result || context.lineHeight <= 0)
        return;
    const std::vector<TextMatch>& matches = found.result->matches[side == DOC_B ? 1 : 0];
    if (matches.empty())
        return;
    const int first = std::max(context.area.top(), 0) / context.lineHeight;
    const int last = std::min(shown.ColumnRowCount(side) - 1, std::max(context.area.bottom(), -1) / context.lineHeight);
    context.measure.SetEncoding(shown.EncodingOf(side));
    QPainter& painter = context.painter;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.setBrush(ColorFromRef(context.colors[COLOR_FOUND]));
    std::string scratch;
    const TextMatch* current = nullptr;
    int currentRow = -1;
    for (int row = first; row <= last; ++row) {
        const int line = shown.LineAt(side, row);
        if (line < 0)
            continue;
        const std::span<const TextMatch> onLine = MatchesOnLine(matches, line);
        if (onLine.empty())
            continue;
        TintRuns(context, shown.TextAt(side, row, scratch), onLine, row * context.lineHeight);
        if (found.currentSide == side) {
            if (const auto it = std::find(onLine.begin(), onLine.end(), found.current); it != onLine.end()) {
                current = &*it;
                currentRow = row;
            }
        }
    }
    painter.restore();
    // The current match in SELBACK, its text drawn again on it.
    if (current) {
        const MarkedRun run{static_cast<std::int32_t>(current->begin), static_cast<std::int32_t>(current->end)};
        PaintMarkedRuns(context, shown.TextAt(side, currentRow, scratch), {run}, currentRow * context.lineHeight,
                        ColorFromRef(context.colors[COLOR_SELBACK]));
    }
}

}  // namespace kl
