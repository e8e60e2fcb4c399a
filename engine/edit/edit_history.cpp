#include "engine/edit/edit_history.h"

#include <utility>

#include "engine/edit/typing.h"

namespace kl {

namespace {

// Several edits, or a change of encoding, change lines in more than one place.
EditOutcome ApplyEdits(const Text& text, const std::vector<TextEdit>& edits, std::vector<std::string>* removed,
                       bool whole)
{
    EditOutcome outcome;
    LineChange change;
    const Text* current = &text;
    for (const TextEdit& edit : edits) {
        if (removed)
            removed->emplace_back(current->bytes().substr(static_cast<std::size_t>(edit.begin),
                                                          static_cast<std::size_t>(edit.end - edit.begin)));
        outcome.text = ApplyEdit(*current, edit, &change);
        outcome.caret = edit.begin + static_cast<std::int64_t>(edit.inserted.size());
        current = outcome.text.get();
    }
    if (!outcome.text)
        outcome.text = ApplyEdit(text, TextEdit{});
    if (edits.size() == 1 && !whole)
        outcome.change = change;
    return outcome;
}

}  // namespace

EditOutcome ApplyStep(const Text& text, EditStep& step)
{
    step.removed.clear();
    if (step.before) {
        const std::shared_ptr<const Text> base = AsUtf8Text(*step.before);
        EditOutcome outcome = ApplyEdits(*base, step.edits, &step.removed, true);
        if (step.edits.empty())
            outcome.text = base;
        return outcome;
    }
    return ApplyEdits(text, step.edits, &step.removed, false);
}

EditOutcome EditHistory::Apply(const Text& current, EditStep step, bool joinTyping)
{
    EditOutcome outcome = ApplyStep(current, step);
    if (saved_ > static_cast<long>(undo_.size()))
        saved_ = -1;
    redo_.clear();
    if (joinTyping && !AtSaved() && !undo_.empty() && !step.before && step.edits.size() == 1 &&
        step.removed[0].empty()) {
        EditStep& last = undo_.back();
        TextEdit& previous = last.edits.back();
        const TextEdit& edit = step.edits[0];
        // Typing inside what the last step put in (at its end, or in a new line it made).
        const std::int64_t at = edit.begin - previous.begin;
        if (!last.before && last.edits.size() == 1 && edit.side == previous.side && at >= 0 &&
            at <= static_cast<std::int64_t>(previous.inserted.size())) {
            previous.inserted.insert(static_cast<std::size_t>(at), edit.inserted);
            return outcome;
        }
    }
    undo_.push_back(std::move(step));
    return outcome;
}

EditOutcome EditHistory::Undo(const Text& current)
{
    EditStep step = std::move(undo_.back());
    undo_.pop_back();
    EditOutcome outcome;
    if (step.before) {
        outcome.text = step.before;
    } else {
        std::vector<TextEdit> inverse;
        for (std::size_t k = step.edits.size(); k-- > 0;) {
            const TextEdit& edit = step.edits[k];
            inverse.push_back({edit.side, edit.begin, edit.begin + static_cast<std::int64_t>(edit.inserted.size()),
                               step.removed[k]});
        }
        outcome = ApplyEdits(current, inverse, nullptr, false);
    }
    redo_.push_back(std::move(step));
    return outcome;
}

EditOutcome EditHistory::Redo(const Text& current)
{
    EditStep step = std::move(redo_.back());
    redo_.pop_back();
    EditOutcome outcome = ApplyStep(current, step);
    undo_.push_back(std::move(step));
    return outcome;
}

void EditHistory::Clear()
{
    undo_.clear();
    redo_.clear();
    saved_ = 0;
}

std::size_t EditHistory::HeldBytes() const
{
    std::size_t bytes = 0;
    for (const std::vector<EditStep>* list : {&undo_, &redo_}) {
        for (const EditStep& step : *list) {
            for (const TextEdit& edit : step.edits)
                bytes += edit.inserted.size() + sizeof edit;
            for (const std::string& removed : step.removed)
                bytes += removed.size();
        }
    }
    return bytes;
}

}  // namespace kl
