#include "ui/display/text_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimerEvent>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "ui/display/found_painter.h"
#include "ui/display/outline_painter.h"
#include "ui/display/newline_mark.h"
#include "ui/display/side_marks.h"
#include "engine/display/top_row.h"
#include "engine/linedetail/line_pick.h"
#include "engine/document/document_ops.h"
#include "ui/document/kestrilane_doc.h"
#include "engine/platform/cp932.h"

namespace {

// The longest line is measured up to this many bytes and the rest estimated from them.
constexpr std::size_t kMeasuredBytes = 4096;
// A drag this far below the view scrolls it.
constexpr int kDragScrollMargin = 50;
constexpr int kCaretWidth = 2;
constexpr int kLargestTabSize = 8;
// The portion of the side mark that shows in the corner, and where it goes.
const QRect kCornerMarkSource(2, 1, 15, 15);
const QPoint kCornerMarkPosition(2, 4);

// Rows beyond this many are wrapped anew only once a resize has rested for the delay.
constexpr int kRowsLaidOutAtOnce = 50'000;
constexpr int kRelayoutDelayMs = 150;

// Font size steps the Ctrl+wheel reaches, each a tenth larger or smaller.
constexpr int kSmallestZoom = -8;
constexpr int kLargestZoom = 20;

QFont ZoomedFont(QFont font, int steps)
{
    if (steps == 0)
        return font;
    const double factor = std::pow(1.1, steps);
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(static_cast<int>(std::lround(font.pixelSize() * factor)), 4));
    else if (font.pointSizeF() > 0)
        font.setPointSizeF(std::max(font.pointSizeF() * factor, 3.0));
    return font;
}

// Rows the view scrolls over: the longer column, and shown as loaded the row of "[EOF]"
// below a last line that ends with a line end.
int ScrolledRows(const kl::ShownRows& shown)
{
    int rows = shown.RowCount();
    if (shown.options().mode != kl::DISPLAY_SOURCE)
        return rows;
    for (int side : {kl::DOC_A, kl::DOC_B}) {
        const kl::Text* text = shown.TextOf(side);
        if (!text)
            continue;
        const int count = text->count();
        rows = std::max(rows, count == 0 || kl::NewlineKind(*text, count - 1) != 0 ? count + 1 : count);
    }
    return rows;
}

}  // namespace

CTextView::CTextView(CKestrilaneDoc& doc, int side, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), side_(side), lineWnd_(side)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always shown, so that both views keep the same client height under the shared bar.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    markBitmap_ = kl::BoxedSideMark(side);
    connect(&doc_.marksLoader(), &CMarksLoader::marksReady, this, [this](int row) { UpdateRows(row, row); });
    scratch_.reserve(256);
    SetRowScrollBar(nullptr);
    SetViewState(nullptr);
}

void CTextView::SetRowScrollBar(QScrollBar* bar)
{
    if (rowBar_)
        disconnect(rowBar_, nullptr, this, nullptr);
    rowBar_ = bar ? bar : verticalScrollBar();
    connect(rowBar_, &QScrollBar::valueChanged, this, &CTextView::OnRowScrolled);
    OnRowScrolled();
}

int CTextView::scrollTop() const
{
    return rowBar_->value();
}

int CTextView::maxScrollLeft() const
{
    return std::max(0, scrollWidth - viewport()->width());
}

int CTextView::maxScrollTop() const
{
    return std::max(0, totalHeight - viewport()->height());
}

const QFont& CTextView::ViewFont() const
{
    viewFont_ = SideFont(side_);
    return viewFont_;
}

QFont CTextView::SideFont(int side) const
{
    return ZoomedFont(side == kl::DOC_A ? doc_.leftFont : doc_.rightViewFont(), state_->zoom());
}

