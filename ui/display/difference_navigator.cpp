#include "ui/display/difference_navigator.h"

#include <QAction>
#include <QScrollBar>
#include <algorithm>
#include <climits>

#include "ui/display/over_view.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "ui/display/view_state.h"
#include "ui/document/kestrilane_doc.h"

namespace {

// A block is shown this many rows below the views' top, so the rows before it stay in sight.
constexpr long long kLeadRows = 3;

// The rows the current difference covers: in the result the block of shown rows the stop
// lies in, shown as loaded the block's lines in its side's view.
CurrentDifference DifferenceRows(const kl::ShownRows& shown, const kl::DifferenceStop& stop)
{
    if (shown.options().mode != kl::DISPLAY_RESULT) {
        for (const kl::DiffBlock& block : shown.result()->Blocks(stop.side)) {
            if (block.firstRow == stop.firstRow && block.kind == stop.kind) {
                const int lines = std::max(block.lineCount, 1);
                return {stop.side, block.firstLineIndex, block.firstLineIndex + lines - 1, block.firstRow,
                        block.firstRow + lines - 1};
            }
        }
        return {stop.side, stop.position, stop.position, stop.firstRow, stop.firstRow};
    }
    const int block = shown.BlockOf(stop.position);
    if (block < 0)
        return {-1, stop.position, stop.position, stop.position, stop.position};
    int last = stop.position;
    while (shown.BlockOf(last + 1) == block)
        ++last;
    const int first = shown.BlockFirstRow(block);
    return {-1, first, last, first, last};
}

}  // namespace

CDifferenceNavigator::CDifferenceNavigator(CKestrilaneDoc& doc, CSplitterSnd& panes, ViewState& state,
                                           QObject* parent)
    : QObject(parent), doc_(doc), panes_(panes), state_(state)
{
    connect(panes_.overView(), &COverView::clicked, this, [this] {
        wrapArmed_.reset();
        RefreshActions();
    });
    connect(&doc_, &CKestrilaneDoc::documentChanged, this, [this] {
        arrival_.reset();
        wrapArmed_.reset();
        state_.setCurrentDifference({});
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

bool CDifferenceNavigator::CanNext() const
{
    return kl::FindNextDifference(*Shown(), INT_MIN).has_value();
}

bool CDifferenceNavigator::CanPrevious() const
{
    return CanNext();
}

bool CDifferenceNavigator::Next()
{
    return Step(true);
}

bool CDifferenceNavigator::Previous()
{
    return Step(false);
}

bool CDifferenceNavigator::Step(bool forward)
{
    const std::shared_ptr<const kl::ShownRows> shown = Shown();
    const auto find = [&shown, forward](int origin) {
        return forward ? kl::FindNextDifference(*shown, origin) : kl::FindPreviousDifference(*shown, origin);
    };
    std::optional<kl::DifferenceStop> stop = find(Origin(forward));
    if (!stop) {
        if (wrapArmed_ != forward) {
            if (find(forward ? INT_MIN : INT_MAX)) {
                wrapArmed_ = forward;
                emit endReached(forward);
            }
            return false;
        }
        stop = find(forward ? INT_MIN : INT_MAX);  // the second press goes round
        if (!stop)
            return false;
    }
    wrapArmed_.reset();
    const int left = forward ? kl::DiffPositionAfterNext(*stop) : kl::DiffPositionAfterPrevious(*stop);
    GoTo(*stop, left);
    arrival_ = Arrival{forward, stop->position, left};
    RefreshActions();
    return true;
}

// Scrolls first: the shared row position moves the thumb as well, and the thumb is then put
// on the block itself.
void CDifferenceNavigator::GoTo(const kl::DifferenceStop& stop, int newDiffPosition)
{
    CTextView* sideView = stop.kind == kl::BLOCK_ONLY_A ? static_cast<CTextView*>(panes_.leftView())
                                                        : static_cast<CTextView*>(panes_.rightView());
    const long long y = sideView->RowTop(stop.position) - kLeadRows * sideView->lineHeight;
    QScrollBar* rows = panes_.rowScrollBar();
    rows->setValue(static_cast<int>(std::clamp<long long>(y, rows->minimum(), rows->maximum())));

    COverView* overview = panes_.overView();
    overview->SetThumbPosition(stop.position, overview->RowCount());
    state_.setDiffPosition(newDiffPosition);
    const std::shared_ptr<const kl::ShownRows> shown = Shown();
    state_.setCurrentDifference(DifferenceRows(*shown, stop));
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
