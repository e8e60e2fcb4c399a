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

// The boundary a mouse press at target pixels (from the text origin) anchors at: of the
// first boundary that reaches the target and the one before it, the nearer; a press inside
// the first character anchors at the row start.
Boundary AnchorBoundary(std::string_view text, int target, const ViewMetrics& metrics)
{
    if (target <= 0)
        return {};
    kl::RowWalker walker(*metrics.measure, metrics.tabPixels, text, kl::TabStops::Selection);
    kl::RowStep step;
    Boundary previous;
    bool first = true;
    while (walker.Next(step) && step.kind != kl::RowStep::Kind::LineEnd) {
        const Boundary after{step.to, step.x + step.width};
        if (after.width >= target) {
            if (first && after.width > target)
                return {};
            return after.width - target < target - previous.width ? after : previous;
        }
        previous = after;
        first = false;
    }
    return previous;
}

// The boundary nearest to target for the caret and the free end of a selection: the first
// one past target - charWidth / 2.
Boundary NearestBoundary(std::string_view text, int target, const ViewMetrics& metrics)
{
    const int threshold = target - metrics.charWidth / 2;
    kl::RowWalker walker(*metrics.measure, metrics.tabPixels, text, kl::TabStops::Selection);
    kl::RowStep step;
    while (walker.Next(step)) {
        if (step.x > threshold || step.kind == kl::RowStep::Kind::LineEnd)
            return {step.from, step.x};
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

int CLineWnd::ClampedRow(int y, const ViewMetrics& metrics) const
{
    const int count = metrics.shown->ColumnRowCount(side_);
    if (count == 0 || metrics.lineHeight <= 0)
        return -1;
    const long long row = (static_cast<long long>(metrics.scrollTop) + y) / metrics.lineHeight;
    return static_cast<int>(std::clamp<long long>(row, 0, count - 1));
}

bool CLineWnd::SetAnchor(QPoint point, const ViewMetrics& metrics)
{
    if (metrics.lineHeight <= 0)
        return false;
    const long long y = static_cast<long long>(metrics.scrollTop) + point.y();
    if (y < 0)
        return false;
    const int row = static_cast<int>(std::min<long long>(y / metrics.lineHeight, INT_MAX));
    const Row r = RowAt(row, *metrics.shown);
    if (!r.exists)
        return false;
    const int target = point.x() + metrics.scrollLeft - metrics.numberColumnWidth - kl::kTextGap;
    const Boundary boundary = r.filler ? Boundary{} : AnchorBoundary(r.text, target, metrics);
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
    const int row = ClampedRow(point.y(), metrics);
    if (row < 0 || anchorRow < 0)
        return;
    const Row r = RowAt(row, *metrics.shown);
    const int target = point.x() + metrics.scrollLeft - metrics.numberColumnWidth - kl::kTextGap;
    endRow = row;
    endOffset = r.filler ? 0 : NearestBoundary(r.text, target, metrics).offset;
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
    const int areaFirst = std::max(context.area.top(), 0) / metrics.lineHeight;
    const int areaLast = std::max(context.area.bottom(), 0) / metrics.lineHeight;
    const int first = std::max(std::min(anchorRow, endRow), areaFirst);
    const int last = std::min(std::max(anchorRow, endRow), areaLast);
    for (int row = first; row <= last; ++row) {
        const Row r = RowAt(row, *metrics.shown);
        if (!r.exists || r.filler)
            continue;
        const auto [from, to] = SelectedPart(row, r.text);
        if (from < to)
            kl::PaintSelectedText(context, r.text, from, to, row * metrics.lineHeight);
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
    // The boundary nearest goalX on another row.
    const auto onRow = [&](int row) {
        if (goalX < 0)
            goalX = PrefixWidth(text, from.offset, metrics);
        const Row target = RowAt(row, shown);
        if (!target.exists || target.filler)
            return TextPosition{row, 0};
        return TextPosition{row, NearestBoundary(target.text, goalX, metrics).offset};
    };
    if (move != CaretMove::Up && move != CaretMove::Down && move != CaretMove::PageUp &&
        move != CaretMove::PageDown)
        goalX = -1;
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
        return from.row > 0 ? onRow(from.row - 1) : TextPosition{0, 0};
    case CaretMove::Down:
        return from.row < lastRow ? onRow(from.row + 1) : TextPosition{lastRow, CaretRowLength(lastRow, shown)};
    case CaretMove::PageUp:
        return onRow(std::max(from.row - std::max(pageRows, 1), 0));
    case CaretMove::PageDown:
        return onRow(std::min(from.row + std::max(pageRows, 1), lastRow));
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
    const long long y = std::max<long long>(static_cast<long long>(metrics.scrollTop) + point.y(), 0);
    const int row = static_cast<int>(std::min<long long>(y / metrics.lineHeight, LastCaretRow(*metrics.shown)));
    const Row r = RowAt(row, *metrics.shown);
    if (!r.exists || r.filler)
        return {row, 0};
    const int target = point.x() + metrics.scrollLeft - metrics.numberColumnWidth - kl::kTextGap;
    return {row, NearestBoundary(r.text, target, metrics).offset};
}

QPoint CLineWnd::ClientPointOf(TextPosition position, const ViewMetrics& metrics) const
{
    const int textLeft = metrics.numberColumnWidth + kl::kTextGap - metrics.scrollLeft;
    const long long top = static_cast<long long>(position.row) * metrics.lineHeight - metrics.scrollTop;
    const Row r = RowAt(position.row, *metrics.shown);
    const int x = r.exists && !r.filler ? PrefixWidth(r.text, position.offset, metrics) : 0;
    return {textLeft + x, static_cast<int>(std::clamp<long long>(top, INT_MIN / 2, INT_MAX / 2))};
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