void CTextView::SetViewState(ViewState* state)
{
    disconnect(state_, nullptr, this, nullptr);
    state_ = state ? state : &ownState_;
    connect(state_, &ViewState::zoomChanged, this, &CTextView::OnUpdate);
    connect(state_, &ViewState::geometryChanged, this, &CTextView::FollowGeometry);
    connect(state_, &ViewState::foundChanged, viewport(), qOverload<>(&QWidget::update), Qt::UniqueConnection);
    connect(state_, &ViewState::currentDifferenceChanged, viewport(), qOverload<>(&QWidget::update),
            Qt::UniqueConnection);
}

kl::DisplayOptions CTextView::Options() const
{
    return state_->options();
}

std::shared_ptr<const kl::ShownRows> CTextView::Shown() const
{
    return doc_.Shown(Options());
}

int CTextView::LineStep() const
{
    return 6 * kl::PixelsFromSetting(doc_.fontSettings.size, charWidth);
}

// Both views take the same row pitch, the height of the taller of the two fonts, so that
// row k of the left column always stands beside row k of the right one.
void CTextView::MeasureFonts()
{
    measure_.SetFont(ViewFont());
    const int height = std::max(QFontMetrics(SideFont(kl::DOC_A)).height(), QFontMetrics(SideFont(kl::DOC_B)).height());
    lineHeight = std::max(height, 1);
    charWidth = std::max(measure_.metrics().horizontalAdvance(QLatin1Char('A')), 1);
}

// The tab cell is the width of TABSIZE spaces in the left view's font, in both views: tab
// stops stand in the same columns on both sides even when the right view has a font of its
// own. It is taken at each update, with the fonts, and before that when first needed.
void CTextView::MeasureTabCell()
{
    const int spaces = std::clamp(doc_.docSettings.tabSize, 1, kLargestTabSize);
    tabPixels_ = QFontMetrics(SideFont(kl::DOC_A)).horizontalAdvance(QString(spaces, QLatin1Char(' ')));
}

kl::TextEncoding CTextView::SideEncoding() const
{
    return Shown()->EncodingOf(side_);
}

ViewMetrics CTextView::Metrics()
{
    measure_.SetFont(ViewFont());
    measure_.SetEncoding(SideEncoding());
    if (tabPixels_ == 0)
        MeasureTabCell();
    ViewMetrics metrics;
    metrics.shown = Shown();
    metrics.lineHeight = lineHeight;
    metrics.charWidth = charWidth;
    metrics.numberColumnWidth = numberColumnWidth;
    metrics.tabPixels = tabPixels_;
    metrics.scrollTop = scrollTop();
    metrics.scrollLeft = horizontalScrollBar()->value();
    metrics.lineStep = LineStep();
    metrics.measure = &measure_;
    metrics.geometry = &state_->geometry();
    metrics.wrapWidth = state_->geometry().WrapWidth(side_);
    return metrics;
}

void CTextView::OnUpdate()
{
    const int oldTopRow = lineHeight > 0 ? RowAtY(scrollTop()) : 0;
    const std::shared_ptr<const kl::ShownRows> shown = Shown();
    const std::shared_ptr<const kl::ShownRows> old = laidOut_ ? laidOut_ : shown;
    laidOut_ = shown;

    // A complete selection stays on its lines while the rows still show them.
    capturing_ = false;
    if (selectionState != 2 || !lineWnd_.CarrySelection(*old, *shown)) {
        selectionState = 0;
        lineWnd_.ClearSelection();
    }

    rowCount = shown->RowCount();
    setFont(ViewFont());
    MeasureFonts();
    MeasureTabCell();
    const bool emptyResult = displayMode() == DISPLAY_RESULT && shown->ColumnRowCount(side_) == 0;
    numberDigits_ = kl::NumberDigitsFor(std::max(kl::LineCount(doc_.textDoc, kl::DOC_A), kl::LineCount(doc_.textDoc, kl::DOC_B)));
    numberColumnWidth = emptyResult ? 0 : measure_.metrics().horizontalAdvance(QString(numberDigits_ + 1, QLatin1Char('0')));
    longestLine = kl::LongestLine(doc_.textDoc, side_);
    horizontalScrollBar()->setSingleStep(LineStep());
    state_->geometry().SetLineHeight(lineHeight);
    LayOutRows(true);

    if (selectionState == 2)
        lineWnd_.Reanchor(Metrics());
    lineWnd_.CarryCaret(*old, *shown);
    lineWnd_.caret = lineWnd_.Clamped(lineWnd_.caret, Metrics());
    if (old->options() != shown->options() && side_ == kl::DOC_A) {
        const int top = kl::TopRowAfterSwitch(*old, *shown, side_, oldTopRow);
        rowBar_->setValue(static_cast<int>(std::min<long long>(RowTop(top), INT_MAX)));
    }
    viewport()->update();
}

