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


}  // namespace

CTextView::CTextView(CKestrilaneDoc& doc, int side, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), side_(side), lineWnd_(side)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always shown, so that both views keep the same client height under the shared bar.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    markBitmap_ = kl::BoxedSideMark(side);
    connect(&doc_.marksLoader(), &CMarksLoader::marksReady, this, [this](int row) { UpdateRows(row, row); });
    scratch_.reserve(256);
    SetRowScrollBar(nullptr);
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

int CTextView::maxScrollTop() const
{
    return std::max(0, totalHeight - viewport()->height());
}

const QFont& CTextView::ViewFont() const
{
    return side_ == kl::DOC_A ? doc_.leftFont : doc_.rightViewFont();
}

void CTextView::SetViewState(ViewState* state)
{
    state_ = state ? state : &ownState_;
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
    const int height = std::max(QFontMetrics(doc_.leftFont).height(), QFontMetrics(doc_.rightViewFont()).height());
    lineHeight = std::max(height, 1);
    charWidth = std::max(measure_.metrics().horizontalAdvance(QLatin1Char('A')), 1);
}

// The tab cell is the width of TABSIZE spaces in the left view's font, in both views: tab
// stops stand in the same columns on both sides even when the right view has a font of its
// own. It is taken at each update, with the fonts, and before that when first needed.
void CTextView::MeasureTabCell()
{
    const int spaces = std::clamp(doc_.docSettings.tabSize, 1, kLargestTabSize);
    tabPixels_ = QFontMetrics(doc_.leftFont).horizontalAdvance(QString(spaces, QLatin1Char(' ')));
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
    return metrics;
}

void CTextView::OnUpdate()
{
    const int oldTopRow = lineHeight > 0 ? scrollTop() / lineHeight : 0;
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
    scrollWidth = MeasureScrollWidth();
    totalHeight = static_cast<int>(std::min<long long>(INT_MAX, static_cast<long long>(lineHeight) * rowCount));
    horizontalScrollBar()->setSingleStep(LineStep());
    UpdateScrollRanges();

    if (selectionState == 2)
        lineWnd_.Reanchor(Metrics());
    if (old->options() != shown->options() && side_ == kl::DOC_A) {
        const int top = kl::TopRowAfterSwitch(*old, *shown, side_, oldTopRow);
        rowBar_->setValue(top * lineHeight);
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
    horizontal->setRange(0, std::max(0, scrollWidth - client.width()));
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

    if (displayMode() == DISPLAY_RESULT) {
        const std::shared_ptr<const kl::ShownRows>& shown = metrics.shown;
        CMarksLoader& marks = doc_.marksLoader();
        context.fullWidthRows = fullWidthRows;
        numberColumnWidth =
            kl::PaintResult(context, *shown, side_, [&](int row) { return marks.Find(*shown, row); });
        if (shown->options().paired && lineHeight > 0)
            marks.Request(shown, context.area.top() / lineHeight, context.area.bottom() / lineHeight);
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
    painter.drawPixmap(QRectF(kCornerMarkPosition, kCornerMarkSource.size()), markBitmap_, source);

    painter.resetTransform();
    if (caretState != 0) {
        caretRect_ = QRect(lineWnd_.CaretPoint(dragPoint, Metrics()), QSize(kCaretWidth, lineHeight));
        if (caretOn_)
            painter.fillRect(caretRect_, context.textColor);
        caretState = 2;
    }
}

void CTextView::UpdateRows(int first, int last)
{
    if (first < 0 || last < first || lineHeight <= 0) {
        viewport()->update();
        return;
    }
    const long long top = static_cast<long long>(first) * lineHeight - scrollTop();
    const long long bottom = static_cast<long long>(last + 1) * lineHeight - scrollTop();
    const int height = viewport()->height();
    const int clippedTop = static_cast<int>(std::clamp<long long>(top, 0, height));
    const int clippedBottom = static_cast<int>(std::clamp<long long>(bottom, 0, height));
    if (clippedBottom > clippedTop)
        viewport()->update(QRect(0, clippedTop, viewport()->width(), clippedBottom - clippedTop));
    if (caretState != 0)
        viewport()->update(caretRect_);
}

void CTextView::MoveCaret(QPoint point)
{
    dragPoint = point;
    caretOn_ = true;
    if (caretState != 0) {
        viewport()->update(caretRect_);
        viewport()->update(QRect(lineWnd_.CaretPoint(dragPoint, Metrics()), QSize(kCaretWidth, lineHeight)));
    }
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
    MoveCaret(event->position().toPoint());
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
        if (selectionState == 1)
            selectionState = 2;
    }
    selectionArmed = true;
}

// A double click on a moved-line message goes to the line it names and selects it.
void CTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && displayMode() == DISPLAY_RESULT && lineHeight > 0) {
        const long long y = static_cast<long long>(scrollTop()) + event->position().toPoint().y();
        if (y >= 0 && y / lineHeight < INT_MAX) {
            const auto target = kl::MovedLinePartner(Shown()->Column(side_), static_cast<int>(y / lineHeight));
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
    const int top = row * lineHeight - pixelsAbove;
    rowBar_->setValue(std::clamp(top, 0, std::max(rowBar_->maximum(), 0)));
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
    dragPoint = QPoint(beginX, row * lineHeight - scrollTop());
    viewport()->update();
}

void CTextView::contextMenuEvent(QContextMenuEvent* event)
{
    // A right press has opened its window already.
    if (event->reason() == QContextMenuEvent::Mouse)
        return;
    const QPoint caret = caretState != 0 ? caretRect_.topLeft() : dragPoint;
    emit contextKeyPressed(caret.x() < 0 || caret.y() < 0 ? QPoint(0, 0) : caret);
}

void CTextView::keyPressEvent(QKeyEvent* event)
{
    // Right places the anchor of a selection again, as the rows are laid out now.
    if (event->key() == Qt::Key_Right && selectionState == 2)
        lineWnd_.Reanchor(Metrics());
    const KeyAction action = lineWnd_.HandleKey(event->key(), dragPoint, Metrics());
    if (!action.handled) {
        QWidget::keyPressEvent(event);  // left to the frame's shortcuts
        return;
    }
    if (action.verticalDelta != 0)
        rowBar_->setValue(rowBar_->value() + action.verticalDelta);
    if (action.horizontalDelta != 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + action.horizontalDelta);
    if (action.caret != dragPoint)
        MoveCaret(action.caret);
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
    UpdateScrollRanges();
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
    const long long step = static_cast<long long>(notches) * QApplication::wheelScrollLines() * lineHeight;
    rowBar_->setValue(static_cast<int>(std::clamp<long long>(rowBar_->value() - step, rowBar_->minimum(), rowBar_->maximum())));
    event->accept();
}

CKestrilaneView::CKestrilaneView(CKestrilaneDoc& doc, QWidget* parent) : CTextView(doc, kl::DOC_A, parent) {}

CKestrilane2View::CKestrilane2View(CKestrilaneDoc& doc, QWidget* parent) : CTextView(doc, kl::DOC_B, parent) {}
