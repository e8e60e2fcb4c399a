// Editing from the main window: undo and redo of the side with the focus, cut and paste,
// copying differences from one side to the other, and the comparison that runs again a
// moment after the last edit.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <utility>

#include "engine/edit/copy_across.h"
#include "engine/edit/text_edit.h"
#include "engine/edit/typing.h"
#include "ui/app/command_ids.h"
#include "engine/document/document_ops.h"
#include "ui/app/main_frame.h"
#include "ui/display/difference_navigator.h"
#include "ui/display/text_view.h"
#include "ui/display/view_state.h"
#include "ui/document/kestrilane_doc.h"


int CMainFrame::EditSide() const
{
    const QWidget* focus = QApplication::focusWidget();
    if (rightView() && focus && (focus == rightView() || rightView()->isAncestorOf(focus)))
        return kl::DOC_B;
    if (leftView() && focus && (focus == leftView() || leftView()->isAncestorOf(focus)))
        return kl::DOC_A;
    return lastEditedSide_;
}

void CMainFrame::OnUndo(bool redo)
{
    const int side = EditSide();
    const std::optional<std::int64_t> caret = redo ? doc_.Redo(side) : doc_.Undo(side);
    // The caret goes to what changed, so that the user sees it.
    CTextView* view = side == kl::DOC_B ? static_cast<CTextView*>(rightView()) : leftView();
    if (caret && view)
        view->editing().PutCaretAt(*caret);
}

void CMainFrame::OnCut()
{
    CTextView* view = EditSide() == kl::DOC_B ? static_cast<CTextView*>(rightView()) : leftView();
    view->editing().Cut();
}

void CMainFrame::OnPaste()
{
    CTextView* view = EditSide() == kl::DOC_B ? static_cast<CTextView*>(rightView()) : leftView();
    view->editing().Paste();
}

void CMainFrame::OnCopyAcross(int from, bool all)
{
    // Rows that only follow an edit may pair lines that no longer agree: the copy waits for
    // the comparison of the texts as they are now, started at once.
    const kl::TextDocument& textDoc = doc_.textDoc;
    if (textDoc.result->outcome != kl::RunOutcome::Completed || textDoc.result->texts != textDoc.texts) {
        pendingCopy_ = {from, all};
        if (recompareTimer_)
            recompareTimer_->stop();
        if (!compareActive()) {
            StartCompare();
            runFollowsEdits_ = compareActive();
        }
        return;
    }
    // Shown as loaded the rows are lines, not differences: the result's rows are used.
    const bool result = viewState_->displayMode() == DISPLAY_RESULT;
    const std::shared_ptr<const kl::ShownRows> shown = doc_.Shown({DISPLAY_RESULT, viewState_->paired()});
    std::optional<kl::PreparedEdit> prepared;
    if (all) {
        prepared = kl::CopyAllEdit(*shown, from);
    } else {
        // The selected rows of the view with the focus, else the current difference, else
        // the difference at the caret, else the first one in sight.
        CTextView* view = EditSide() == kl::DOC_B ? static_cast<CTextView*>(rightView()) : leftView();
        const auto range = result ? view->selectedRange() : std::nullopt;
        if (range && range->first.row != range->second.row) {
            prepared = kl::CopyRowsEdit(*shown, from, range->first.row, range->second.row);
        } else {
            int row = -1;
            if (result) {
                row = range ? range->first.row : viewState_->currentDifference().firstRow;
                if (row < 0 || shown->BlockOf(row) < 0)
                    row = view->caretPosition().row;
            }
            if (row < 0 || row >= shown->RowCount() || shown->BlockOf(row) < 0) {
                row = std::max(view->RowAtY(view->scrollTop()), 0);
                while (row < shown->RowCount() && shown->BlockOf(row) < 0)
                    ++row;
            }
            if (row < shown->RowCount())
                prepared = kl::CopyBlockEdit(*shown, from, shown->BlockOf(row));
        }
    }
    if (!prepared)
        return;
    const int to = 1 - from;
    const std::shared_ptr<const kl::Text> before = prepared->base ? shown->SharedText(to) : nullptr;
    leftView()->CancelSelection();
    rightView()->CancelSelection();
    doc_.EditText(to, {{std::move(prepared->edit)}, {}, before});
}

// The comparison follows the edits: a run in progress is dropped at once, and a new one
// starts when the edits have paused.
void CMainFrame::RunPendingCopy()
{
    const std::optional<std::pair<int, bool>> pending = std::exchange(pendingCopy_, std::nullopt);
    const kl::TextDocument& textDoc = doc_.textDoc;
    if (pending && textDoc.result->outcome == kl::RunOutcome::Completed && textDoc.result->texts == textDoc.texts)
        OnCopyAcross(pending->first, pending->second);
}

void CMainFrame::OnTextEdited(int side)
{
    lastEditedSide_ = side;
    pendingCopy_.reset();
    CancelCompare();
    const std::shared_ptr<const kl::CompareResult>& result = doc_.result();
    if (kl::LoadedTextCount(doc_.textDoc) == 2 && result->texts[0] && result->texts[1]) {
        if (!recompareTimer_) {
            recompareTimer_ = new QTimer(this);
            recompareTimer_->setSingleShot(true);
            connect(recompareTimer_, &QTimer::timeout, this, [this] {
                if (!compareActive() && !mergeQuerying()) {
                    StartCompare();
                    runFollowsEdits_ = compareActive();
                }
            });
        }
        recompareTimer_->start(recompareDelay);
    }
    UpdateCommandStates();
}

void CMainFrame::UpdateEditCommandStates()
{
    actions_[cmd::ID_EDIT_UNDO]->setEnabled(doc_.CanUndo(kl::DOC_A) || doc_.CanUndo(kl::DOC_B));
    actions_[cmd::ID_EDIT_REDO]->setEnabled(doc_.CanRedo(kl::DOC_A) || doc_.CanRedo(kl::DOC_B));
    const bool both = kl::LoadedTextCount(doc_.textDoc) == 2 && doc_.result()->RowCount() > 0;
    for (const int id : {cmd::ID_COPY_TO_B, cmd::ID_COPY_TO_A, cmd::ID_COPY_ALL_TO_B, cmd::ID_COPY_ALL_TO_A})
        actions_[id]->setEnabled(both);
}
