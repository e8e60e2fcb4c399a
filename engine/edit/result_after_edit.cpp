#include "engine/edit/result_after_edit.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace kl {

namespace {

RowKind OnlyKind(int side) { return side == DOC_A ? ROW_ONLY_A : ROW_ONLY_B; }
// The message a filler of column side shows opposite a line of the other side.
RowMessage FillerMessage(int side) { return side == DOC_A ? RowMessage::Left : RowMessage::Right; }

}  // namespace

std::shared_ptr<const CompareResult> ResultAfterEdit(const CompareResult& result, int side, const LineChange& change,
                                                     std::shared_ptr<const Text> text)
{
    auto out = std::make_shared<CompareResult>();
    out->texts = result.texts;
    out->texts[static_cast<std::size_t>(side)] = std::move(text);
    out->messages = result.messages;
    out->outcome = RunOutcome::StoppedInRows;
    const int other = 1 - side;
    for (int k : {DOC_A, DOC_B})
        out->sides[static_cast<std::size_t>(k)].lineEnds = result.sides[static_cast<std::size_t>(k)].lineEnds;

    // A line that changed in place keeps its rows: only the text is new.
    if (change.oldCount == change.newCount) {
        for (int k : {DOC_A, DOC_B})
            out->sides[static_cast<std::size_t>(k)].rows = result.sides[static_cast<std::size_t>(k)].rows;
        return out;
    }
    const std::vector<DisplayRow>& rows = result.Rows(side);
    const std::vector<DisplayRow>& otherRows = result.Rows(other);
    std::vector<DisplayRow>& outRows = out->sides[static_cast<std::size_t>(side)].rows.Edit();
    std::vector<DisplayRow>& outOther = out->sides[static_cast<std::size_t>(other)].rows.Edit();
    const std::size_t count = std::min(rows.size(), otherRows.size());
    outRows.reserve(count + static_cast<std::size_t>(std::max(0, change.newCount - change.oldCount)));
    outOther.reserve(outRows.capacity());

    const int oldEnd = change.first + change.oldCount;
    const int shift = change.newCount - change.oldCount;
    bool placed = false;
    const auto addNewLines = [&] {
        placed = true;
        for (int k = change.oldCount; k < change.newCount; ++k) {
            outRows.push_back({change.first + k, kNoLine, OnlyKind(side), RowMessage::None});
            outOther.push_back({kNoLine, kNoLine, ROW_FILLER, FillerMessage(other)});
        }
    };
    // The new lines go after the row of the last line rebuilt, or of the line before them.
    const int anchor = change.oldCount > 0 ? oldEnd - 1 : change.first - 1;
    if (anchor < 0)
        addNewLines();
    // Lines stand in order down a column: the rows before the first line the edit touches
    // stay as they are, and from the first line after it on only the side's lines move.
    const int touched = std::min(change.first, anchor);
    std::size_t r = 0;
    while (r < count && (rows[r].lineIndex == kNoLine || rows[r].lineIndex < touched))
        ++r;
    outRows.insert(outRows.end(), rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(r));
    outOther.insert(outOther.end(), otherRows.begin(), otherRows.begin() + static_cast<std::ptrdiff_t>(r));
    for (; r < count; ++r) {
        DisplayRow cell = rows[r];
        DisplayRow partner = otherRows[r];
        const int line = cell.lineIndex;
        if (line != kNoLine && line >= oldEnd) {
            const std::size_t moved = outRows.size();
            outRows.insert(outRows.end(), rows.begin() + static_cast<std::ptrdiff_t>(r),
                           rows.begin() + static_cast<std::ptrdiff_t>(count));
            outOther.insert(outOther.end(), otherRows.begin() + static_cast<std::ptrdiff_t>(r),
                            otherRows.begin() + static_cast<std::ptrdiff_t>(count));
            for (std::size_t k = moved; k < outRows.size(); ++k) {
                if (outRows[k].lineIndex != kNoLine)
                    outRows[k].lineIndex += shift;
            }
            break;
        }
        if (line != kNoLine && line >= change.first && line - change.first >= change.newCount) {
            // A removed line: its row goes, or keeps only the other side's line.
            if (partner.lineIndex == kNoLine) {
                if (line == anchor)
                    addNewLines();
                continue;  // (a removed line is never kNoLine)
            }
            cell = {kNoLine, kNoLine, ROW_FILLER, FillerMessage(side)};
            if (partner.kind == ROW_COMMON)
                partner.kind = OnlyKind(other);
        }
        outRows.push_back(cell);
        outOther.push_back(partner);
        if (line != kNoLine && line == anchor)
            addNewLines();
    }
    if (!placed)
        addNewLines();
    return out;
}

}  // namespace kl
