#include "engine/linedetail/line_pick.h"

#include <cstddef>

#include "engine/display/display_options.h"
#include "engine/display/shown_rows.h"

namespace kl {
namespace {

// The line of the first row at or below row of the column that has one, or kNoLine.
int LineAtOrBelow(std::span<const DisplayRow> rows, int row)
{
    for (std::size_t k = static_cast<std::size_t>(row); k < rows.size(); ++k) {
        if (rows[k].lineIndex != kNoLine)
            return rows[k].lineIndex;
    }
    return kNoLine;
}

LineRef RefTo(const std::shared_ptr<const Text>& text, int index)
{
    LineRef ref{text, index};
    if (!ref.valid())
        ref.index = kNoLine;
    return ref;
}

int CountOf(const std::shared_ptr<const Text>& text)
{
    return text ? text->count() : 0;
}

}  // namespace

std::optional<LinePick> PickLinePair(const ShownRows& shown, int side, int row)
{
    if (row < 0 || side < 0 || side > 1)
        return std::nullopt;
    const int other = 1 - side;
    if (shown.options().mode == DISPLAY_RESULT) {
        const int own = LineAtOrBelow(shown.Column(side), row);
        const int partner = LineAtOrBelow(shown.Column(other), row);
        if (own == kNoLine || partner == kNoLine)
            return std::nullopt;
        return LinePick{RefTo(shown.SharedText(side), own), RefTo(shown.SharedText(other), partner)};
    }
    const auto& ownText = shown.SharedText(side);
    const auto& otherText = shown.SharedText(other);
    if (row >= CountOf(ownText) || row >= CountOf(otherText))
        return std::nullopt;
    return LinePick{RefTo(ownText, row), RefTo(otherText, row)};
}

LineMatchInfo MatchInfoOf(const CompareResult& result, int side, int line)
{
    LineMatchInfo info;
    const SideResult& found = result.sides[static_cast<std::size_t>(side)];
    if (line < 0 || static_cast<std::size_t>(line) >= found.blockSize.size() ||
        static_cast<std::size_t>(line) >= found.partnerSlots.size())
        return info;
    info.blockSize = found.blockSize[static_cast<std::size_t>(line)];
    for (int k = 0; k < kPartnerSlotCount; ++k) {
        const std::int32_t partner = found.partnerSlots.Get(line, k);
        if (partner == kNoLine)
            break;
        info.partners.push_back(partner);
    }
    return info;
}

std::optional<RowOfLine> MovedLinePartner(std::span<const DisplayRow> rows, int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size())
        return std::nullopt;
    const DisplayRow& message = rows[static_cast<std::size_t>(row)];
    if (message.kind != ROW_FILLER || message.partnerLine == kNoLine)
        return std::nullopt;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (rows[k].lineIndex == message.partnerLine)
            return RowOfLine{message.partnerLine, static_cast<int>(k)};
    }
    return std::nullopt;
}

}  // namespace kl
