#include "ui/display/painters.h"

#include <QPainter>
#include <cstdlib>
#include <QPixmap>
#include <algorithm>
#include <climits>
#include <limits>
#include <span>

#include "ui/display/newline_mark.h"

namespace kl {

namespace {

constexpr int kMinNumberDigits = 5;
constexpr int kMaxNumberDigits = 10;  // any int
constexpr char16_t kNewlineGlyph = u'\u2193';  // ↓

const QString& EofText()
{
    static const QString text = QStringLiteral("[EOF]");
    return text;
}

QString NumberColumnSample(int digits)
{
    return QString(digits + 1, QLatin1Char('0'));
}

const QString& NewlineGlyph()
{
    static const QString text{QChar(kNewlineGlyph)};
    return text;
}

const QString& EmptyResultMessage()
{
    static const QString text = QStringLiteral(u"比較処理が行われていないかデータがありません。");
    return text;
}

int Baseline(const PaintContext& context, int y)
{
    return y + context.measure.metrics().ascent();
}

// The first and the last row of count rows that meet the area; first > last when none.
std::pair<int, int> RowsInArea(const PaintContext& context, int count)
{
    const int first = context.RowAt(std::max(context.area.top(), 0));
    const int last = context.area.bottom() < 0 ? -1 : std::min(count - 1, context.RowAt(context.area.bottom()));
    return {first, last};
}

// The height of the row being painted.
int PaintedRowHeight(const PaintContext& context)
{
    return context.rowHeight > 0 ? context.rowHeight : context.lineHeight;
}

// The 12 x 12 mark at the start of a cell markCellWidth wide (squeezed when the cell is
// narrower), right after the text whatever the font size, and one row high (stretched, or
// its lower part in a lower row).
void DrawNewlineMark(PaintContext& context, int x, int y, std::string_view lineEnd = {})
{
    const QPixmap* mark = context.lineEndMarks
                              ? &(*context.lineEndMarks)[static_cast<std::size_t>(LineEndKindOf(lineEnd))]
                              : context.newlineMark;
    if (!mark)
        return;
    const int width = std::min(std::max(context.markCellWidth, 1), kNewlineMarkSize);
    QRect source(0, 0, kNewlineMarkSize, kNewlineMarkSize);
    if (context.lineHeight < kNewlineMarkSize)
        source.setTop(kNewlineMarkSize - std::max(context.lineHeight, 1));
    context.painter.drawPixmap(QRect(x, y, width, context.lineHeight), *mark, source);
}

// Draws the segments of a row at y in the background of kind; returns where the text
// stopped. Rows are cut at the right edge of the area: nothing further right is visible.
LineEndPaint PaintRowText(PaintContext& context, std::string_view text, int kind, int y)
{
    const int origin = context.numberColumnWidth;
    const bool wraps = context.wrapWidth > 0;
    const int visibleWidth = context.area.right() + 1 - origin - kTextGap;
    QString& segment = context.scratch;
    segment.resize(0);
    int segmentX = 0;
    int line = 0;
    int lineY = y;
    int lineEndX = 0;  // x after the last step of the line

    RowWalker walker(context.measure, context.tabPixels, text, TabStops::Painted, context.wrapWidth);
    RowStep step;
    while (walker.Next(step)) {
        if (step.line != line) {
            // The row goes on on the next line.
            PaintSegment(context, origin + segmentX, lineY, segment, lineEndX - segmentX, 0, kind);
            segment.resize(0);
            segmentX = 0;
            line = step.line;
            lineY = y + line * context.lineHeight;
            if (lineY > context.area.bottom())
                return {std::numeric_limits<int>::max() / 2, lineY, ContentLength(text) < text.size()};
        }
        lineEndX = step.x + step.width;
        switch (step.kind) {
        case RowStep::Kind::Char:
            segment.append(QChar(step.units[0]));
            if (step.unitCount > 1)
                segment.append(QChar(step.units[1]));
            if (!wraps && step.x + step.width > visibleWidth) {
                PaintSegment(context, origin + segmentX, lineY, segment, walker.segmentWidth(), 0, kind);
                return {std::numeric_limits<int>::max() / 2, lineY, ContentLength(text) < text.size()};
            }
            break;
        case RowStep::Kind::Tab:
            PaintSegment(context, origin + segmentX, lineY, segment,
                         step.x - segmentX, context.tabPixels, kind);
            segment.resize(0);
            segmentX = step.x + step.width;
            break;
        case RowStep::Kind::LineEnd: {
            const int w = step.x - segmentX;
            PaintSegment(context, origin + segmentX, lineY, segment, w, 0, kind);
            segment.resize(0);
            const int markX = origin + segmentX + kTextGap + (w > 0 ? w : -1);
            DrawNewlineMark(context, markX, lineY, text.substr(step.from));
            // A CR followed by another CR shows a second mark.
            if (step.to - step.from >= 2 && text[step.from] == '\r' && text[step.from + 1] == '\r')
                DrawNewlineMark(context, markX + kNewlineMarkSize, lineY, text.substr(step.from + 1));
            return {origin + kTextGap + step.x, lineY, true};
        }
        }
    }
    PaintSegment(context, origin + segmentX, lineY, segment, walker.x() - segmentX, 0, kind);
    segment.resize(0);
    return {origin + kTextGap + walker.x(), lineY, false};
}

// The bytes of runs (ascending, not overlapping) of a row at y drawn again on colour; a line
// end inside a run shows as the glyph "↓".
void PaintRunsOn(PaintContext& context, std::string_view text, std::span<const MarkedRun> runs, int y,
                 const QColor& colour, TabStops stops)
{
    if (runs.empty())
        return;
    QPainter& painter = context.painter;
    const int left = context.numberColumnWidth + kTextGap;
    const int visibleWidth = context.area.right() + 1 - left;
    QString& run = context.scratch;
    run.resize(0);
    int runX = 0;
    int runWidth = 0;
    const auto flush = [&] {
        if (runWidth > 0) {
            painter.fillRect(left + runX, y, runWidth, context.lineHeight, colour);
            painter.setPen(context.textColor);
            painter.drawText(left + runX, Baseline(context, y), run);
        }
        run.resize(0);
        runWidth = 0;
    };

    std::size_t current = 0;
    const bool wraps = context.wrapWidth > 0;
    const int rowY = y;
    int line = 0;
    RowWalker walker(context.measure, context.tabPixels, text, stops, context.wrapWidth);
    RowStep step;
    while (walker.Next(step) && (wraps || step.x <= visibleWidth)) {
        if (step.line != line) {
            flush();
            line = step.line;
            y = rowY + line * context.lineHeight;
            if (y > context.area.bottom())
                break;
        }
        while (current < runs.size() && step.from >= static_cast<std::size_t>(runs[current].end)) {
            flush();
            ++current;
        }
        if (current == runs.size())
            break;
        if (step.from < static_cast<std::size_t>(runs[current].start))
            continue;
        switch (step.kind) {
        case RowStep::Kind::Char:
            if (runWidth == 0)
                runX = step.x;
            run.append(QChar(step.units[0]));
            if (step.unitCount > 1)
                run.append(QChar(step.units[1]));
            runWidth += step.width;
            break;
        case RowStep::Kind::Tab:
            flush();
            painter.fillRect(left + step.x, y, step.width, context.lineHeight, colour);
            break;
        case RowStep::Kind::LineEnd: {
            flush();
            const int width = context.measure.Advance(kNewlineGlyph);
            painter.fillRect(left + step.x, y, width, context.lineHeight, colour);
            painter.setPen(context.textColor);
            painter.drawText(QPoint(left + step.x, Baseline(context, y)), NewlineGlyph());
            break;
        }
        }
    }
    flush();
}

}  // namespace

int PaintContext::RowAt(long long y) const
{
    if (geometry)
        return geometry->RowAt(y);
    return static_cast<int>(std::clamp<long long>(y / std::max(lineHeight, 1), 0, INT_MAX));
}

int PixelsFromSetting(int value, int fallback)
{
    constexpr long long kLargest = 1000;
    const long long size = std::llabs(static_cast<long long>(value));
    return size > 0 && size <= kLargest ? static_cast<int>(size) : fallback;
}

QColor ColorFromRef(ColorRef color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

ColorRef RefFromColor(const QColor& color)
{
    return Rgb(color.red(), color.green(), color.blue());
}

QColor RowBackground(const ColorTable& colors, int fSameCol, int fOtherCol, int kind, int side)
{
    ColorRef color = colors[COLOR_WINDOW];
    switch (kind) {
    case kUncoloredRow:
        break;
    case ROW_COMMON:
        if (fSameCol != 1)
            color = colors[COLOR_SAME];
        break;
    case ROW_ONLY_A:
        color = colors[COLOR_DOC1];
        break;
    case ROW_ONLY_B:
        color = colors[COLOR_DOC2];
        break;
    case ROW_CHANGED:
        color = colors[side == DOC_B ? COLOR_CHANGED2 : COLOR_CHANGED1];
        break;
    default:
        if (fOtherCol == 1)
            color = colors[COLOR_OTHER];
        break;
    }
    return ColorFromRef(color);
}

int NumberDigitsFor(int largestLineNumber)
{
    int digits = 1;
    for (long long limit = 10; digits < kMaxNumberDigits && largestLineNumber >= limit; limit *= 10)
        ++digits;
    return std::max(digits, kMinNumberDigits);
}

int PaintNumberCell(PaintContext& context, int number, int x, int y, int width, int height)
{
    const int numberDigits = std::clamp(context.numberDigits, kMinNumberDigits, kMaxNumberDigits);
    const int columnWidth = context.measure.metrics().horizontalAdvance(NumberColumnSample(numberDigits));
    if (height == -1)
        return columnWidth;

    QString& digits = context.scratch;
    digits.resize(0);
    if (number < 0) {
        digits.fill(QLatin1Char(' '), numberDigits);
    } else {
        // The last digits of number + 1, built without a temporary string.
        long long shown = static_cast<long long>(number) + 1;
        char16_t buffer[kMaxNumberDigits];
        int count = 0;
        do {
            buffer[numberDigits - 1 - count] = static_cast<char16_t>(u'0' + shown % 10);
            shown /= 10;
            ++count;
        } while (shown > 0 && count < numberDigits);
        digits.append(reinterpret_cast<const QChar*>(buffer + numberDigits - count), count);
    }
    // The digits are narrower than the column (one digit more), so they need no clipping.
    QPainter& painter = context.painter;
    const bool clipped = painter.hasClipping();
    painter.setClipping(false);
    painter.fillRect(x, y, width, height, ColorFromRef(context.colors[COLOR_LINEBACK]));
    painter.setPen(ColorFromRef(context.colors[COLOR_LINETEXT]));
    const int textWidth = context.measure.metrics().horizontalAdvance(digits);
    painter.drawText(x + width - 1 - textWidth, Baseline(context, y), digits);
    painter.setClipping(clipped);
    digits.resize(0);
    return columnWidth;
}

void PaintNumberCells(PaintContext& context, int firstNumber, int x, int y, int bottom, int width)
{
    const int pitch = std::max(context.lineHeight, 1);
    int number = firstNumber;
    do {
        PaintNumberCell(context, number, x, y, width, context.lineHeight);
        ++number;
        y += pitch;
    } while (y < bottom);
}

int PaintSegment(PaintContext& context, int x, int y, const QString& text, int w, int t, int kind)
{
    QPainter& painter = context.painter;
    const QColor background = RowBackground(context.colors, context.fSameCol, context.fOtherCol, kind, context.side);
    if (w > 0) {
        painter.fillRect(x + kTextGap, y, w, context.lineHeight, background);
        painter.setPen(context.textColor);
        painter.drawText(x + kTextGap, Baseline(context, y), text);
    }
    if (t <= 0)
        return w;
    const int advance = TabAdvance(w, t);
    painter.fillRect(x + kTextGap + w, y, advance - w, context.lineHeight, background);
    return advance;
}

LineEndPaint PaintSourceLine(PaintContext& context, std::string_view text, int lineIndex, int y)
{
    PaintNumberCell(context, lineIndex, context.numberX, y, context.numberColumnWidth, PaintedRowHeight(context));
    return PaintRowText(context, text, kUncoloredRow, y);
}

int PaintSource(PaintContext& context, const Text& table)
{
    context.numberColumnWidth = PaintNumberCell(context, 0, 0, 0, 0, -1);
    context.measure.SetEncoding(table.encoding);
    const int count = table.count();
    const auto [first, last] = RowsInArea(context, count);
    LineEndPaint lastLine;
    for (int k = first; k <= last; ++k) {
        context.rowHeight = context.RowHeight(k);
        const int y = static_cast<int>(context.RowTop(k));
        lastLine = PaintSourceLine(context, table.text(k), k, y);
    }
    context.rowHeight = 0;

    // "[EOF]" after the text, and numbered cells for the rows below it.
    const bool endsWithLineEnd = count == 0 || NewlineKind(table, count - 1) != 0;
    const int eofRow = endsWithLineEnd ? count : count - 1;
    int eofX = context.numberColumnWidth + kTextGap;
    int eofY = static_cast<int>(context.RowTop(eofRow));
    if (!endsWithLineEnd) {
        if (last != count - 1)  // the last line is outside the area, and so is "[EOF]"
            eofX = -1;
        else
            eofX = lastLine.endX, eofY = lastLine.endY;
    }
    for (int k = std::max(count, first); context.RowTop(k) <= context.area.bottom(); ++k)
        PaintNumberCell(context, k, context.numberX, static_cast<int>(context.RowTop(k)), context.numberColumnWidth,
                        context.RowHeight(k));
    if (eofX >= 0 && eofY <= context.area.bottom() && eofY + context.lineHeight > context.area.top()) {
        context.painter.setPen(kEofColor);
        context.painter.drawText(eofX, Baseline(context, eofY), EofText());
    }
    return context.numberColumnWidth;
}

void PaintResultRow(PaintContext& context, std::string_view text, const DisplayRow& row, int y)
{
    PaintNumberCell(context, row.lineIndex, context.numberX, y, context.numberColumnWidth, PaintedRowHeight(context));
    const bool leftOut = row.message == RowMessage::LeftOut;
    if (context.fullWidthRows) {
        const int left = context.numberColumnWidth + kTextGap;
        context.painter.fillRect(left, y, std::max(context.area.right() + 1 - left, 0), PaintedRowHeight(context),
                                 RowBackground(context.colors, context.fSameCol, context.fOtherCol,
                                               leftOut ? kUncoloredRow : row.kind, context.side));
    }
    if (!leftOut) {
        PaintRowText(context, text, row.kind, y);
        return;
    }
    // A line that took no part: uncoloured, its text halfway to the window colour.
    const QColor shown = context.textColor;
    const QColor window = ColorFromRef(context.colors[COLOR_WINDOW]);
    context.textColor = QColor((shown.red() + window.red()) / 2, (shown.green() + window.green()) / 2,
                               (shown.blue() + window.blue()) / 2);
    PaintRowText(context, text, kUncoloredRow, y);
    context.textColor = shown;
}

int PaintResult(PaintContext& context, const ShownRows& shown, int side, const RowMarksLookup& marks)
{
    context.side = side;
    const std::span<const DisplayRow> rows = shown.Column(side);
    if (rows.empty()) {
        context.numberColumnWidth = 0;
        context.painter.setPen(kEmptyResultColor);
        context.painter.drawText(22, Baseline(context, 3), EmptyResultMessage());
        return 0;
    }
    context.numberColumnWidth = PaintNumberCell(context, 0, 0, 0, 0, -1);
    const auto [first, last] = RowsInArea(context, static_cast<int>(rows.size()));
    std::string scratch;
    // Filler messages come from the settings, in code page 932, whatever the text's encoding.
    const TextEncoding encoding = shown.EncodingOf(side);
    const QColor markColour = ColorFromRef(context.colors[side == DOC_B ? COLOR_DOC2 : COLOR_DOC1]);
    for (int k = first; k <= last; ++k) {
        const DisplayRow& row = rows[static_cast<std::size_t>(k)];
        context.measure.SetEncoding(row.kind == ROW_FILLER ? TextEncoding::Cp932 : encoding);
        const std::string_view text = shown.TextAt(side, k, scratch);
        const int y = static_cast<int>(context.RowTop(k));
        context.rowHeight = context.RowHeight(k);
        PaintResultRow(context, text, row, y);
        if (row.kind != ROW_CHANGED || !marks)
            continue;
        if (const RowMarks* found = marks(k))
            PaintMarkedRuns(context, text, found->runs[side == DOC_B ? 1 : 0], y, markColour);
    }
    context.rowHeight = 0;
    context.measure.SetEncoding(encoding);
    return context.numberColumnWidth;
}

void PaintSelectedText(PaintContext& context, std::string_view text, std::size_t from, std::size_t to, int y)
{
    const MarkedRun run{static_cast<std::int32_t>(from), static_cast<std::int32_t>(std::min<std::size_t>(to, INT32_MAX))};
    PaintRunsOn(context, text, std::span<const MarkedRun>(&run, 1), y, ColorFromRef(context.colors[COLOR_SELBACK]),
                TabStops::Selection);
}

void PaintMarkedRuns(PaintContext& context, std::string_view text, const std::vector<MarkedRun>& runs, int y,
                     const QColor& colour)
{
    PaintRunsOn(context, text, runs, y, colour, TabStops::Painted);
}

}  // namespace kl
