#pragma once
// The comparison result as a side-by-side listing for a terminal (UTF-8).
#include <array>
#include <string>
#include <vector>

#include "cli/output_buffer.h"
#include "engine/compare/compare_result.h"

namespace kl::cli {

// Prints a header with the file names and line totals (code page 932), then one line per
// row pair: line number, DocA text, a kind marker, line number, DocB text. Columns line
// up by display width; a full-width character takes two columns.
void WriteSideBySide(OutputBuffer& out, const CompareResult& result, const std::vector<std::string>& fileNames,
                     const std::array<std::string, 2>& totals);

}  // namespace kl::cli
