#pragma once
// The comparison result as one JSON object (rows, blocks, match fields, line totals).
#include <array>
#include <string>

#include "cli/output_buffer.h"
#include "engine/document/text_document.h"

namespace kl::cli {

// totals holds the line-total texts of DocA and DocB (code page 932).
void WriteResultJson(OutputBuffer& out, const TextDocument& doc, const std::array<std::string, 2>& totals);

}  // namespace kl::cli