int CTextView::MeasureScrollWidth()
{
    const kl::Text* table = doc_.textDoc.texts[static_cast<std::size_t>(side_)].get();
    if (!table || longestLine < 0 || longestLine >= table->count())
        return 0;
    std::string_view text = table->text(longestLine);
    text = text.substr(0, kl::ContentLength(text));

    // Measured up to a character boundary.
    const kl::TextEncoding encoding = table->encoding;
    measure_.SetEncoding(encoding);
    std::size_t measured = 0;
    while (measured < text.size()) {
        const std::size_t next = kl::NextCharIn(encoding, text, measured);
        if (next > kMeasuredBytes)
            break;
        measured = next;
    }
    double width = kl::PrefixWidth(measure_, tabPixels_, text.substr(0, measured), measured);
    if (measured > 0 && measured < text.size())
        width = width * static_cast<double>(text.size()) / static_cast<double>(measured);
    const double total = numberColumnWidth + kl::kTextGap + width + 2.0 * kl::kNewlineMarkSize;
    return static_cast<int>(std::min<double>(total, INT_MAX / 2));
}

void CTextView::UpdateScrollRanges()
{
    const QSize client = viewport()->size();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, maxScrollTop());
    vertical->setPageStep(std::max(1, client.height()));
    vertical->setSingleStep(std::max(1, lineHeight));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, maxScrollLeft());
    horizontal->setPageStep(std::max(1, client.width()));
    visibleBottom = scrollTop() + client.height();
    emit extentChanged();
}

void CTextView::OnRowScrolled()
{
    visibleBottom = scrollTop() + viewport()->height();
    viewport()->update();
}

