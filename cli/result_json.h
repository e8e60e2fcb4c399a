#pragma once
// The comparison result as one JSON object (rows, blocks, match fields, line totals).
#include <array>
#include <string>

#include "cli/output_buffer.h"
#include "engine/compare/compare_result.h"
#include "engine/display/shown_rows.h"

namespace kl::cli {

// totals holds the line-total texts of DocA and DocB (code page 932). Row texts are read
// from the result's texts and converted as they are written. With shown (the rows of the
// paired display) the object ends with "shown": its rows, each with its block, whether it
// is a changed row and, for a changed row, the marked runs of both lines as byte ranges.
void WriteResultJson(OutputBuffer& out, const CompareResult& result, const std::array<std::string, 2>& totals,
                     const ShownRows* shown = nullptr);

}  // namespace kl::cli
