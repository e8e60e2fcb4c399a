#include "engine/report/context_filter.h"

#include <algorithm>

namespace kl {

std::vector<RowSpan> ShownSpans(const std::vector<RowSpan>& differences, int rowCount, int context)
{
    std::vector<RowSpan> shown;
    if (rowCount <= 0)
        return shown;
    if (context < 0) {
        shown.push_back({0, rowCount - 1});
        return shown;
    }
    for (const RowSpan& d : differences) {
        const RowSpan wide{std::max(0, d.first - context), std::min(rowCount - 1, d.last + context)};
        if (!shown.empty() && wide.first <= shown.back().last + 1)
            shown.back().last = std::max(shown.back().last, wide.last);
        else
            shown.push_back(wide);
    }
    return shown;
}

}  // namespace kl