void CTextView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const kl::ColorTable& colors = doc_.colors;
    const QColor window = kl::ColorFromRef(colors[kl::COLOR_WINDOW]);
    painter.fillRect(event->rect(), window);
    if (lineHeight <= 0)
        return;
    // Rows coloured over the full width show the marks on their own colour.
    const bool fullWidthRows = displayMode() == DISPLAY_RESULT && Options().paired;
    const QColor markBackground = fullWidthRows ? QColor(Qt::transparent) : window;
    if (newlineMark_.isNull() || newlineMarkBackground_ != markBackground) {
        newlineMark_ = kl::NewlineMark(markBackground);
        lineEndMarks_ = kl::LineEndMarksOn(markBackground);
        newlineMarkBackground_ = markBackground;
    }
    const ViewMetrics metrics = Metrics();
    painter.setFont(ViewFont());
    painter.translate(-metrics.scrollLeft, -metrics.scrollTop);

    kl::PaintContext context{painter, measure_, scratch_, colors};
    context.fSameCol = doc_.docSettings.fSameCol;
    context.fOtherCol = doc_.docSettings.fOtherCol;
    context.lineHeight = lineHeight;
    context.tabPixels = metrics.tabPixels;
    context.markCellWidth = kl::PixelsFromSetting(doc_.fontSettings.size, kl::kNewlineMarkSize);
    context.newlineMark = &newlineMark_;
    if (doc_.docSettings.fEolKind != 0)
        context.lineEndMarks = &lineEndMarks_;
    context.area = event->rect().translated(metrics.scrollLeft, metrics.scrollTop);
    context.textColor = palette().color(QPalette::Text);
    context.numberColumnWidth = numberColumnWidth;
    context.numberDigits = numberDigits_;
    context.geometry = metrics.geometry;
    context.wrapWidth = metrics.wrapWidth;
    // The number cells stay at the left edge; the text scrolls sideways beside them.
    context.numberX = metrics.scrollLeft;
    painter.setClipRect(QRect(metrics.scrollLeft + numberColumnWidth, metrics.scrollTop,
                              std::max(viewport()->width() - numberColumnWidth, 0), viewport()->height()));

    if (displayMode() == DISPLAY_RESULT) {
        const std::shared_ptr<const kl::ShownRows>& shown = metrics.shown;
        CMarksLoader& marks = doc_.marksLoader();
        context.fullWidthRows = fullWidthRows;
        numberColumnWidth =
            kl::PaintResult(context, *shown, side_, [&](int row) { return marks.Find(*shown, row); });
        if (shown->options().paired && lineHeight > 0)
            marks.Request(shown, RowAtY(context.area.top()), RowAtY(context.area.bottom()));
    } else if (const kl::Text* table = doc_.textDoc.texts[static_cast<std::size_t>(side_)].get()) {
        numberColumnWidth = kl::PaintSource(context, *table);
    }
    kl::PaintFoundMatches(context, *metrics.shown, side_, state_->found());
    if (const CurrentDifference& difference = state_->currentDifference(); difference.side < 0 || difference.side == side_)
        kl::PaintRowsOutline(context, difference.firstRow, difference.lastRow,
                             viewport()->rect().translated(metrics.scrollLeft, metrics.scrollTop));
    if (selectionState != 0)
        lineWnd_.PaintSelection(context, Metrics());

    const qreal ratio = markBitmap_.devicePixelRatio();
    const QRectF source(kCornerMarkSource.x() * ratio, kCornerMarkSource.y() * ratio,
                        kCornerMarkSource.width() * ratio, kCornerMarkSource.height() * ratio);
    painter.setClipping(false);
    painter.drawPixmap(QRectF(kCornerMarkPosition + QPoint(metrics.scrollLeft, 0), kCornerMarkSource.size()),
                       markBitmap_, source);

    painter.resetTransform();
    if (caretState != 0) {
        caretRect_ = QRect(lineWnd_.ClientPointOf(lineWnd_.caret, Metrics()), QSize(kCaretWidth, lineHeight));
        if (caretOn_ && caretRect_.x() >= numberColumnWidth)
            painter.fillRect(caretRect_, context.textColor);
        caretState = 2;
    }
    editing_.PaintPreedit(painter, lineWnd_.ClientPointOf(lineWnd_.caret, Metrics()), lineHeight);
}

void CTextView::UpdateRows(int first, int last)
{
    if (first < 0 || last < first || lineHeight <= 0) {
        viewport()->update();
        return;
    }
    const long long top = RowTop(first) - scrollTop();
    const long long bottom = RowTop(last + 1) - scrollTop();
    const int height = viewport()->height();
    const int clippedTop = static_cast<int>(std::clamp<long long>(top, 0, height));
    const int clippedBottom = static_cast<int>(std::clamp<long long>(bottom, 0, height));
    if (clippedBottom > clippedTop)
        viewport()->update(QRect(0, clippedTop, viewport()->width(), clippedBottom - clippedTop));
    if (caretState != 0)
        viewport()->update(caretRect_);
}

void CTextView::PlaceCaret(TextPosition position)
{
    caretOn_ = true;
    const bool moved = position != lineWnd_.caret;
    lineWnd_.caret = position;
    if (caretState != 0 && lineHeight > 0) {
        viewport()->update(caretRect_);
        caretRect_ = QRect(CaretClientPoint(), QSize(kCaretWidth, lineHeight));
        viewport()->update(caretRect_);
    }
    if (moved)
        emit caretMoved();
}

QPoint CTextView::CaretClientPoint()
{
    return lineWnd_.ClientPointOf(lineWnd_.caret, Metrics());
}

int CTextView::PageRows() const
{
    return lineHeight > 0 ? std::max(viewport()->height() / lineHeight, 1) : 1;
}

