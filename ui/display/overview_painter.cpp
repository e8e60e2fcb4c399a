#include "ui/display/overview_painter.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <span>

#include "engine/document/document_ops.h"

namespace kl {

namespace {

constexpr int kDefaultRowHeight = 10;  // when the font's height setting is 0
constexpr int kThumbCorner = 6;        // width and height of the thumb's corner ellipse

QColor ToQColor(ColorRef color)
{
    return QColor(static_cast<int>(color & 0xff), static_cast<int>((color >> 8) & 0xff),
                  static_cast<int>((color >> 16) & 0xff));
}

// Builds one strip from count entries; kindOf(i) gives entry i's kind and linesOf(i) the
// pixels it covers. A band starts wherever the kind changes; one that would start on the
// pixel of the band before it starts one pixel lower, so that a short run between two
// others stays visible.
template <typename KindOf, typename StepOf>
std::vector<OverviewBand> BuildStrip(std::size_t count, const OverviewBar& bar, KindOf kindOf, StepOf stepOf)
{
    std::vector<OverviewBand> bands;
    double t = bar.top;
    int previousKind = -1;
    int previousY = bar.top;
    for (std::size_t i = 0; i < count; ++i) {
        const int kind = kindOf(i);
        if (kind != previousKind) {
            int y = static_cast<int>(t);
            if (i > 0 && y == previousY)
                ++y;
            bands.push_back({y, kind});
            previousY = y;
        }
        previousKind = kind;
        t += stepOf(i);
    }
    bands.push_back({static_cast<int>(t), previousKind});
    return bands;
}

std::vector<OverviewBand> RowStrip(std::span<const DisplayRow> rows, const OverviewBar& bar)
{
    const double scale = static_cast<double>(bar.height()) / static_cast<double>(rows.size());
    return BuildStrip(
        rows.size(), bar, [&](std::size_t i) { return static_cast<int>(rows[i].kind); },
        [&](std::size_t) { return scale; });
}

// Every block advances the strip by its own lines, so the strip ends at the bar's bottom
// however the blocks of one kind follow each other.
std::vector<OverviewBand> BlockStrip(const std::vector<DiffBlock>& blocks, int lineCount, const OverviewBar& bar)
{
    const double scale = static_cast<double>(bar.height()) / static_cast<double>(lineCount);
    return BuildStrip(
        blocks.size(), bar, [&](std::size_t i) { return static_cast<int>(blocks[i].kind); },
        [&](std::size_t i) { return std::max(0, blocks[i].lineCount) * scale; });
}

int RowHeightFrom(int setting)
{
    const long long height = std::llabs(static_cast<long long>(setting));
    return height == 0 ? kDefaultRowHeight : static_cast<int>(std::min<long long>(height, 1 << 20));
}

// A strip: from y0 each band is filled to one pixel into the next one, which the next
// band's fill then covers again.
void PaintStrip(QPainter& painter, const std::vector<OverviewBand>& bands, int x0, int x1, const OverviewBar& bar,
                const OverviewColors& colors, int side)
{
    if (x1 <= x0)
        return;
    const auto colorOf = [&](int kind) {
        if (kind == ROW_CHANGED)
            return colors.changed[side == DOC_B ? 1 : 0];
        return kind >= 0 && kind < static_cast<int>(colors.kinds.size()) ? colors.kinds[static_cast<std::size_t>(kind)]
                                                                         : colors.window;
    };
    int y0 = bar.top + 1;
    int kind = -1;
    for (const OverviewBand& band : bands) {
        if (y0 < band.y) {
            const int y1 = std::min(band.y + 1, bar.bottom - 1);
            if (y1 > y0)
                painter.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), colorOf(kind < 0 ? band.kind : kind));
            y0 = band.y;
        }
        kind = band.kind;
    }
}

void PaintThumb(QPainter& painter, const OverviewBar& bar, int thumbTop, int thumbHeight,
                const OverviewColors& colors)
{
    const QRect thumb = OverviewThumbRect(bar, thumbTop, thumbHeight);
    if (thumb.width() <= 0)
        return;
    painter.setPen(colors.thumbEdge);
    if (thumb.height() <= 0) {
        // Nothing mapped: a flat thumb on the bar's top.
        painter.drawLine(thumb.left(), thumb.top(), thumb.right(), thumb.top());
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colors.thumb);
    const QRectF outline(thumb.left() + 0.5, thumb.top() + 0.5, thumb.width() - 1, thumb.height() - 1);
    painter.drawRoundedRect(outline, kThumbCorner / 2.0, kThumbCorner / 2.0);
    painter.restore();

    const int insetX = thumb.width() > 4 ? 3 : thumb.width() > 2 ? 1 : 0;
    const int insetY = thumb.height() > 6 ? 3 : thumb.height() > 3 ? 1 : 0;
    const QRect core = thumb.adjusted(insetX, insetY, -insetX, -insetY);
    if (core.width() > 0 && core.height() > 0)
        painter.fillRect(core, colors.thumbCore);
}

}  // namespace

