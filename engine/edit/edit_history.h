#pragma once
// The undo and redo history of one side. A step keeps its edits and the bytes they took
// away, never a copy of the text, so the history grows with the edits and not with the
// file (a step that turned the text into UTF-8 keeps the version before it, which undo
// gives back).
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/document/text.h"
#include "engine/edit/text_edit.h"

namespace kl {

struct EditStep {
    std::vector<TextEdit> edits;       // applied in order, each to the text the one before made
    std::vector<std::string> removed;  // the bytes each edit replaced
    std::shared_ptr<const Text> before;  // set when the step began by making the text UTF-8
};

// A new text version and the lines it changed (nullopt: too many places to say).
struct EditOutcome {
    std::shared_ptr<const Text> text;
    std::optional<LineChange> change;
    // Where the caret goes after the step: the end of the bytes its last edit put in (after an
    // undo, of the bytes it brought back); none when an undo goes back to the text before
    // a change of encoding.
    std::optional<std::int64_t> caret;
};

// Applies edits to text (to the UTF-8 version of it first when utf8Base is given) and
// gives the step that records them.
EditOutcome ApplyStep(const Text& text, EditStep& step);

class EditHistory {
public:
    // Applies step to current (see ApplyStep) and records it; the redo list is dropped. A
    // typed insertion into what the last step inserted joins that step when joinTyping is
    // set.
    EditOutcome Apply(const Text& current, EditStep step, bool joinTyping = false);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The text before the last step / after the next undone step; current is the side's
    // text now, which the history made.
    EditOutcome Undo(const Text& current);
    EditOutcome Redo(const Text& current);

    // The current version is the one in the file.
    void MarkSaved() { saved_ = static_cast<long>(undo_.size()); }
    // The history stands where it was last saved (or where it began).
    bool AtSaved() const { return saved_ == static_cast<long>(undo_.size()); }
    void Clear();
    // Bytes the recorded steps hold.
    std::size_t HeldBytes() const;

private:
    std::vector<EditStep> undo_;
    std::vector<EditStep> redo_;
    long saved_ = 0;  // undo_ size of the saved version; -1 when no undo or redo reaches it
};

}  // namespace kl
