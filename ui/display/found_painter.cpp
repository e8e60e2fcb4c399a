#include "ui/display/found_painter.h"

#include <QList>
#include <QPainter>
#include <algorithm>

namespace kl {

namespace {

// The rectangles the runs (ascending, not overlapping) of a row at rowY cover, added to rects.
void AddRunRects(PaintContext& context, std::string_view text, std::span<const TextMatch> runs, int rowY,
                 QList<QRect>& rects)
{
    const int left = context.numberColumnWidth + kTextGap;
    const int visibleRight = context.area.right() + 1 - left;
    const bool wraps = context.wrapWidth > 0;
    std::size_t current = 0;
    int y = rowY;
    int line = 0;
    int runX = -1;
    int runEnd = 0;
    const auto flush = [&] {
        if (runX >= 0 && runEnd > runX)
            rects.append(QRect(left + runX, y, runEnd - runX, context.lineHeight));
        runX = -1;
    };
    RowWalker walker(context.measure, context.tabPixels, text, TabStops::Painted, context.wrapWidth);
    RowStep step;
    while (walker.Next(step) && (wraps || step.x <= visibleRight)) {
        if (step.line != line) {  // a wrapped row goes on on its next line
            flush();
            line = step.line;
            y = rowY + line * context.lineHeight;
            if (y > context.area.bottom())
                break;
        }
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
    const int first = context.RowAt(std::max(context.area.top(), 0));
    const int last = std::min(shown.ColumnRowCount(side) - 1, context.RowAt(std::max(context.area.bottom(), 0)));
    context.measure.SetEncoding(shown.EncodingOf(side));
    std::string scratch;
    QList<QRect> rects;
    const TextMatch* current = nullptr;
    int currentRow = -1;
    for (int row = first; row <= last; ++row) {
        const int line = shown.LineAt(side, row);
        if (line < 0)
            continue;
        const std::span<const TextMatch> onLine = MatchesOnLine(matches, line);
        if (onLine.empty())
            continue;
        AddRunRects(context, shown.TextAt(side, row, scratch), onLine, static_cast<int>(context.RowTop(row)), rects);
        if (found.currentSide == side) {
            if (const auto it = std::find(onLine.begin(), onLine.end(), found.current); it != onLine.end()) {
                current = &*it;
                currentRow = row;
            }
        }
    }
    // The matches are tinted: the colour is multiplied into what is painted, so the text
    // stays as drawn and a match on the window colour shows the colour itself.
    QPainter& painter = context.painter;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ColorFromRef(context.colors[COLOR_FOUND]));
    painter.drawRects(rects);
    painter.restore();
    // The current match in SELBACK, its text drawn again on it.
    if (current) {
        const MarkedRun run{static_cast<std::int32_t>(current->begin), static_cast<std::int32_t>(current->end)};
        PaintMarkedRuns(context, shown.TextAt(side, currentRow, scratch), {run},
                        static_cast<int>(context.RowTop(currentRow)), ColorFromRef(context.colors[COLOR_SELBACK]));
    }
}

}  // namespace kl
