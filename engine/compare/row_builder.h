#pragma once
// The row builder: turns the partner links of both texts into the aligned side-by-side rows
// and the block lists of the comparison result.
#include <cstdint>
#include <stop_token>
#include <vector>

#include "engine/compare/compare_result.h"
#include "engine/compare/progress.h"

namespace kl {

// Works on a private copy of a line's partner list. Counts the entries less than j from
// the front; at the first entry equal to j, found at position k, inserts j at the front
// when k > 0 (the entry at k stays) and returns 0. Without an equal entry, returns the
// count of entries less than j.
int PromotePartner(int j, std::vector<std::int32_t>& list);

// Builds the rows and the block lists of both sides of result from its match fields (a
// missing text counts as empty). Progress runs from progressStart to 100. On a stop request
// the builder stops after the current step, leaving the rows built so far (always in pairs);
// returns false then.
bool BuildRows(int progressStart, const ProgressCallback& progress, const std::stop_token& stop,
               CompareResult& result);

}  // namespace kl
