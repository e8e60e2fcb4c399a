#pragma once
// The comparison result as one JSON object (rows, blocks, match fields, line totals).
#include <array>
#include <string>

#include "cli/output_buffer.h"
#include "engine/compare/compare_result.h"

namespace kl::cli {

// totals holds the line-total texts of DocA and DocB (code page 932). Row texts are read
// from the result's texts and converted as they are written.
void WriteResultJson(OutputBuffer& out, const CompareResult& result, const std::array<std::string, 2>& totals);

}  // namespace kl::cli
