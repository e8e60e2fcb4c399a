// Editing the texts in the window: new text versions, the undo history of each side and the
// shown result that follows an edit until the comparison has run again.
#include <utility>

#include "engine/edit/result_after_edit.h"
#include "ui/document/kestrilane_doc.h"

namespace {

std::size_t Slot(int side) { return side == kl::DOC_B ? 1 : 0; }

}  // namespace

void CKestrilaneDoc::ApplyEditedText(int side, std::shared_ptr<const kl::Text> text)
{
    ShowEditedText(side, {std::move(text), std::nullopt}, true);
}

kl::EditHistory& CKestrilaneDoc::HistoryOf(int side)
{
    kl::EditHistory& history = histories_[Slot(side)];
    const std::shared_ptr<const kl::Text>& text = textDoc.texts[Slot(side)];
    if (historyTexts_[Slot(side)] != text) {
        // Another text was loaded (or the side was cleared) since the last edit.
        history.Clear();
        historyTexts_[Slot(side)] = text;
    }
    // An unedited text is the file's: undo back to here leaves nothing to save.
    if (!textDoc.edited[Slot(side)])
        history.MarkSaved();
    return history;
}

void CKestrilaneDoc::ShowEditedText(int side, const kl::EditOutcome& outcome, bool edited)
{
    std::shared_ptr<const kl::Text>& slot = textDoc.texts[Slot(side)];
    const std::shared_ptr<const kl::CompareResult>& result = textDoc.result;
    if (outcome.change && slot && result->texts[Slot(side)] == slot && result->RowCount() > 0)
        textDoc.result = kl::ResultAfterEdit(*result, side, *outcome.change, outcome.text);
    slot = outcome.text;
    historyTexts_[Slot(side)] = outcome.text;
    textDoc.edited[Slot(side)] = edited;
    emit textEdited(side);
    emit documentChanged();
    emit titleChanged(Title());
}

bool CKestrilaneDoc::EditText(int side, kl::EditStep step, bool joinTyping)
{
    const std::shared_ptr<const kl::Text> text = textDoc.texts[Slot(side)];
    if (!text)
        return false;
    kl::EditHistory& history = HistoryOf(side);
    const kl::EditOutcome outcome = history.Apply(*text, std::move(step), joinTyping);
    ShowEditedText(side, outcome, !history.AtSaved());
    return true;
}

bool CKestrilaneDoc::CanUndo(int side) const
{
    return textDoc.texts[Slot(side)] && historyTexts_[Slot(side)] == textDoc.texts[Slot(side)] &&
           histories_[Slot(side)].CanUndo();
}

bool CKestrilaneDoc::CanRedo(int side) const
{
    return textDoc.texts[Slot(side)] && historyTexts_[Slot(side)] == textDoc.texts[Slot(side)] &&
           histories_[Slot(side)].CanRedo();
}

std::optional<std::int64_t> CKestrilaneDoc::Undo(int side)
{
    if (!CanUndo(side))
        return std::nullopt;
    kl::EditHistory& history = HistoryOf(side);
    const kl::EditOutcome outcome = history.Undo(*textDoc.texts[Slot(side)]);
    ShowEditedText(side, outcome, !history.AtSaved());
    return outcome.caret;
}

std::optional<std::int64_t> CKestrilaneDoc::Redo(int side)
{
    if (!CanRedo(side))
        return std::nullopt;
    kl::EditHistory& history = HistoryOf(side);
    const kl::EditOutcome outcome = history.Redo(*textDoc.texts[Slot(side)]);
    ShowEditedText(side, outcome, !history.AtSaved());
    return outcome.caret;
}
