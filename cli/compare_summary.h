#pragma once
// The short forms of a comparison for scripts: whether the files differ (--brief) and how
// many lines of each kind there are (--stat).
#include <optional>
#include <string>

#include "cli/output_buffer.h"
#include "engine/compare/compare_result.h"
#include "engine/compare/line_kind_counts.h"

namespace kl::cli {

// "common N", "only-a N", "only-b N", "moved-a N", "moved-b N", one per line.
void WriteLineKindCounts(OutputBuffer& out, const LineKindCounts& counts);

// Whether two regular files hold the same bytes, read in pieces and stopping at the first
// difference. Nothing when either is no regular file or cannot be read: the caller then
// loads them the usual way, which reports why.
std::optional<bool> SameFileBytes(const std::string& pathA, const std::string& pathB);

}  // namespace kl::cli
