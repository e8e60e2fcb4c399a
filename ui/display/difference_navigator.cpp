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
    connect(&doc_, &CKestrilaneDoc::documentChanged, this, [this] {
        arrival_.reset();
        RefreshActions();
    });
}

std::shared_ptr<const kl::ShownRows> CDifferenceNavigator::Shown() const
{
    return panes_.leftView()->Shown();
}

// Where a walk starts. The position a move leaves lies just past its stop, so that a move on
// in the same direction finds the next one; a move back starts from the stop itself, or it
// would find the difference it stands on again.
int CDifferenceNavigator::Origin(bool forward) const
{
    const int position = state_.diffPosition();
    if (arrival_ && arrival_->forward != forward && position == arrival_->leftPosition)
        return arrival_->stopPosition;
    return position;
}

int CDifferenceNavigator::currentRow() const
{
    return arrival_ && state_.diffPosition() == arrival_->leftPosition ? arrival_->stopPosition : -1;
}

bool CDifferenceNavigator::CanNext() const
{
    return kl::FindNextDifference(*Shown(), Origin(true)).has_value();
}

bool CDifferenceNavigator::CanPrevious() const
{
    return kl::FindPreviousDifference(*Shown(), Origin(false)).has_value();
}

bool CDifferenceNavigator::Next()
{
    const auto stop = kl::FindNextDifference(*Shown(), Origin(true));
    if (!stop)
        return false;
    const int left = kl::DiffPositionAfterNext(*stop);
    GoTo(*stop, left);
    arrival_ = Arrival{true, stop->position, left};
    RefreshActions();
    return true;
}

bool CDifferenceNavigator::Previous()
{
    const auto stop = kl::FindPreviousDifference(*Shown(), Origin(false));
    if (!stop)
        return false;
    const int left = kl::DiffPositionAfterPrevious(*stop);
    GoTo(*stop, left);
    arrival_ = Arrival{false, stop->position, left};
    RefreshActions();
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
    const std::shared_ptr<const kl::ShownRows> shown = Shown();
    if (const int block = shown->BlockOf(stop.position); block >= 0)
        emit arrived(block, shown->BlockCount());
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