void CTextView::ScrollToCaret()
{
    if (lineHeight <= 0)
        return;
    const long long top = static_cast<long long>(scrollTop()) + CaretClientPoint().y();
    const int height = viewport()->height();
    if (top < scrollTop())
        rowBar_->setValue(static_cast<int>(top));
    else if (top + lineHeight > static_cast<long long>(scrollTop()) + height)
        rowBar_->setValue(static_cast<int>(std::min<long long>(top + lineHeight - height, INT_MAX)));
    // Sideways the caret keeps a quarter of the width from the edge it went past.
    QScrollBar* sideways = horizontalScrollBar();
    const int x = CaretClientPoint().x();
    const int textLeft = numberColumnWidth + kl::kTextGap;
    const int width = viewport()->width();
    if (x < textLeft)
        sideways->setValue(sideways->value() - (textLeft - x) - (width - textLeft) / 4);
    else if (x + kCaretWidth > width)
        sideways->setValue(sideways->value() + (x + kCaretWidth - width) + (width - textLeft) / 4);
}

void CTextView::setCaretPosition(TextPosition position, bool extend)
{
    if (lineHeight <= 0)
        return;
    const ViewMetrics metrics = Metrics();
    position = lineWnd_.Clamped(position, metrics);
    if (extend) {
        if (selectionState == 0 || lineWnd_.anchorRow < 0)
            Anchor(lineWnd_.Clamped(lineWnd_.caret, metrics), metrics);
        ExtendTo(position);
    } else if (selectionState != 0) {
        selectionState = 0;
        lineWnd_.ClearSelection();
        viewport()->update();
    }
    PlaceCaret(position);
    ScrollToCaret();
}

// Starts a selection at from (the anchor stays there while the end moves).
void CTextView::Anchor(TextPosition from, const ViewMetrics& metrics)
{
    lineWnd_.ClearSelection();
    lineWnd_.anchorRow = from.row;
    lineWnd_.anchorOffset = from.offset;
    lineWnd_.Reanchor(metrics);
}

// Moves the end of the selection to position: a complete selection from the anchor.
void CTextView::ExtendTo(TextPosition position)
{
    lineWnd_.endRow = position.row;
    lineWnd_.endOffset = position.offset;
    selectionState = 2;
    selectionArmed = true;
    capturing_ = false;
    viewport()->update();
}

std::optional<std::pair<TextPosition, TextPosition>> CTextView::selectedRange() const
{
    if (selectionState == 0 || !lineWnd_.hasSelection())
        return std::nullopt;
    const TextPosition anchor{lineWnd_.anchorRow, lineWnd_.anchorOffset};
    const TextPosition end{lineWnd_.endRow, lineWnd_.endOffset};
    return std::minmax(anchor, end);
}

void CTextView::SelectAll()
{
    if (lineHeight <= 0)
        return;
    const ViewMetrics metrics = Metrics();
    int unused = -1;
    const TextPosition last = lineWnd_.CaretTarget({}, CaretMove::Last, 1, metrics, unused);
    Anchor({0, 0}, metrics);
    ExtendTo(last);
    goalX_ = -1;
    PlaceCaret(last);
}

void CTextView::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        // The next left click only arms the selection again.
        selectionArmed = false;
        capturing_ = false;
        emit rightPressed(point);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    emit leftPressed();
    if (selectionArmed && selectionState == 0)
        capturing_ = true;
    if (selectionState == 0)
        lineWnd_.SetAnchor(point, Metrics());
}

void CTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!capturing_)
        return;
    const QPoint point = event->position().toPoint();
    const int height = viewport()->height();
    // Dragging past the edge scrolls the rows in; the row position is shared with the
    // other panes of the splitter row.
    if (point.y() > height + kDragScrollMargin)
        rowBar_->setValue(rowBar_->value() + point.y() - height);
    else if (point.y() < 0)
        rowBar_->setValue(rowBar_->value() + point.y());

    // The free end stays on the rows in view.
    const QPoint inView(std::max(point.x(), 0), std::clamp(point.y(), 0, std::max(height - 1, 0)));
    lineWnd_.SelectTo(inView, Metrics());
    selectionState = 1;
    dragPoint = point;
    UpdateRows(lineWnd_.repaintFirst, lineWnd_.repaintLast);
}

void CTextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (swallowRelease_) {
        swallowRelease_ = false;
        return;
    }
    dragPoint = event->position().toPoint();
    goalX_ = -1;
    PlaceCaret(capturing_ && selectionState == 1 ? TextPosition{lineWnd_.endRow, lineWnd_.endOffset}
                                                 : lineWnd_.PositionAt(dragPoint, Metrics()));
    if (selectionArmed) {
        if (!capturing_) {
            // A click on a complete selection clears it.
            if (selectionState == 2) {
                selectionState = 0;
                lineWnd_.ClearSelection();
                viewport()->update();
            }
            return;
        }
        capturing_ = false;
        // A click without a drag leaves no selection behind.
        if (selectionState == 1)
            selectionState = lineWnd_.hasSelection() ? 2 : 0;
    }
    selectionArmed = true;
}

// A double click on a moved-line message goes to the line it names and selects it.
void CTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && displayMode() == DISPLAY_RESULT && lineHeight > 0) {
        const long long y = static_cast<long long>(scrollTop()) + event->position().toPoint().y();
        if (y >= 0) {
            const auto target = kl::MovedLinePartner(Shown()->Column(side_), RowAtY(y));
            if (target) {
                capturing_ = false;
                SelectRow(target->row);
                swallowRelease_ = true;
                return;
            }
        }
    }
    mousePressEvent(event);
}

void CTextView::SelectRow(int row)
{
    if (row < 0 || row >= rowCount || lineHeight <= 0)
        return;
    std::string scratch;
    const std::size_t end = kl::ContentLength(Metrics().shown->TextAt(side_, row, scratch));
    SelectRange(row, 0, end, (viewport()->height() - lineHeight) / 2);
}

void CTextView::SelectRange(int row, std::size_t begin, std::size_t end, int pixelsAbove)
{
    if (row < 0 || row >= rowCount || lineHeight <= 0)
        return;
    const ViewMetrics metrics = Metrics();
    std::string scratch;
    const std::string_view text = metrics.shown->TextAt(side_, row, scratch);
    end = std::min(end, kl::ContentLength(text));
    begin = std::min(begin, end);
    const long long top = RowTop(row) - pixelsAbove;
    rowBar_->setValue(static_cast<int>(std::clamp<long long>(top, 0, std::max(rowBar_->maximum(), 0))));
    measure_.SetEncoding(SideEncoding());
    const int textLeft = metrics.numberColumnWidth + kl::kTextGap;
    const int beginX = textLeft + kl::PrefixWidth(measure_, tabPixels_, text, begin);
    // A match beyond the right edge comes into view, a little way in from the left.
    if (horizontalScrollBar()->maximum() > 0) {
        const int endX = textLeft + kl::PrefixWidth(measure_, tabPixels_, text, end);
        const int left = horizontalScrollBar()->value();
        if (beginX < left + textLeft || endX > left + viewport()->width())
            horizontalScrollBar()->setValue(std::max(beginX - textLeft - viewport()->width() / 4, 0));
    }
    lineWnd_.ClearSelection();
    lineWnd_.anchorRow = row;
    lineWnd_.anchorOffset = begin;
    lineWnd_.anchorX = beginX;
    lineWnd_.endRow = row;
    lineWnd_.endOffset = end;
    selectionState = 2;
    selectionArmed = true;
    dragPoint = QPoint(beginX, static_cast<int>(std::clamp<long long>(RowTop(row) - scrollTop(), INT_MIN / 2, INT_MAX / 2)));
    goalX_ = -1;
    viewport()->update();
    PlaceCaret({row, end});
}

void CTextView::contextMenuEvent(QContextMenuEvent* event)
{
    // A right press has opened its window already.
    if (event->reason() == QContextMenuEvent::Mouse)
        return;
    const QPoint caret = CaretClientPoint();
    emit contextKeyPressed(caret.x() < 0 || caret.y() < 0 ? QPoint(0, 0) : caret);
}

