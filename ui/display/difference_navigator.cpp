#include "ui/display/difference_navigator.h"

#include <QAction>
#include <QScrollBar>
#include <algorithm>

#include "ui/display/over_view.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "ui/display/view_state.h"
#include "ui/document/kestrilane_doc.h"

namespace {

// A block is shown this far below the views' top, so the rows before it stay in sight.
constexpr long long kLeadPixels = 100;

}  // namespace

CDifferenceNavigator::CDifferenceNavigator(CKestrilaneDoc& doc, CSplitterSnd& panes, ViewState& state,
                                           QObject* parent)
    : QObject(parent), doc_(doc), panes_(panes), state_(state)
{
    connect(panes_.overView(), &COverView::clicked, this, &CDifferenceNavigator::RefreshActions);
    connect(&doc_, &CKestrilaneDoc::documentChanged, this, &CDifferenceNavigator::RefreshActions);
}

std::shared_ptr<const kl::ShownRows> CDifferenceNavigator::Shown() const
{
    return panes_.leftView()->Shown();
}

bool CDifferenceNavigator::CanNext() const
{
    return kl::FindNextDifference(*Shown(), state_.diffPosition()).has_value();
}

bool CDifferenceNavigator::CanPrevious() const
{
    return kl::FindPreviousDifference(*Shown(), state_.diffPosition()).has_value();
}

bool CDifferenceNavigator::Next()
{
    const auto stop = kl::FindNextDifference(*Shown(), state_.diffPosition());
    if (!stop)
        return false;
    GoTo(*stop, kl::DiffPositionAfterNext(*stop));
    return true;
}

bool CDifferenceNavigator::Previous()
{
    const auto stop = kl::FindPreviousDifference(*Shown(), state_.diffPosition());
    if (!stop)
        return false;
    GoTo(*stop, kl::DiffPositionAfterPrevious(*stop));
    return true;
}

// Scrolls first: the shared row position moves the thumb as well, and the thumb is then put
// on the block itself.
void CDifferenceNavigator::GoTo(const kl::DifferenceStop& stop, int newDiffPosition)
{
    CTextView* sideView = stop.kind == kl::BLOCK_ONLY_A ? static_cast<CTextView*>(panes_.leftView())
                                                        : static_cast<CTextView*>(panes_.rightView());
    long long y = static_cast<long long>(stop.position) * sideView->lineHeight;
    if (y > kLeadPixels)
        y -= kLeadPixels;
    QScrollBar* rows = panes_.rowScrollBar();
    rows->setValue(static_cast<int>(std::clamp<long long>(y, rows->minimum(), rows->maximum())));

    COverView* overview = panes_.overView();
    overview->SetThumbPosition(stop.position, overview->RowCount());
    state_.setDiffPosition(newDiffPosition);
    panes_.leftView()->viewport()->update();
    panes_.rightView()->viewport()->update();
    RefreshActions();
}

void CDifferenceNavigator::TrackActions(QAction* next, QAction* previous)
{
    next_ = next;
    previous_ = previous;
    RefreshActions();
}

void CDifferenceNavigator::RefreshActions()
{
    if (next_)
        next_->setEnabled(CanNext());
    if (previous_)
        previous_->setEnabled(CanPrevious());
}
