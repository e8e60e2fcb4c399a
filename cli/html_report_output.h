#pragma once
// `compare --html`: the report of a finished comparison, on standard output or in a file.
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/output_buffer.h"
#include <memory>
#include "engine/document/text_document.h"

namespace kl::cli {

// Writes the report to out, or replaces options.outPath with it. Returns the exit code.
int WriteHtmlReportOutput(OutputBuffer& out, const CompareCommandOptions& options, const TextDocument& doc,
                          const std::shared_ptr<const CompareResult>& result);

}  // namespace kl::cli