OverviewBar OverviewBarIn(QSize client)
{
    OverviewBar bar{0, 0, client.width(), client.height()};
    if (bar.right > 2) {
        bar.left += 2;
        bar.right -= 2;
    }
    if (bar.bottom > 2) {
        bar.top += 2;
        bar.bottom -= 2;
    }
    return bar;
}

OverviewStrips BuildOverviewStrips(const TextDocument& doc, int detailMode, int rowHeightSetting,
                                   const OverviewBar& bar, const ShownRows* shown)
{
    const auto rowsOf = [&](int side) {
        return shown ? shown->Column(side) : std::span<const DisplayRow>(doc.result->Rows(side));
    };
    OverviewStrips strips;
    int nA = LineCount(doc, DOC_A);
    int nB = LineCount(doc, DOC_B);
    if (nA <= 0 || nB <= 0)
        return strips;
    if (detailMode == OVERVIEW_ROWS) {
        nA = static_cast<int>(rowsOf(DOC_A).size());
        nB = static_cast<int>(rowsOf(DOC_B).size());
        if (nA == 0 || nB == 0)
            return strips;
    }
    strips.rowCount = std::max({nA, nB, 1});
    if (bar.height() <= 0)
        return strips;

    if (detailMode == OVERVIEW_ROWS) {
        strips.a = RowStrip(rowsOf(DOC_A), bar);
        strips.b = RowStrip(rowsOf(DOC_B), bar);
    } else {
        strips.a = BlockStrip(doc.result->Blocks(DOC_A), nA, bar);
        strips.b = BlockStrip(doc.result->Blocks(DOC_B), nB, bar);
    }
    strips.thumbHeight = OverviewThumbHeight(bar.height(), strips.rowCount, RowHeightFrom(rowHeightSetting));
    return strips;
}

int OverviewThumbHeight(int barHeight, int rowCount, int rowHeight)
{
    const double bar = barHeight;
    const double whole = static_cast<double>(std::max(rowCount, 1)) * std::max(rowHeight, 1);
    int height = static_cast<int>(std::min(bar * bar / whole, 1e9));
    if (height < barHeight) {
        if (height > 0 && height < 10)
            height += 7;
        else if (height <= 0)
            height = 5;
    } else {
        height = height > barHeight + 10 ? barHeight : barHeight - 5;
    }
    return std::max(height, 0);
}

int OverviewThumbTop(long long p, long long r, int barHeight, int thumbHeight)
{
    if (r <= 0)
        return 0;
    const double span = barHeight - thumbHeight / 2;
    return static_cast<int>(span * static_cast<double>(p) / static_cast<double>(r));
}

QRect OverviewThumbRect(const OverviewBar& bar, int thumbTop, int thumbHeight)
{
    const int third = bar.width() / 3;
    const int left = bar.left + third + 2;
    const int right = bar.left + 2 * third;
    int top = bar.top;
    if (thumbHeight / 2 < thumbTop)
        top = std::min(thumbTop, bar.bottom - thumbHeight + 2);
    return QRect(left, top, right - left, thumbHeight);
}

OverviewColors OverviewColorsFrom(const ColorTable& colors, const DocSettings& settings)
{
    OverviewColors result;
    result.window = ToQColor(colors[COLOR_WINDOW]);
    result.kinds[ROW_COMMON] = settings.fSameCol == 1 ? result.window : ToQColor(colors[COLOR_SAME]);
    result.kinds[ROW_ONLY_A] = ToQColor(colors[COLOR_DOC1]);
    result.kinds[ROW_ONLY_B] = ToQColor(colors[COLOR_DOC2]);
    result.kinds[ROW_FILLER] = settings.fOtherCol == 1 ? ToQColor(colors[COLOR_OTHER]) : result.window;
    result.changed = {ToQColor(colors[COLOR_CHANGED1]), ToQColor(colors[COLOR_CHANGED2])};
    return result;
}

void PaintOverview(QPainter& painter, const OverviewBar& bar, const OverviewStrips& strips, int thumbTop,
                   const OverviewColors& colors)
{
    if (bar.width() <= 0 || bar.height() <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(colors.frame);
    painter.setBrush(colors.window);
    painter.drawRect(QRect(bar.left, bar.top, bar.width() - 1, bar.height() - 1));

    const int third = bar.width() / 3;
    if (bar.width() > 12) {
        for (const int x : {bar.left + third + 1, bar.left + 2 * third})
            painter.drawLine(x, bar.top, x, bar.bottom - 1);
    }
    // The strips stop short of the frame's right edge when the width divides by three.
    const int stripEnd = bar.right - 1;
    PaintStrip(painter, strips.a, bar.left + 1, std::min(bar.left + 1 + third, stripEnd), bar, colors, DOC_A);
    PaintStrip(painter, strips.b, bar.left + 2 * third + 1, std::min(bar.left + 3 * third, stripEnd), bar, colors,
               DOC_B);
    PaintThumb(painter, bar, thumbTop, strips.thumbHeight, colors);
    painter.restore();
}

}  // namespace kl
