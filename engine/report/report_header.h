#pragma once
// The fields at the top of a report, as HTML.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/compare/line_kind_counts.h"
#include "engine/report/html_report.h"

namespace kl {

// "1,234 バイト".
std::string ByteCountText(std::uintmax_t bytes);
// "2026/12/08 14:21:03" in local time; empty when the system cannot convert it.
std::string LocalTimeText(std::int64_t seconds);
// The mode and the switches that were on: "通常比較（改行コードの違いを無視する）".
std::string CompareMethodText(CompareMode mode, const CompareOptions& options);

// The title, the table of both files, the compare method, the date and the totals;
// changedRows in the paired display.
void AppendReportHeader(std::string& out, const CompareResult& result, const ReportHeader& header,
                        const LineKindCounts& counts, int differences, std::optional<int> changedRows);

}  // namespace kl
