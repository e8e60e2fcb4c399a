#pragma once
// How many lines of each kind a comparison found, counted from its rows.
#include "engine/compare/compare_result.h"

namespace kl {

struct LineKindCounts {
    int common = 0;  // rows whose two lines are partners
    int onlyA = 0;   // DocA lines without a partner
    int onlyB = 0;   // DocB lines without a partner
    int movedA = 0;  // DocA lines whose partner lies elsewhere in DocB
    int movedB = 0;  // DocB lines whose partner lies elsewhere in DocA
    int leftOut = 0; // lines of either text that took no part (blank or filtered)
};

LineKindCounts CountLineKinds(const CompareResult& result);

// Whether the comparison found any line that is not in a common row.
bool HasDifference(const LineKindCounts& counts);

}  // namespace kl
