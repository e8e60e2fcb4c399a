#pragma once
// Which rows a report shows: all of them, or only the differences with some rows of
// context around each, the rows between left out.
#include <vector>

namespace kl {

// Rows first..last, both included.
struct RowSpan {
    int first = 0;
    int last = 0;
    friend bool operator==(const RowSpan&, const RowSpan&) = default;
};

// The runs of consecutive rows for which isDifference holds, in order.
template <typename IsDifference>
std::vector<RowSpan> DifferenceSpans(int rowCount, IsDifference isDifference)
{
    std::vector<RowSpan> spans;
    for (int r = 0; r < rowCount; ++r) {
        if (!isDifference(r))
            continue;
        if (!spans.empty() && spans.back().last == r - 1)
            spans.back().last = r;
        else
            spans.push_back({r, r});
    }
    return spans;
}

// The rows to show: with context < 0 all rows as one span (none for no rows); otherwise
// each difference widened by context rows on both sides, within 0..rowCount-1, spans that
// meet or touch joined. The rows between two spans, and before the first and after the
// last, are left out.
std::vector<RowSpan> ShownSpans(const std::vector<RowSpan>& differences, int rowCount, int context);

}  // namespace kl
