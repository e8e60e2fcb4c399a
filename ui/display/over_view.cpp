#include "ui/display/over_view.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "ui/display/view_state.h"
#include "engine/document/document_ops.h"
#include "ui/document/kestrilane_doc.h"

namespace {

constexpr int kMinimumOutlineHeight = 4;  // pixels: a one-row difference of a long text

}  // namespace

COverView::COverView(CKestrilaneDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc)
{
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    bar_ = kl::OverviewBarIn(size());
}

void COverView::Attach(CSplitterSnd& panes, ViewState& state)
{
    if (panes_)
        disconnect(panes_->rowScrollBar(), nullptr, this, nullptr);
    panes_ = &panes;
    state_ = &state;
    QScrollBar* rows = panes.rowScrollBar();
    connect(rows, &QScrollBar::valueChanged, this, &COverView::FollowRowPosition);
    connect(rows, &QScrollBar::rangeChanged, this, &COverView::FollowRowPosition);
    connect(&state, &ViewState::currentDifferenceChanged, this, qOverload<>(&QWidget::update));
    OnUpdate();
}

void COverView::OnUpdate()
{
    bar_ = kl::OverviewBarIn(size());
    const int detailMode = state_ ? state_->detailMode() : kl::OVERVIEW_BLOCKS;
    const auto shown = doc_.Shown({DISPLAY_RESULT, state_ && state_->paired()});
    std::optional<StripsSource> source;
    if (detailMode == kl::OVERVIEW_ROWS)
        source = StripsSource{shown->Generation(), bar_.top, bar_.bottom, bar_.left, bar_.right,
                              doc_.fontSettings.height,
                              kl::LineCount(doc_.textDoc, kl::DOC_A) > 0 && kl::LineCount(doc_.textDoc, kl::DOC_B) > 0};
    if (!source || source != stripsSource_)
        strips_ = kl::BuildOverviewStrips(doc_.textDoc, detailMode, doc_.fontSettings.height, bar_, shown.get());
    stripsSource_ = source;
    thumbHeight = strips_.thumbHeight;
    if (strips_.rowCount > 0)
        rowCount_ = strips_.rowCount;
    update();
}

void COverView::SetThumbTop(int top)
{
    thumbTop = top;
    update();
}

void COverView::SetThumbPosition(long long p, long long r)
{
    if (p < 0 || p >= r)
        return;
    SetThumbTop(kl::OverviewThumbTop(p, r, bar_.height(), thumbHeight));
}

// The thumb stands where the shared row position stands in the views' whole height (the
// scroll range plus one page, the page being what a view shows).
void COverView::FollowRowPosition()
{
    const QScrollBar* rows = panes_->rowScrollBar();
    SetThumbPosition(rows->value() - rows->minimum(),
                     static_cast<long long>(rows->maximum()) - rows->minimum() + rows->pageStep());
}

void COverView::paintEvent(QPaintEvent*)
{
    const kl::OverviewColors colors = kl::OverviewColorsFrom(doc_.colors, doc_.docSettings);
    QPainter painter(this);
    painter.fillRect(rect(), colors.window);
    kl::PaintOverview(painter, bar_, strips_, thumbTop, colors);
    if (state_)
        PaintCurrentDifference(painter);
}

// A frame across the bar at the current difference's share of the result's rows.
void COverView::PaintCurrentDifference(QPainter& painter)
{
    const CurrentDifference& difference = state_->currentDifference();
    const int rows = doc_.Shown({DISPLAY_RESULT, state_->paired()})->RowCount();
    if (difference.barFirstRow < 0 || rows <= 0 || bar_.height() <= 0)
        return;
    const auto yOf = [this, rows](int row) {
        return bar_.top + static_cast<int>(static_cast<long long>(std::min(row, rows)) * bar_.height() / rows);
    };
    const int top = yOf(difference.barFirstRow);
    const int bottom = std::max(yOf(difference.barLastRow + 1), top + kMinimumOutlineHeight);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(bar_.left + 1, top, bar_.width() - 2, bottom - top));
}

void COverView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    OnUpdate();
}

void COverView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        ScrollToClick(event->position().toPoint().y());
    QWidget::mouseReleaseEvent(event);
}

// A click at the fraction g of the bar's height shows the same fraction of the result: the
// place comes to about the middle of a view as tall as the bar, and the difference
// navigation continues from there.
void COverView::ScrollToClick(int y)
{
    const int d = bar_.height();
    if (!panes_ || y < 0 || y >= d)
        return;
    const double g = static_cast<double>(y) / d;

    CTextView* left = panes_->leftView();
    CTextView* right = panes_->rightView();
    double target = g * right->totalHeight;
    if (target > d)
        target -= d / 2;
    panes_->rowScrollBar()->setValue(static_cast<int>(target));

    thumbTop = static_cast<int>(g * (d - thumbHeight / 2));
    if (state_) {
        state_->setDiffPosition(static_cast<int>(g * left->Shown()->ColumnRowCount(kl::DOC_A)));
    }
    OnUpdate();
    left->viewport()->update();
    right->viewport()->update();
    emit clicked();
}

void COverView::contextMenuEvent(QContextMenuEvent* event)
{
    // No menu of its own, and none of the windows around it either.
    event->accept();
}
