#include "ui/display/splitter_snd.h"

#include <QGridLayout>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <algorithm>

#include "ui/display/over_view.h"
#include "ui/display/text_view.h"

CSplitterSnd::CSplitterSnd(CKestrilaneDoc& doc, const std::string& iniPath, QWidget* parent)
    : QWidget(parent), iniPath_(iniPath)
{
    setFocusPolicy(Qt::NoFocus);  // reached only by setFocus(), which passes the focus on

    columns_ = new QSplitter(Qt::Horizontal, this);
    overView_ = new COverView(doc, columns_);
    leftView_ = new CKestrilaneView(doc, columns_);
    rightView_ = new CKestrilane2View(doc, columns_);
    columns_->addWidget(overView_);
    columns_->addWidget(leftView_);
    columns_->addWidget(rightView_);
    // A wider window widens the text views; the overview bar keeps its width.
    columns_->setStretchFactor(0, 0);
    columns_->setStretchFactor(1, 1);
    columns_->setStretchFactor(2, 1);
    storedWidths_ = kl::ReadSplitterWidths(iniPath_);
    constexpr int kWidest = 1 << 16;  // beyond any screen; keeps the sums below in range
    for (int* width : {&storedWidths_.overview, &storedWidths_.left, &storedWidths_.right})
        *width = std::clamp(*width, 0, kWidest);

    // Made after the views, so it outlives them: they hold it as their row position.
    rowBar_ = new QScrollBar(Qt::Vertical, this);
    auto* corner = new QWidget(this);  // where the horizontal bars' row meets the vertical bar
    corner->setFixedHeight(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, rightView_));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(columns_, 0, 0, 2, 1);
    layout->addWidget(rowBar_, 0, 1);
    layout->addWidget(corner, 1, 1);

    for (CTextView* view : {static_cast<CTextView*>(leftView_), static_cast<CTextView*>(rightView_)}) {
        view->SetRowScrollBar(rowBar_);
        connect(view, &CTextView::extentChanged, this, &CSplitterSnd::UpdateRowRange);
    }
    // The two texts scroll sideways together, as far as the wider one needs.
    QScrollBar* leftSideways = leftView_->horizontalScrollBar();
    QScrollBar* rightSideways = rightView_->horizontalScrollBar();
    connect(leftSideways, &QScrollBar::valueChanged, rightSideways, &QScrollBar::setValue);
    connect(rightSideways, &QScrollBar::valueChanged, leftSideways, &QScrollBar::setValue);
    UpdateRowRange();
}

CSplitterSnd::~CSplitterSnd()
{
    kl::SaveSplitterWidths(iniPath_, columnWidths());
}

kl::SplitterWidths CSplitterSnd::columnWidths() const
{
    if (!widthsApplied_)
        return storedWidths_;
    const QList<int> sizes = columns_->sizes();
    return {sizes.value(0), sizes.value(1), sizes.value(2)};
}

void CSplitterSnd::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    ApplyStoredWidths();
}

void CSplitterSnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ApplyStoredWidths();
}

// A splitter spreads the widths it is given over the width it has, so they are set once it
// has its real width: the overview bar gets its stored width, and the two text views share
// what the window has beyond theirs. In a narrower window the text views give up the space,
// in proportion to their stored widths.
void CSplitterSnd::ApplyStoredWidths()
{
    if (widthsApplied_ || !isVisible() || columns_->width() <= 0)
        return;
    widthsApplied_ = true;
    int available = columns_->width();
    for (int i = 1; i < columns_->count(); ++i)
        available -= columns_->handle(i)->width();
    available = std::max(available, 0);

    const kl::SplitterWidths& w = storedWidths_;
    const int overview = std::min(w.overview, available);
    const int views = available - overview;
    const int extra = views - w.left - w.right;
    int left = 0;
    if (extra >= 0)
        left = w.left + extra / 2;
    else if (w.left + w.right > 0)
        left = static_cast<int>(static_cast<long long>(views) * w.left / (w.left + w.right));
    columns_->setSizes({overview, left, views - left});
}

void CSplitterSnd::UpdateRowRange()
{
    rowBar_->setRange(0, std::max(leftView_->maxScrollTop(), rightView_->maxScrollTop()));
    rowBar_->setPageStep(std::max(1, leftView_->viewport()->height()));
    rowBar_->setSingleStep(std::max(1, leftView_->lineHeight));
    const int sideways = std::max(leftView_->maxScrollLeft(), rightView_->maxScrollLeft());
    leftView_->horizontalScrollBar()->setMaximum(sideways);
    rightView_->horizontalScrollBar()->setMaximum(sideways);
}

QWidget* CSplitterSnd::FileTreePane() const
{
    auto* outer = qobject_cast<QSplitter*>(parentWidget());
    if (!outer || outer->count() == 0 || outer->widget(0) == this)
        return nullptr;
    return outer->widget(0);
}

void CSplitterSnd::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    QWidget* const panes[] = {overView_, leftView_, rightView_};
    if (focusCounter_ < 3) {
        panes[focusCounter_++]->setFocus(Qt::OtherFocusReason);
        return;
    }
    focusCounter_ = 0;
    if (QWidget* tree = FileTreePane())
        tree->setFocus(Qt::OtherFocusReason);
}
