#pragma once
// The comparison as a unified diff that patch and git apply take: DocA's lines that have a
// partner in the same row of DocB are context, the rest are removed and added lines.
#include <array>
#include <string>

#include "cli/output_buffer.h"
#include "engine/compare/compare_result.h"

namespace kl::cli {

// The "---" and "+++" lines' file name and time.
struct UnifiedFileLabel {
    std::string name;
    std::string time;  // for example "2026-12-07 17:42:37.123456789 +0000"; may be empty
};

// Writes the diff with context lines around each change; nothing when the texts give no
// change. Returns whether there was a change.
//
// The lines are written as the texts hold them. Lines the comparison took as equal but
// whose bytes differ (under the ignore options, or in their line ends) become a removed
// and an added line, so that the patch turns DocA into DocB byte for byte. patch splits
// lines at LF only: lines that end in a lone CR are joined with the lines after them up to
// the next LF.
bool WriteUnifiedDiff(OutputBuffer& out, const CompareResult& result, const std::array<UnifiedFileLabel, 2>& labels,
                      int context);

}  // namespace kl::cli
