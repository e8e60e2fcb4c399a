#pragma once
// The short forms of a comparison for scripts: whether the files differ (--brief) and how
// many lines of each kind there are (--stat).
#include <optional>
#include <string>

#include "cli/output_buffer.h"
#include "engine/compare/compare_result.h"

namespace kl::cli {

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

// "common N", "only-a N", "only-b N", "moved-a N", "moved-b N", one per line.
void WriteLineKindCounts(OutputBuffer& out, const LineKindCounts& counts);

// Whether two regular files hold the same bytes, read in pieces and stopping at the first
// difference. Nothing when either is no regular file or cannot be read: the caller then
// loads them the usual way, which reports why.
std::optional<bool> SameFileBytes(const std::string& pathA, const std::string& pathB);

}  // namespace kl::cli
