#include "ui/display/line_wnd.h"

#include <QtGlobal>
#include <Qt>
#include <algorithm>
#include <climits>

#include "engine/display/display_options.h"
#include "engine/document/document_ops.h"
#include "engine/platform/cp932.h"

namespace {

struct Boundary {
    std::size_t offset = 0;
    int width = 0;  // pixels from the text origin
};

// The boundary a mouse press at target pixels (from the text origin) on the given line of a
// row anchors at: of the first boundary that reaches the target and the one before it, the
// nearer; a press inside the first character anchors at the line start.
Boundary AnchorBoundary(std::string_view text, int target, const ViewMetrics& metrics, int line)
{
    kl::RowWalker walker(*metrics.measure, metrics.tabPixels, text, kl::TabStops::Selection, metrics.wrapWidth);
    kl::RowStep step;
    Boundary previous;
    bool first = true;
    while (walker.Next(step) && step.kind != kl::RowStep::Kind::LineEnd) {
        if (step.line < line) {
            previous = {step.to, 0};
            continue;
        }
        if (step.line > line)
            break;
        if (first)
            previous = {step.from, 0};
        if (target <= 0)
            return previous;
        const Boundary after{step.to, step.x + step.width};
        if (after.width >= target) {
            if (first && after.width > target)
                return previous;
            return after.width - target < target - previous.width ? after : previous;
        }
        previous = after;
        first = false;
    }
    return previous;
}

// The boundary nearest to target on the given line of a row, for the caret and the free end
// of a selection: the first one past target - charWidth / 2, or the line's end.
Boundary NearestBoundary(std::string_view text, int target, const ViewMetrics& metrics, int line = 0)
{
    const int threshold = target - metrics.charWidth / 2;
    kl::RowWalker walker(*metrics.measure, metrics.tabPixels, text, kl::TabStops::Selection, metrics.wrapWidth);
    kl::RowStep step;
    int lineEnd = 0;
    while (walker.Next(step)) {
        if (step.line < line)
            continue;
        if (step.line > line)
            return {step.from, lineEnd};
        if (step.x > threshold || step.kind == kl::RowStep::Kind::LineEnd)
            return {step.from, step.x};
        lineEnd = step.x + step.width;
    }
    return {text.size(), walker.x()};
}

// Byte length of the character after the boundary at offset, 0 at the content end.
std::size_t NextCharLength(kl::TextEncoding encoding, std::string_view text, std::size_t offset)
{
    const std::size_t end = kl::ContentLength(text);
    return offset < end ? kl::NextCharIn(encoding, text, offset) - offset : 0;
}

// Byte length of the character before the boundary at offset, 0 at the row start.
std::size_t PreviousCharLength(kl::TextEncoding encoding, std::string_view text, std::size_t offset)
{
    std::size_t previous = 0;
    for (std::size_t pos = 0; pos < offset;) {
        previous = pos;
        pos = kl::NextCharIn(encoding, text, pos);
    }
    return offset - previous;
}

}  // namespace

CLineWnd::CLineWnd(int side) : side_(side) {}

CLineWnd::~CLineWnd() = default;

CLineWnd::Row CLineWnd::RowAt(int row, const kl::ShownRows& shown) const
{
    if (row < 0 || row >= shown.ColumnRowCount(side_))
        return {};
    const std::string_view text = shown.TextAt(side_, row, fillerText_);
    return {true, text, shown.Cell(side_, row).kind == kl::ROW_FILLER};
}

std::pair<int, int> CLineWnd::RowAndLine(int y, int lastRow, const ViewMetrics& metrics) const
{
    const long long at = std::max<long long>(static_cast<long long>(metrics.scrollTop) + y, 0);
    const int row = std::min(metrics.RowAt(at), lastRow);
    const long long line = (at - metrics.RowTop(row)) / std::max(metrics.lineHeight, 1);
    return {row, static_cast<int>(std::clamp<long long>(line, 0, INT_MAX))};
}

kl::WrappedPoint CLineWnd::PointOf(TextPosition position, const ViewMetrics& metrics) const
{
    const Row r = RowAt(position.row, *metrics.shown);
    if (!r.exists || r.filler)
        return {};
    return kl::PointOfOffset(*metrics.measure, metrics.tabPixels, r.text, position.offset, metrics.wrapWidth);
}

int CLineWnd::OwnLines(int row, const ViewMetrics& metrics) const
{
    const Row r = RowAt(row, *metrics.shown);
    if (!r.exists || r.filler || metrics.wrapWidth <= 0)
        return 1;
    return kl::WrappedLineCount(*metrics.measure, metrics.tabPixels, r.text, metrics.wrapWidth);
}

