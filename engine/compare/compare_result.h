#pragma once
// The value one comparison run produces. It keeps the two texts it was made from alive, so
// every reader (views, merge, line windows) can hold on to it while the user loads other
// files. Per side it holds the match fields of every line, the aligned rows (line indexes,
// never copied bytes) and the block list.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/compare/partner_slot_table.h"
#include "engine/compare/row_column.h"
#include "engine/document/text.h"
#include "engine/settings/default_messages.h"

namespace kl {

inline constexpr int DOC_A = 0;
inline constexpr int DOC_B = 1;

// ROW_CHANGED appears only in the paired display: a DocA-only and a DocB-only line that
// stand side by side in one row.
enum RowKind : std::int8_t { ROW_COMMON = 0, ROW_ONLY_A = 1, ROW_ONLY_B = 2, ROW_FILLER = 3, ROW_CHANGED = 4 };
enum BlockKind : std::int32_t { BLOCK_NONE = -1, BLOCK_COMMON = 0, BLOCK_ONLY_A = 1, BLOCK_ONLY_B = 2 };

// The text that stands in a filler row.
enum class RowMessage : std::uint8_t {
    None,          // a row with a line
    Left,          // the left message, opposite a DocB-only line
    Right,         // the right message, opposite a DocA-only line
    RightNumbered, // the right message with its "%d" replaced: a moved line, position messages off
    PartnerAbove,  // "<< 上位%d行目に存在": a moved line whose partner lies above
    PartnerBelow,  // "<< 下位%d行目に存在": a moved line whose partner lies below
    LeftOut,       // a line that took no part (blank or filtered), or the empty filler opposite
};

// One row of one column of the aligned result; row k of both columns is one screen row.
struct DisplayRow {
    std::int32_t lineIndex = kNoLine;    // line in the column's own text, kNoLine for a filler
    std::int32_t partnerLine = kNoLine;  // filler of a moved line: the partner's 0-based line
    RowKind kind = ROW_FILLER;
    RowMessage message = RowMessage::None;
};

// One run of rows of one kind on one side. Lines are given by index in the side's text
// (-1 where the text is empty or the position was never set).
struct DiffBlock {
    std::int32_t kind = BLOCK_NONE;
    std::int32_t firstLineIndex = -1;
    std::int32_t lastLineIndex = -1;
    std::int32_t lineCount = 0;
    std::int32_t firstRow = 0;
    std::int32_t blockNo = 0;
};

// The partner line numbers of every line in one flat store: line i owns
// lines[starts[i], starts[i + 1]). The first entry is the primary partner's line.
struct PartnerLists {
    std::vector<std::uint32_t> starts;  // line count + 1 entries, or none for no lines
    std::vector<std::int32_t> lines;

    std::span<const std::int32_t> Of(int line) const
    {
        if (starts.empty())
            return {};
        const auto k = static_cast<std::size_t>(line);
        return std::span<const std::int32_t>(lines).subspan(starts[k], starts[k + 1] - starts[k]);
    }
};

struct LineEndCounts {
    int lf = 0;    // one-byte line ends (LF or a lone CR)
    int crlf = 0;  // CR LF
};

// The texts a run puts into filler rows, captured when the run starts (code page 932).
struct RowMessages {
    std::string left{kDefaultLeftMessage};    // left column, opposite a DocB-only line
    std::string right{kDefaultRightMessage};  // right column, opposite a DocA-only line
    bool positionMessages = true;             // moved lines name their partner's line number
};

// Everything a run found for one text.
struct SideResult {
    std::vector<std::int32_t> blockSize;      // per line: lines of its common block, 0 = none
    PartnerSlotTable partnerSlots;            // per line
    PartnerLists partnerLines;
    SharedColumn<DisplayRow> rows;            // this side's column
    std::vector<DiffBlock> blocks;            // in row order
    LineEndCounts lineEnds;
};

enum class RunOutcome {
    Completed,
    StoppedInRows,      // stopped while counting or building rows: the rows built so far,
                        // no blocks
    StoppedInMatching,  // stopped before any row was built: nothing to show
    NoTexts,            // a text was missing: nothing was compared
    Failed,             // the run could not be carried out (out of memory): nothing to show
};

struct CompareResult {
    TextPair texts;
    RowMessages messages;
    std::array<SideResult, 2> sides;
    RunOutcome outcome = RunOutcome::Completed;

    int RowCount() const { return static_cast<int>(sides[DOC_A].rows.size()); }
    // A finished comparison of two texts (either may be empty), as opposed to no run, a
    // stopped run or a failed one.
    bool IsComparison() const { return texts[DOC_A] && texts[DOC_B] && outcome == RunOutcome::Completed; }
    const std::vector<DisplayRow>& Rows(int side) const { return sides[static_cast<std::size_t>(side)].rows.get(); }
    const std::vector<DiffBlock>& Blocks(int side) const { return sides[static_cast<std::size_t>(side)].blocks; }
    // The side's text, or nullptr when it had none.
    const Text* TextOf(int side) const { return texts[static_cast<std::size_t>(side)].get(); }
};

// Built-in position texts, code page 932 bytes.
// "<< 上位%d行目に存在": the partner lies above the current DocB position.
inline constexpr std::string_view kPartnerAboveMessage =
    "<< \x8f\xe3\x88\xca%d\x8d" "s\x96\xda\x82\xc9\x91\xb6\x8d\xdd";
// "<< 下位%d行目に存在": the partner lies below the current DocB position.
inline constexpr std::string_view kPartnerBelowMessage =
    "<< \x89\xba\x88\xca%d\x8d" "s\x96\xda\x82\xc9\x91\xb6\x8d\xdd";

// The text with its first "%d" replaced by number; unchanged when it has none. No other
// character of the text has any meaning, so user-edited messages are safe to pass.
std::string ReplaceFirstNumberField(std::string_view text, int number);

// The bytes row shows in column side: its line's text (line end included) or its filler
// message. A formatted message is built in scratch, which the answer may point into.
std::string_view RowText(const CompareResult& result, int side, const DisplayRow& row, std::string& scratch);

}  // namespace kl
