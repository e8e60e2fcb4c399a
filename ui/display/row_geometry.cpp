#include "ui/display/row_geometry.h"

#include <algorithm>
#include <climits>
#include <string>

namespace kl {

void RowGeometry::SetSide(int side, std::vector<std::int32_t> counts, int wrapWidth)
{
    counts_[Index(side)] = std::move(counts);
    wrapWidth_[Index(side)] = counts_[Index(side)].empty() ? 0 : wrapWidth;
    Combine();
}

void RowGeometry::Combine()
{
    const std::vector<std::int32_t>& a = counts_[0];
    const std::vector<std::int32_t>& b = counts_[1];
    firstLine_.clear();
    if (a.empty() && b.empty())
        return;
    const std::size_t rows = std::max(a.size(), b.size());
    firstLine_.resize(rows + 1);
    std::int64_t line = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        firstLine_[row] = line;
        const std::int32_t left = row < a.size() ? a[row] : 1;
        const std::int32_t right = row < b.size() ? b[row] : 1;
        line += std::max({left, right, std::int32_t{1}});
    }
    firstLine_[rows] = line;
}

long long RowGeometry::FirstLine(int row) const
{
    if (row <= 0)
        return 0;
    if (firstLine_.empty())
        return row;
    const long long rows = static_cast<long long>(firstLine_.size()) - 1;
    if (row <= rows)
        return firstLine_[static_cast<std::size_t>(row)];
    return firstLine_.back() + (row - rows);
}

int RowGeometry::SideLines(int side, int row) const
{
    const std::vector<std::int32_t>& counts = counts_[Index(side)];
    if (row < 0 || static_cast<std::size_t>(row) >= counts.size())
        return 1;
    return std::max(counts[static_cast<std::size_t>(row)], std::int32_t{1});
}

int RowGeometry::RowAt(long long y) const
{
    if (y <= 0)
        return 0;
    const long long line = y / lineHeight_;
    if (firstLine_.empty())
        return static_cast<int>(std::min<long long>(line, INT_MAX));
    if (line >= firstLine_.back()) {
        const long long rows = static_cast<long long>(firstLine_.size()) - 1;
        return static_cast<int>(std::min<long long>(rows + (line - firstLine_.back()), INT_MAX));
    }
    // The last row that starts at or above the line.
    const auto after = std::upper_bound(firstLine_.begin(), firstLine_.end(), line);
    return static_cast<int>(after - firstLine_.begin() - 1);
}

std::vector<std::int32_t> WrappedLineCounts(TextMeasure& measure, int tabPixels, int wrapWidth,
                                            const ShownRows& shown, int side)
{
    std::vector<std::int32_t> counts;
    if (wrapWidth <= 0)
        return counts;
    const int rows = shown.ColumnRowCount(side);
    counts.resize(static_cast<std::size_t>(rows), 1);
    const TextEncoding encoding = shown.EncodingOf(side);
    // A row of plain ASCII no longer than this many bytes fits whatever its characters.
    int widest = 1;
    measure.SetEncoding(encoding);
    for (int byte = 0; byte < 0x80; ++byte)
        widest = std::max(widest, measure.Advance(measure.AsciiUnit(static_cast<unsigned char>(byte))));
    const std::size_t fitting = static_cast<std::size_t>(wrapWidth / widest);

    std::string scratch;
    for (int row = 0; row < rows; ++row) {
        const std::string_view text = shown.TextAt(side, row, scratch);
        const std::size_t length = ContentLength(text);
        if (length <= fitting &&
            std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80 && c != '\t'; }))
            continue;
        const bool filler = shown.Cell(side, row).kind == ROW_FILLER;
        measure.SetEncoding(filler ? TextEncoding::Cp932 : encoding);
        counts[static_cast<std::size_t>(row)] = WrappedLineCount(measure, tabPixels, text, wrapWidth);
    }
    measure.SetEncoding(encoding);
    return counts;
}

}  // namespace kl