bool CLineWnd::SetAnchor(QPoint point, const ViewMetrics& metrics)
{
    if (metrics.lineHeight <= 0)
        return false;
    const long long y = static_cast<long long>(metrics.scrollTop) + point.y();
    if (y < 0)
        return false;
    const auto [row, line] = RowAndLine(point.y(), INT_MAX, metrics);
    const Row r = RowAt(row, *metrics.shown);
    if (!r.exists)
        return false;
    const int target = point.x() + metrics.scrollLeft - metrics.numberColumnWidth - kl::kTextGap;
    const Boundary boundary = r.filler ? Boundary{} : AnchorBoundary(r.text, target, metrics, line);
    anchorRow = row;
    anchorOffset = boundary.offset;
    anchorX = metrics.numberColumnWidth + boundary.width + kl::kTextGap;
    endRow = row;
    endOffset = boundary.offset;
    repaintFirst = row;
    repaintLast = -1;
    return true;
}

void CLineWnd::SelectTo(QPoint point, const ViewMetrics& metrics)
{
    const int count = metrics.shown->ColumnRowCount(side_);
    if (count == 0 || metrics.lineHeight <= 0 || anchorRow < 0)
        return;
    const auto [row, line] = RowAndLine(point.y(), count - 1, metrics);
    const Row r = RowAt(row, *metrics.shown);
    const int target = point.x() + metrics.scrollLeft - metrics.numberColumnWidth - kl::kTextGap;
    endRow = row;
    endOffset = r.filler ? 0 : NearestBoundary(r.text, target, metrics, line).offset;
    const int first = std::min(anchorRow, endRow);
    const int last = std::max(anchorRow, endRow);
    repaintFirst = repaintFirst < 0 ? first : std::min(repaintFirst, first);
    repaintLast = std::max(repaintLast, last);
}

std::pair<std::size_t, std::size_t> CLineWnd::SelectedPart(int row, std::string_view text) const
{
    if (anchorRow < 0 || endRow < 0)
        return {0, 0};
    const int first = std::min(anchorRow, endRow);
    const int last = std::max(anchorRow, endRow);
    if (row < first || row > last)
        return {0, 0};
    std::size_t from = 0;
    std::size_t to = text.size();
    if (first == last) {
        from = std::min(anchorOffset, endOffset);
        to = std::max(anchorOffset, endOffset);
    } else {
        const bool anchorAbove = anchorRow < endRow;
        if (row == first)
            from = anchorAbove ? anchorOffset : endOffset;
        else if (row == last)
            to = anchorAbove ? endOffset : anchorOffset;
    }
    // The offsets were taken from the rows as they were when the selection was made.
    return {std::min(from, text.size()), std::min(to, text.size())};
}

bool CLineWnd::hasSelection() const
{
    return anchorRow >= 0 && endRow >= 0 && (anchorRow != endRow || anchorOffset != endOffset);
}

void CLineWnd::ClearSelection()
{
    anchorRow = -1;
    endRow = -1;
    anchorOffset = 0;
    endOffset = 0;
    repaintFirst = -1;
    repaintLast = -1;
}

void CLineWnd::PaintSelection(kl::PaintContext& context, const ViewMetrics& metrics) const
{
    if (!hasSelection() || metrics.lineHeight <= 0)
        return;
    const int areaFirst = metrics.RowAt(std::max(context.area.top(), 0));
    const int areaLast = metrics.RowAt(std::max(context.area.bottom(), 0));
    const int first = std::max(std::min(anchorRow, endRow), areaFirst);
    const int last = std::min(std::max(anchorRow, endRow), areaLast);
    for (int row = first; row <= last; ++row) {
        const Row r = RowAt(row, *metrics.shown);
        if (!r.exists || r.filler)
            continue;
        const auto [from, to] = SelectedPart(row, r.text);
        if (from < to)
            kl::PaintSelectedText(context, r.text, from, to, static_cast<int>(metrics.RowTop(row)));
    }
}

int CLineWnd::PrefixWidth(std::string_view text, std::size_t n, const ViewMetrics& metrics)
{
    return kl::PrefixWidth(*metrics.measure, metrics.tabPixels, text, n, kl::TabStops::Selection);
}

int CLineWnd::ScrollExtent(int rowCount, const ViewMetrics& metrics)
{
    const long long height = static_cast<long long>(metrics.lineHeight) * rowCount;
    return static_cast<int>(std::min<long long>(height, INT_MAX));
}

