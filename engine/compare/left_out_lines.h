#pragma once
// Tells the result of comparing the lines that took part (their keys) in the texts' own
// line numbers: match fields and partners renumbered, and the lines left out put back in
// their places as rows of their own.
#include <array>
#include <stop_token>

#include "engine/compare/compare_result.h"
#include "engine/compare/compared_lines.h"

namespace kl {

// keyed is the completed comparison of compared[DOC_A].keys with compared[DOC_B].keys;
// result holds the texts and messages. Returns false on a stop request.
bool RestoreLeftOutLines(const CompareResult& keyed, const std::array<ComparedLines, 2>& compared,
                         const std::stop_token& stop, CompareResult& result);

}  // namespace kl