void CTextView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    if (lineHeight > 0 && editing_.HandleKey(event))
        return;
    const CaretMove move = CaretMoveOf(event->key(), event->modifiers());
    if (move == CaretMove::None || lineHeight <= 0) {
        QWidget::keyPressEvent(event);  // left to the frame's shortcuts
        return;
    }
    int goalX = goalX_;
    const TextPosition target = lineWnd_.CaretTarget(lineWnd_.caret, move, PageRows(), Metrics(), goalX);
    // A page moves the rows with the caret, so the caret keeps its place in the view.
    if (move == CaretMove::PageUp || move == CaretMove::PageDown) {
        const long long page = static_cast<long long>(PageRows()) * lineHeight * (move == CaretMove::PageUp ? -1 : 1);
        rowBar_->setValue(static_cast<int>(std::clamp<long long>(rowBar_->value() + page, rowBar_->minimum(), rowBar_->maximum())));
    }
    setCaretPosition(target, event->modifiers() & Qt::ShiftModifier);
    goalX_ = goalX;
}

void CTextView::inputMethodEvent(QInputMethodEvent* event)
{
    editing_.InputMethodEvent(event);
}

QVariant CTextView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const QVariant answer = editing_.InputMethodQuery(query);
    return answer.isValid() ? answer : QAbstractScrollArea::inputMethodQuery(query);
}

bool CTextView::focusNextPrevChild(bool)
{
    return false;
}

void CTextView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (caretState == 0 && lineHeight > 0) {
        caretState = 1;
        caretOn_ = true;
        const int flash = QApplication::cursorFlashTime();
        if (flash > 0)
            caretTimer_.start(flash / 2, this);
        viewport()->update();
    }
}

void CTextView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    caretTimer_.stop();
    if (caretState != 0) {
        caretState = 0;
        viewport()->update(caretRect_);
    }
}

void CTextView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == relayoutTimer_.timerId()) {
        relayoutTimer_.stop();
        LayOutRows(false);
        return;
    }
    if (event->timerId() != caretTimer_.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    caretOn_ = !caretOn_;
    viewport()->update(caretRect_);
}

void CTextView::CancelSelection()
{
    if (!selectionArmed)
        return;
    capturing_ = false;
    selectionState = 0;
    lineWnd_.ClearSelection();
    viewport()->update();
}

void CTextView::CopySelection()
{
    if (selectionState == 0)
        return;
    const std::string selected = lineWnd_.CollectSelection(*Shown());
    if (selected.empty())
        return;
    QApplication::clipboard()->setText(QString::fromStdU16String(kl::DecodeToUtf16(SideEncoding(), selected)));
}

void CTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    // While a window or a column border is dragged over a long text, the rows keep their
    // lines until the width rests.
    if (WrapWidth() != state_->geometry().WrapWidth(side_) && Shown()->RowCount() > kRowsLaidOutAtOnce) {
        relayoutTimer_.start(kRelayoutDelayMs, this);
        FollowGeometry();
        return;
    }
    LayOutRows(false);
}

long long CTextView::RowTop(int row) const
{
    return state_->geometry().Top(row);
}

int CTextView::RowAtY(long long y) const
{
    return state_->geometry().RowAt(y);
}

int CTextView::WrapWidth() const
{
    if (doc_.docSettings.fWrap == 0 || lineHeight <= 0)
        return 0;
    // Room is left for the line-end mark and the caret after the last character.
    const int room = viewport()->width() - numberColumnWidth - kl::kTextGap -
                     kl::PixelsFromSetting(doc_.fontSettings.size, kl::kNewlineMarkSize) - kCaretWidth;
    return std::max(room, 4 * charWidth);
}

