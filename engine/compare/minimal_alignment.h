#pragma once
// The minimal mode: number the lines as the options compare them, align both texts with the
// fewest changed lines, then find the changed lines that were moved: a DocA-only line whose
// key stands among the DocB-only lines elsewhere, and the other way round.
#include <stop_token>
#include <vector>

#include "engine/compare/compare_options.h"
#include "engine/compare/line_alignment.h"
#include "engine/compare/progress.h"
#include "engine/document/text.h"

namespace kl {

struct MinimalMatch {
    LineAlignment alignment;
    std::vector<std::int32_t> movedA;  // per DocA line: the DocB line it moved to, or kNoLine
    std::vector<std::int32_t> movedB;  // per DocB line: the DocA line it came from, or kNoLine
};

// The line numbers as the options compare them: equal numbers for equal lines. Returns the
// number of distinct keys.
int MinimalKeys(const Text& a, const Text& b, const CompareOptions& options, std::vector<std::int32_t>& keysA,
                std::vector<std::int32_t>& keysB);

// Pairs the changed lines of alignment whose keys agree, first with first, leaving out
// empty lines (which carry no meaning where they stand).
void FindMovedLines(const KeySequences& keys, const Text& a, const Text& b, MinimalMatch& match);

// The whole matching of the minimal mode; progress goes from 0 to 80 by stages. Returns
// false on a stop request.
bool MatchMinimal(const Text& a, const Text& b, const CompareOptions& options, const std::stop_token& stop,
                  MinimalMatch& match, const ProgressCallback& progress = {});

}  // namespace kl
