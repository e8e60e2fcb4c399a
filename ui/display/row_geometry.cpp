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

void RowGeometry::SetRowLines(int side, int row, std::int32_t lines)
{
    std::vector<std::int32_t>& counts = counts_[Index(side)];
    const auto r = static_cast<std::size_t>(row);
    if (r >= counts.size() || counts[r] == lines)
        return;
    const auto height = [&] {
        const std::int32_t left = r < counts_[0].size() ? counts_[0][r] : 1;
        const std::int32_t right = r < counts_[1].size() ? counts_[1][r] : 1;
        return std::max({left, right, std::int32_t{1}});
    };
    const std::int32_t before = height();
    counts[r] = lines;
    const std::int64_t moved = height() - before;
    for (std::size_t k = r + 1; moved != 0 && k < firstLine_.size(); ++k)
        firstLine_[k] += moved;
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

namespace {

// Counts rows [first, last) of side's column into counts.
void CountRows(TextMeasure& measure, int tabPixels, int wrapWidth, const ShownRows& shown, int side, int first,
               int last, std::vector<std::int32_t>& counts, int countsFrom = 0)
{
    const TextEncoding encoding = shown.EncodingOf(side);
    // A row of printable ASCII no longer than this many bytes fits whatever its characters.
    int widest = 1;
    measure.SetEncoding(encoding);
    for (int byte = 0x20; byte < 0x7F; ++byte)
        widest = std::max(widest, measure.Advance(measure.AsciiUnit(static_cast<unsigned char>(byte))));
    const std::size_t fitting = static_cast<std::size_t>(wrapWidth / widest);

    std::string scratch;
    for (int row = first; row < last; ++row) {
        const std::string_view text = shown.TextAt(side, row, scratch);
        const std::size_t length = ContentLength(text);
        if (length <= fitting &&
            std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length),
                        [](char c) { return c >= 0x20 && c < 0x7F; }))
            continue;
        const bool filler = shown.Cell(side, row).kind == ROW_FILLER;
        measure.SetEncoding(filler ? TextEncoding::Cp932 : encoding);
        counts[static_cast<std::size_t>(row - countsFrom)] = WrappedLineCount(measure, tabPixels, text, wrapWidth);
    }
    measure.SetEncoding(encoding);
}

}  // namespace

std::vector<std::int32_t> WrappedLineCounts(TextMeasure& measure, int tabPixels, int wrapWidth,
                                            const ShownRows& shown, int side)
{
    std::vector<std::int32_t> counts;
    if (wrapWidth <= 0)
        return counts;
    counts.resize(static_cast<std::size_t>(shown.ColumnRowCount(side)), 1);
    CountRows(measure, tabPixels, wrapWidth, shown, side, 0, shown.ColumnRowCount(side), counts);
    return counts;
}

std::optional<std::vector<RowLines>> RowLinesAfterTyping(TextMeasure& measure, int tabPixels, int wrapWidth,
                                                        const ShownRows& shown, int side, const ShownRows& before,
                                                        std::optional<LineChange> edit)
{
    const int rows = shown.ColumnRowCount(side);
    if (wrapWidth <= 0 || shown.Generation() != before.Generation() || rows != before.ColumnRowCount(side) ||
        shown.EncodingOf(side) != before.EncodingOf(side))
        return std::nullopt;
    std::vector<RowLines> changed;
    if (shown.TextOf(side) == before.TextOf(side))
        return changed;
    if (!edit || edit->oldCount != edit->newCount)
        return std::nullopt;
    // Lines stand in order down a column, line k on row k or below it.
    const int end = edit->first + edit->newCount;
    std::vector<std::int32_t> count(1);
    for (int row = std::max(edit->first, 0); row < rows; ++row) {
        const int line = shown.LineAt(side, row);
        if (line >= end)
            break;
        if (line >= edit->first) {
            count[0] = 1;
            CountRows(measure, tabPixels, wrapWidth, shown, side, row, row + 1, count, row);
            changed.push_back({row, count[0]});
        }
    }
    return changed;
}

std::vector<std::int32_t> WrappedLineCountsAfter(TextMeasure& measure, int tabPixels, int wrapWidth,
                                                 const ShownRows& shown, int side, const ShownRows& before,
                                                 const std::vector<std::int32_t>& beforeCounts,
                                                 std::optional<LineChange> edit)
{
    const int rows = shown.ColumnRowCount(side);
    const int beforeRows = before.ColumnRowCount(side);
    if (wrapWidth <= 0 || static_cast<int>(beforeCounts.size()) != beforeRows ||
        shown.EncodingOf(side) != before.EncodingOf(side))
        return WrappedLineCounts(measure, tabPixels, wrapWidth, shown, side);
    if (const std::optional<std::vector<RowLines>> typed =
            RowLinesAfterTyping(measure, tabPixels, wrapWidth, shown, side, before, edit)) {
        std::vector<std::int32_t> counts = beforeCounts;
        for (const RowLines& row : *typed)
            counts[static_cast<std::size_t>(row.row)] = row.lines;
        return counts;
    }
    // Two rows of lines show the same bytes when they show the same line of one text, or a
    // line the edit left alone; otherwise the bytes tell.
    const Text* now = shown.TextOf(side);
    const Text* was = before.TextOf(side);
    const auto unchangedLine = [&](int line, int beforeLine) {
        if (now == was)
            return line == beforeLine;
        if (!edit)
            return false;
        if (beforeLine < edit->first)
            return line == beforeLine;
        return beforeLine >= edit->first + edit->oldCount && line == beforeLine + edit->newCount - edit->oldCount;
    };
    std::string scratch, beforeScratch;
    const auto same = [&](int row, int beforeRow) {
        const DisplayRow& cell = shown.Cell(side, row);
        const DisplayRow& beforeCell = before.Cell(side, beforeRow);
        if (cell.kind != beforeCell.kind)
            return false;
        if (cell.message == RowMessage::None && beforeCell.message == RowMessage::None &&
            unchangedLine(cell.lineIndex, beforeCell.lineIndex))
            return true;
        return shown.TextAt(side, row, scratch) == before.TextAt(side, beforeRow, beforeScratch);
    };
    int head = 0;
    while (head < rows && head < beforeRows && same(head, head))
        ++head;
    int tail = 0;
    while (tail < rows - head && tail < beforeRows - head && same(rows - 1 - tail, beforeRows - 1 - tail))
        ++tail;
    std::vector<std::int32_t> counts(static_cast<std::size_t>(rows), 1);
    std::copy(beforeCounts.begin(), beforeCounts.begin() + head, counts.begin());
    std::copy(beforeCounts.end() - tail, beforeCounts.end(), counts.end() - tail);
    CountRows(measure, tabPixels, wrapWidth, shown, side, head, rows - tail, counts);
    return counts;
}

}  // namespace kl