void CTextView::LayOutRows(bool rowsChanged)
{
    const std::shared_ptr<const kl::ShownRows> shown = Shown();
    const int wrapWidth = WrapWidth();
    kl::RowGeometry& geometry = state_->geometry();
    if (rowsChanged || wrapWidth != geometry.WrapWidth(side_) || shown != wrappedRows_) {
        measure_.SetFont(ViewFont());
        if (tabPixels_ == 0)
            MeasureTabCell();
        // After an edit or a comparison only the rows that changed are measured again.
        const bool sameMeasures = wrappedRows_ && wrapWidth == geometry.WrapWidth(side_) &&
                                  ViewFont() == wrappedFont_ && tabPixels_ == wrappedTab_;
        const std::optional<kl::LineChange> edit =
            wrappedRows_ ? doc_.EditBetween(side_, wrappedRows_->TextOf(side_), shown->TextOf(side_)) : std::nullopt;
        // Typing that moved no line changes the heights of its own rows at the most.
        const std::optional<std::vector<kl::RowLines>> typed =
            sameMeasures && geometry.SideCounts(side_).size() == static_cast<std::size_t>(shown->ColumnRowCount(side_))
                ? kl::RowLinesAfterTyping(measure_, tabPixels_, wrapWidth, *shown, side_, *wrappedRows_, edit)
                : std::nullopt;
        if (typed) {
            for (const kl::RowLines& row : *typed)
                geometry.SetRowLines(side_, row.row, row.lines);
            wrappedRows_ = shown;
            state_->announceGeometry();
            return;
        }
        std::vector<std::int32_t> counts =
            sameMeasures ? kl::WrappedLineCountsAfter(measure_, tabPixels_, wrapWidth, *shown, side_, *wrappedRows_,
                                                      geometry.SideCounts(side_), edit)
                         : kl::WrappedLineCounts(measure_, tabPixels_, wrapWidth, *shown, side_);
        // A keystroke mostly leaves every row as tall as it was.
        if (wrapWidth != geometry.WrapWidth(side_) || counts != geometry.SideCounts(side_))
            geometry.SetSide(side_, std::move(counts), wrapWidth);
        wrappedRows_ = shown;
        wrappedFont_ = ViewFont();
        wrappedTab_ = tabPixels_;
        state_->announceGeometry();  // both views take the new extent (FollowGeometry)
        return;
    }
    FollowGeometry();
}

void CTextView::FollowGeometry()
{
    const std::shared_ptr<const kl::ShownRows> shown = Shown();
    scrollWidth = state_->geometry().WrapWidth(side_) > 0 ? 0 : MeasureScrollWidth();
    totalHeight = static_cast<int>(std::min<long long>(INT_MAX, RowTop(ScrolledRows(*shown))));
    UpdateScrollRanges();
    viewport()->update();
}

void CTextView::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    if (std::abs(delta.x()) > std::abs(delta.y())) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // The wheel moves the row position of the whole splitter row, the desktop's number of
    // rows per notch (a high-resolution wheel adds up its part notches).
    if (lineHeight <= 0 || !rowBar_) {
        event->ignore();
        return;
    }
    wheelRemainder_ += delta.y();
    const int notches = wheelRemainder_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRemainder_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    event->accept();
    if (event->modifiers() & Qt::ControlModifier) {
        // Both views take the new size; the row at the top stays there.
        const int top = RowAtY(scrollTop());
        state_->setZoom(std::clamp(state_->zoom() + notches, kSmallestZoom, kLargestZoom));
        rowBar_->setValue(static_cast<int>(std::min<long long>(RowTop(top), INT_MAX)));
        return;
    }
    const long long step = static_cast<long long>(notches) * QApplication::wheelScrollLines() * lineHeight;
    rowBar_->setValue(static_cast<int>(std::clamp<long long>(rowBar_->value() - step, rowBar_->minimum(), rowBar_->maximum())));
}

CKestrilaneView::CKestrilaneView(CKestrilaneDoc& doc, QWidget* parent) : CTextView(doc, kl::DOC_A, parent) {}

CKestrilane2View::CKestrilane2View(CKestrilaneDoc& doc, QWidget* parent) : CTextView(doc, kl::DOC_B, parent) {}