CaretMove CaretMoveOf(int key, Qt::KeyboardModifiers modifiers)
{
    const bool control = modifiers & Qt::ControlModifier;
    if (modifiers & Qt::AltModifier)
        return CaretMove::None;
    switch (key) {
    case Qt::Key_Home:
        return control ? CaretMove::First : CaretMove::LineStart;
    case Qt::Key_End:
        return control ? CaretMove::Last : CaretMove::LineEnd;
    case Qt::Key_Left:
        return control ? CaretMove::None : CaretMove::Left;
    case Qt::Key_Right:
        return control ? CaretMove::None : CaretMove::Right;
    case Qt::Key_Up:
        return control ? CaretMove::None : CaretMove::Up;
    case Qt::Key_Down:
        return control ? CaretMove::None : CaretMove::Down;
    case Qt::Key_PageUp:
        return control ? CaretMove::None : CaretMove::PageUp;
    case Qt::Key_PageDown:
        return control ? CaretMove::None : CaretMove::PageDown;
    default:
        return CaretMove::None;
    }
}

int CLineWnd::LastCaretRow(const kl::ShownRows& shown) const
{
    if (shown.options().mode == kl::DISPLAY_SOURCE) {
        const kl::Text* text = shown.TextOf(side_);
        const int count = text ? text->count() : 0;
        // "[EOF]" has a row of its own after a last line that ends with a line end.
        if (count == 0 || kl::NewlineKind(*text, count - 1) != 0)
            return count;
        return count - 1;
    }
    return std::max(shown.ColumnRowCount(side_) - 1, 0);
}

std::size_t CLineWnd::CaretRowLength(int row, const kl::ShownRows& shown) const
{
    const Row r = RowAt(row, shown);
    return r.exists && !r.filler ? kl::ContentLength(r.text) : 0;
}

TextPosition CLineWnd::Clamped(TextPosition position, const ViewMetrics& metrics) const
{
    position.row = std::clamp(position.row, 0, LastCaretRow(*metrics.shown));
    const Row r = RowAt(position.row, *metrics.shown);
    if (!r.exists || r.filler)
        return {position.row, 0};
    const std::size_t length = kl::ContentLength(r.text);
    if (position.offset >= length)
        return {position.row, length};
    // Onto the boundary at or before the offset.
    std::size_t boundary = 0;
    for (std::size_t pos = 0; pos <= position.offset;) {
        boundary = pos;
        pos = kl::NextCharIn(metrics.measure->encoding(), r.text, pos);
    }
    return {position.row, boundary};
}

TextPosition CLineWnd::CaretTarget(TextPosition from, CaretMove move, int pageRows, const ViewMetrics& metrics,
                                   int& goalX) const
{
    const kl::ShownRows& shown = *metrics.shown;
    const int lastRow = LastCaretRow(shown);
    from = Clamped(from, metrics);
    const Row r = RowAt(from.row, shown);
    const std::string_view text = r.exists && !r.filler ? r.text : std::string_view();
    const kl::TextEncoding encoding = metrics.measure->encoding();
    const bool vertical = move == CaretMove::Up || move == CaretMove::Down || move == CaretMove::PageUp ||
                          move == CaretMove::PageDown;
    if (!vertical)
        goalX = -1;
    else if (goalX < 0)
        goalX = PointOf(from, metrics).x;
    // One line up or down, the lines of wrapped rows counted, to the boundary nearest goalX.
    const auto onLine = [&](int row, int line) {
        const Row target = RowAt(row, shown);
        if (!target.exists || target.filler)
            return TextPosition{row, 0};
        return TextPosition{row, NearestBoundary(target.text, goalX, metrics, line).offset};
    };
    const auto lineDown = [&](TextPosition at) {
        const int line = PointOf(at, metrics).line;
        if (line + 1 < OwnLines(at.row, metrics))
            return onLine(at.row, line + 1);
        return at.row < lastRow ? onLine(at.row + 1, 0) : TextPosition{lastRow, CaretRowLength(lastRow, shown)};
    };
    const auto lineUp = [&](TextPosition at) {
        const int line = PointOf(at, metrics).line;
        if (line > 0)
            return onLine(at.row, line - 1);
        return at.row > 0 ? onLine(at.row - 1, OwnLines(at.row - 1, metrics) - 1) : TextPosition{0, 0};
    };
    const auto lines = [&](TextPosition at, int count, const auto& step) {
        for (int i = 0; i < count; ++i) {
            const TextPosition next = step(at);
            if (next == at)
                break;
            at = next;
        }
        return at;
    };
    switch (move) {
    case CaretMove::Left:
        if (from.offset > 0)
            return {from.row, from.offset - PreviousCharLength(encoding, text, from.offset)};
        return from.row > 0 ? TextPosition{from.row - 1, CaretRowLength(from.row - 1, shown)} : from;
    case CaretMove::Right:
        if (from.offset < kl::ContentLength(text))
            return {from.row, from.offset + NextCharLength(encoding, text, from.offset)};
        return from.row < lastRow ? TextPosition{from.row + 1, 0} : from;
    case CaretMove::Up:
        return lineUp(from);
    case CaretMove::Down:
        return lineDown(from);
    case CaretMove::PageUp:
        return lines(from, std::max(pageRows, 1), lineUp);
    case CaretMove::PageDown:
        return lines(from, std::max(pageRows, 1), lineDown);
    case CaretMove::LineStart:
        return {from.row, 0};
    case CaretMove::LineEnd:
        return {from.row, kl::ContentLength(text)};
    case CaretMove::First:
        return {0, 0};
    case CaretMove::Last:
        return {lastRow, CaretRowLength(lastRow, shown)};
    case CaretMove::None:
        break;
    }
    return from;
}

