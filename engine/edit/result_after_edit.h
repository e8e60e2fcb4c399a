#pragma once
// The shown result while an edited text waits for its new comparison: the old rows with the
// edited side's lines renumbered, its new lines on rows of their own and its removed lines
// gone, so that the views show the new text in place at once. It has rows but no blocks or
// match fields (RunOutcome::StoppedInRows) until the comparison has run again.
#include <memory>

#include "engine/compare/compare_result.h"
#include "engine/edit/text_edit.h"

namespace kl {

std::shared_ptr<const CompareResult> ResultAfterEdit(const CompareResult& result, int side, const LineChange& change,
                                                     std::shared_ptr<const Text> text);

}  // namespace kl
