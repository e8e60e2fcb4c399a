#include "display/text_view.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "display/top_row.h"
#include "document/document_ops.h"
#include "document/kestrilane_doc.h"
#include "platform/cp932.h"

namespace {

// Row pitches and cell widths beyond this come only from a damaged settings file.
constexpr long long kLargestCell = 1000;
// The longest line is measured up to this many bytes and the rest estimated from them.
constexpr std::size_t kMeasuredBytes = 4096;

int CellFromSetting(int value, int fallback)
{
    const long long size = std::llabs(static_cast<long long>(value));
    return size > 0 && size <= kLargestCell ? static_cast<int>(size) : fallback;
}

}  // namespace

CTextView::CTextView(CKestrilaneDoc& doc, int side, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), side_(side)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always shown, so that both views keep the same client height under the shared bar.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
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

int CTextView::RowCountIn(int side, int mode) const
{
    const kl::TextDocument& text = doc_.textDoc;
    if (mode == DISPLAY_RESULT)
        return static_cast<int>((side == kl::DOC_A ? text.rowsA : text.rowsB).size());
    return kl::LineCount(text, side);
}

void CTextView::OnUpdate()
{
    const int oldTopRow = lineHeight > 0 ? scrollTop() / lineHeight : 0;
    const int oldMode = laidOutMode_;
    laidOutMode_ = displayMode;

    rowCount = std::max(RowCountIn(kl::DOC_A, displayMode), RowCountIn(kl::DOC_B, displayMode));
    setFont(side_ == kl::DOC_A ? doc_.leftFont : doc_.rightViewFont());
    const kl::FontSettings& fonts = doc_.fontSettings;
    if (lineHeight == 0) {
        const QFontMetrics metrics(font());
        lineHeight = CellFromSetting(fonts.height, metrics.height());
        charWidth = CellFromSetting(fonts.size, lineHeight);
    }
    longestLine = kl::LongestLine(doc_.textDoc, side_);
    scrollWidth = MeasureScrollWidth();
    totalHeight = static_cast<int>(std::min<long long>(INT_MAX, static_cast<long long>(lineHeight) * rowCount));
    horizontalScrollBar()->setSingleStep(6 * CellFromSetting(fonts.size, charWidth));
    UpdateScrollRanges();

    if (displayMode != oldMode && side_ == kl::DOC_A) {
        const int top = kl::TopRowAfterModeSwitch(doc_.textDoc, side_, oldMode, displayMode, oldTopRow);
        rowBar_->setValue(top * lineHeight);
    }
    viewport()->update();
}

int CTextView::MeasureScrollWidth() const
{
    const kl::LineTable* table = doc_.textDoc.lineTables[static_cast<std::size_t>(side_)].get();
    if (!table || longestLine < 0 || longestLine >= table->count())
        return 0;
    std::string_view text = table->text(longestLine);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);

    const std::size_t measured = kl::Cp932PrefixLength(text, kMeasuredBytes);
    QString shown = QString::fromStdU16String(kl::Cp932ToUtf16(text.substr(0, measured)));
    const int tabSize = std::clamp(doc_.docSettings.tabSize, 1, 8);
    shown.replace(QLatin1Char('\t'), QString(tabSize, QLatin1Char(' ')));
    const QFontMetrics metrics(font());
    double width = metrics.horizontalAdvance(shown);
    if (measured > 0 && measured < text.size())
        width = width * static_cast<double>(text.size()) / static_cast<double>(measured);
    const double total = metrics.horizontalAdvance(QStringLiteral("000000")) + 3 + width + charWidth;
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

void CTextView::CancelSelection()
{
    if (!selectionArmed)
        return;
    if (QWidget::mouseGrabber() == viewport())
        viewport()->releaseMouse();
    selectionState = 0;
}

void CTextView::CopySelection()
{
    // The selection is made by the mouse handling of the views, which they do not have yet.
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
    // The wheel moves the row position of the whole splitter row.
    QCoreApplication::sendEvent(rowBar_, event);
}

CKestrilaneView::CKestrilaneView(CKestrilaneDoc& doc, QWidget* parent) : CTextView(doc, kl::DOC_A, parent) {}

CKestrilane2View::CKestrilane2View(CKestrilaneDoc& doc, QWidget* parent) : CTextView(doc, kl::DOC_B, parent) {}