TextPosition CLineWnd::PositionAt(QPoint point, const ViewMetrics& metrics) const
{
    if (metrics.lineHeight <= 0)
        return caret;
    const auto [row, line] = RowAndLine(point.y(), LastCaretRow(*metrics.shown), metrics);
    const Row r = RowAt(row, *metrics.shown);
    if (!r.exists || r.filler)
        return {row, 0};
    const int target = point.x() + metrics.scrollLeft - metrics.numberColumnWidth - kl::kTextGap;
    return {row, NearestBoundary(r.text, target, metrics, line).offset};
}

QPoint CLineWnd::ClientPointOf(TextPosition position, const ViewMetrics& metrics) const
{
    const int textLeft = metrics.numberColumnWidth + kl::kTextGap - metrics.scrollLeft;
    const kl::WrappedPoint at = PointOf(position, metrics);
    const long long top =
        metrics.RowTop(position.row) + static_cast<long long>(at.line) * metrics.lineHeight - metrics.scrollTop;
    return {textLeft + at.x, static_cast<int>(std::clamp<long long>(top, INT_MIN / 2, INT_MAX / 2))};
}

namespace {

// The line on row of side's column, or when it is a filler the first line below it; kNoLine
// when there is none.
int LineAtOrBelow(const kl::ShownRows& shown, int side, int row)
{
    for (; row >= 0 && row < shown.ColumnRowCount(side); ++row) {
        const int line = shown.LineAt(side, row);
        if (line != kl::kNoLine)
            return line;
    }
    return kl::kNoLine;
}

// The row of side's column that shows line, or -1. A column shows line n on row n or below.
int RowOfLine(const kl::ShownRows& shown, int side, int line)
{
    for (int row = std::max(line, 0); row < shown.ColumnRowCount(side); ++row) {
        const int found = shown.LineAt(side, row);
        if (found == line)
            return row;
        if (found > line)
            break;
    }
    return -1;
}

}  // namespace

bool CLineWnd::CarrySelection(const kl::ShownRows& from, const kl::ShownRows& to)
{
    const auto carry = [&](int& row, std::size_t& offset) {
        const bool onLine = from.LineAt(side_, row) != kl::kNoLine;
        const int moved = RowOfLine(to, side_, LineAtOrBelow(from, side_, row));
        if (moved < 0)
            return false;
        row = moved;
        if (!onLine)
            offset = 0;
        return true;
    };
    const bool sameText = from.SharedText(side_) && from.SharedText(side_) == to.SharedText(side_);
    if (!hasSelection() || !sameText || !carry(anchorRow, anchorOffset) || !carry(endRow, endOffset)) {
        ClearSelection();
        return false;
    }
    repaintFirst = std::min(anchorRow, endRow);
    repaintLast = std::max(anchorRow, endRow);
    return true;
}

void CLineWnd::CarryCaret(const kl::ShownRows& from, const kl::ShownRows& to)
{
    if (&from == &to || !from.SharedText(side_) || from.SharedText(side_) != to.SharedText(side_))
        return;
    const bool onLine = from.LineAt(side_, caret.row) != kl::kNoLine;
    const int moved = RowOfLine(to, side_, LineAtOrBelow(from, side_, caret.row));
    if (moved < 0)
        return;
    caret.row = moved;
    if (!onLine)
        caret.offset = 0;
}

void CLineWnd::Reanchor(const ViewMetrics& metrics)
{
    const Row r = RowAt(anchorRow, *metrics.shown);
    if (!r.exists)
        return;
    anchorX = metrics.numberColumnWidth + kl::kTextGap + PrefixWidth(r.text, std::min(anchorOffset, r.text.size()), metrics);
}

std::string CLineWnd::CollectSelection(const kl::ShownRows& shown) const
{
    std::string selected;
    if (!hasSelection())
        return selected;
    const int first = std::min(anchorRow, endRow);
    const int last = std::min(std::max(anchorRow, endRow), shown.ColumnRowCount(side_) - 1);
    for (int row = first; row <= last; ++row) {
        const Row r = RowAt(row, shown);
        if (!r.exists || r.filler)
            continue;
        const auto [from, to] = SelectedPart(row, r.text);
        if (from < to)
            selected.append(r.text.substr(from, to - from));
    }
    return selected;
}
