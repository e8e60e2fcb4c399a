#include "ui/linedetail/twin_line_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "engine/platform/cp932.h"

namespace kl {
namespace {

constexpr int kFirstTabIndent = 3;
constexpr int kRowMargin = 2;

// The text collected since the last place it was written, with its width.
struct Pending {
    QString text;
    int width = 0;

    bool empty() const { return text.isEmpty(); }
    void clear()
    {
        text.clear();
        width = 0;
    }
};

void Append(TextMeasure& measure, std::string_view bytes, Pending& pending)
{
    const std::u16string decoded = DecodeToUtf16(measure.encoding(), bytes);
    for (char16_t unit : decoded) {
        pending.text.append(QChar(unit));
        pending.width += measure.Advance(unit);
    }
}

void Write(TwinPaintContext& context, int x, int y, const Pending& pending, const QColor& background)
{
    QPainter& painter = context.painter;
    // Text outside the painted width is only measured: a long line has far more of it
    // than the window shows.
    const QPaintDevice* device = painter.device();
    if (device && (x >= device->width() || x + pending.width <= 0))
        return;
    painter.fillRect(x, y, pending.width, context.textHeight, background);
    painter.setPen(context.text);
    painter.drawText(x, y + context.measure.metrics().ascent(), pending.text);
}

// The newline mark at the start of its cell at (x, y), right after the text; the cell is as
// wide as a double-byte character (the font size). Returns the x after the cell.
int DrawNewlineMark(TwinPaintContext& context, int x, int y)
{
    const QPixmap* mark = context.newlineMark;
    const int imageWidth = mark ? mark->width() : 0;
    const int imageHeight = mark ? mark->height() : 0;
    const int markWidth = std::min(context.fontSize, imageWidth);
    if (mark && markWidth > 0) {
        const int sourceTop = context.textHeight < imageHeight ? imageHeight - context.textHeight : 0;
        context.painter.drawPixmap(QRect(x, y, markWidth, context.textHeight), *mark,
                                   QRect(0, sourceTop, imageWidth, imageHeight - sourceTop));
    }
    return x + std::max(context.fontSize, 0);
}

// Lays a run out from x0 as DrawRun draws it: writeText(x, pending) for each piece of text,
// writeMark(x) for each newline mark, returning the x after the mark's cell. Returns the x
// after the run.
template <typename WriteText, typename WriteMark>
int LayOutRun(TextMeasure& measure, int tabPixels, int x0, std::string_view text, const WriteText& writeText,
              const WriteMark& writeMark)
{
    const int pitch = std::max(tabPixels, 1);
    Pending pending;
    bool tabSeen = false;
    int x = x0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '\t') {
            const int w = pending.width;
            if (!tabSeen) {
                tabSeen = true;
                x = x0 + kFirstTabIndent;
            }
            if (w > 0)
                writeText(x, pending);
            int cells = (w + pitch) / pitch;
            if (cells == 1 && w > 0)
                cells = 2;
            x += cells * pitch;
            pending.clear();
            ++pos;
            continue;
        }
        if (c == '\r' || c == '\n') {
            if (!pending.empty()) {
                writeText(x, pending);
                x += pending.width;
                pending.clear();
            }
            ++pos;
            if (c == '\r' && pos < text.size() && text[pos] == '\n')
                ++pos;
            x = writeMark(x);
            if (c == '\r' && pos < text.size() && text[pos] == '\r') {
                ++pos;
                if (pos < text.size() && text[pos] == '\n')
                    ++pos;
                x = writeMark(x);
            }
            continue;
        }
        const std::size_t next = NextCharIn(measure.encoding(), text, pos);
        Append(measure, text.substr(pos, next - pos), pending);
        pos = next;
    }
    if (!pending.empty()) {
        if (!tabSeen)
            x = x0;
        writeText(x, pending);
        x += pending.width;
    }
    return x;
}

}  // namespace

int DrawRun(TwinPaintContext& context, int x0, int y, std::string_view text, const QColor& background)
{
    return LayOutRun(
        context.measure, context.tabPixels, x0, text,
        [&](int x, const Pending& pending) { Write(context, x, y, pending, background); },
        [&](int x) { return DrawNewlineMark(context, x, y); });
}

int RunWidth(TextMeasure& measure, int tabPixels, int fontSize, std::string_view text)
{
    return LayOutRun(
        measure, tabPixels, 0, text, [](int, const Pending&) {}, [fontSize](int x) { return x + fontSize; });
}

std::vector<QLine> PaintTwinRows(TwinPaintContext& context, const LinePairResult& result, std::string_view line1,
                                 std::string_view line2, int scrollX, int secondRowTop)
{
    std::vector<QLine> links;
    if (result.segments1.empty())
        return links;
    const int halfWidth = context.fontSize / 2;
    // Pixel range of each candidate of line 1 as drawn in this paint; x1 0 = not drawn.
    std::vector<std::pair<int, int>> drawn(result.candidates1.size(), {0, 0});

    // Draws the runs of one row; for each run calls placed(segment, x0, x1).
    const auto paintRow = [&](const std::vector<LineSegment>& segments, std::string_view line, int y,
                              const QColor& difference, const auto& placed) {
        int x = -scrollX;
        std::int32_t previousEnd = segments.front().start;
        for (const LineSegment& segment : segments) {
            const int overlap = segment.start < previousEnd ? previousEnd - segment.start : 0;
            const std::string_view whole = line.substr(static_cast<std::size_t>(segment.start),
                                                       static_cast<std::size_t>(segment.end - segment.start));
            const std::size_t skipped = std::min<std::size_t>(static_cast<std::size_t>(overlap), whole.size());
            const int start = x;
            x = DrawRun(context, x, y, whole.substr(skipped), segment.isDifference ? difference : context.common);
            placed(segment, start - overlap * halfWidth, x);
            previousEnd = std::max(previousEnd, segment.end);
        }
    };

    context.measure.SetEncoding(context.upperEncoding);
    paintRow(result.segments1, line1, kRowMargin, context.upperDifference,
             [&](const LineSegment& segment, int x0, int x1) {
                 if (segment.source >= 0 && static_cast<std::size_t>(segment.source) < drawn.size())
                     drawn[static_cast<std::size_t>(segment.source)] = {x0, x1};
             });
    if (result.segments2.empty())
        return links;

    const int lowerTop = secondRowTop + kRowMargin;
    const int upperBottom = context.fontHeight + kRowMargin;
    context.painter.setPen(context.text);
    context.painter.setBrush(Qt::NoBrush);
    context.measure.SetEncoding(context.lowerEncoding);
    paintRow(result.segments2, line2, lowerTop, context.lowerDifference,
             [&](const LineSegment& segment, int x0, int x1) {
                 if (segment.counterpart < 0 || static_cast<std::size_t>(segment.counterpart) >= drawn.size())
                     return;
                 const auto [upperX0, upperX1] = drawn[static_cast<std::size_t>(segment.counterpart)];
                 if (upperX1 <= 0)
                     return;
                 links.emplace_back(x0, lowerTop, upperX0, upperBottom);
                 links.emplace_back(x1, lowerTop, upperX1, upperBottom);
                 context.painter.setPen(context.text);
                 context.painter.drawLine(links[links.size() - 2]);
                 context.painter.drawLine(links.back());
             });
    return links;
}

}  // namespace kl
