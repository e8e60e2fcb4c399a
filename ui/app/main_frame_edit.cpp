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

namespace {

// Bytes [begin, end) of side's text that the view's selection covers; nothing without a
// selection or when it holds only filler rows.
std::optional<std::pair<std::int64_t, std::int64_t>> SelectedBytes(CTextView& view)
{
    CLineWnd& lines = view.lineWnd();
    if (!lines.hasSelection())
        return std::nullopt;
    const std::shared_ptr<const kl::ShownRows> shown = view.Shown();
    const kl::Text* text = shown->TextOf(view.side());
    if (!text)
        return std::nullopt;
    int firstRow = lines.anchorRow;
    std::size_t firstOffset = lines.anchorOffset;
    int lastRow = lines.endRow;
    std::size_t lastOffset = lines.endOffset;
    if (std::pair(lastRow, lastOffset) < std::pair(firstRow, firstOffset)) {
        std::swap(firstRow, lastRow);
        std::swap(firstOffset, lastOffset);
    }
    // An end on a filler row stands at the start of the next line below it.
    const auto offsetOf = [&](int row, std::size_t offset) -> std::int64_t {
        for (; row < shown->ColumnRowCount(view.side()); ++row, offset = 0) {
            const int line = shown->LineAt(view.side(), row);
            if (line != kl::kNoLine)
                return kl::LineStart(*text, line) + static_cast<std::int64_t>(std::min<std::size_t>(offset, text->text(line).size()));
        }
        return static_cast<std::int64_t>(text->size);
    };
    const std::int64_t begin = offsetOf(firstRow, firstOffset);
    const std::int64_t end = offsetOf(lastRow, lastOffset);
    if (begin >= end)
        return std::nullopt;
    return std::pair(begin, end);
}

}  // namespace

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
    if (redo)
        doc_.Redo(side);
    else
        doc_.Undo(side);
}

void CMainFrame::OnCut()
{
    CTextView* view = EditSide() == kl::DOC_B ? static_cast<CTextView*>(rightView()) : leftView();
    const auto range = SelectedBytes(*view);
    if (!range)
        return;
    view->CopySelection();
    view->CancelSelection();
    doc_.EditText(view->side(), {{{view->side(), range->first, range->second, {}}}, {}, nullptr});
}

void CMainFrame::OnPaste()
{
    CTextView* view = EditSide() == kl::DOC_B ? static_cast<CTextView*>(rightView()) : leftView();
    const std::shared_ptr<const kl::Text> text = doc_.textDoc.texts[static_cast<std::size_t>(view->side())];
    const QString clip = QApplication::clipboard()->text();
    if (!text || clip.isEmpty())
        return;
    const auto range = SelectedBytes(*view);
    if (!range)
        return;
    const std::string utf8 = kl::WithNewlines(clip.toStdString(), kl::DominantNewline(*text));
    kl::PreparedEdit prepared = kl::TypingEdit(*text, view->side(), range->first, range->second, utf8);
    view->CancelSelection();
    doc_.EditText(view->side(), {{std::move(prepared.edit)}, {}, prepared.base ? text : nullptr});
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
        // The selected rows of the view with the focus, else the difference reached last,
        // else the first one in sight.
        CTextView* view = EditSide() == kl::DOC_B ? static_cast<CTextView*>(rightView()) : leftView();
        const CLineWnd& lines = view->lineWnd();
        if (result && lines.hasSelection() && lines.anchorRow != lines.endRow) {
            prepared = kl::CopyRowsEdit(*shown, from, std::min(lines.anchorRow, lines.endRow),
                                        std::max(lines.anchorRow, lines.endRow));
        } else {
            int row = result && lines.hasSelection() ? lines.anchorRow : navigator_->currentRow();
            if (row < 0 || shown->BlockOf(row) < 0) {
                row = view->lineHeight > 0 ? view->scrollTop() / view->lineHeight : 0;
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
