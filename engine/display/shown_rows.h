#pragma once
// The rows the text views show, as one immutable value: for each screen row, per side, the
// line it holds or the filler message it shows, the difference block it belongs to and
// whether it is a changed row of the paired display. Built once per result, text or display
// change, in time linear in the rows; every reader of "what is on row r" (views, overview
// bar, navigation, line windows, selection and copy, reports) asks it and nothing else.
//
// Columns list their side's lines in order, with filler rows between them. Shown as loaded
// (DISPLAY_SOURCE) a column is its text, line k on row k, and the two columns may differ in
// length; shown as the result they always have the same length.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/compare/compare_result.h"
#include "engine/display/display_options.h"
#include "engine/document/text.h"

namespace kl {

class ShownRows {
public:
    // Nothing to show.
    ShownRows();
    // The rows of options over result (DISPLAY_RESULT) or over texts (DISPLAY_SOURCE: the
    // texts as loaded now, which may be newer than the result's). result may be null for no
    // comparison.
    ShownRows(const TextPair& texts, std::shared_ptr<const CompareResult> result, const DisplayOptions& options);
    // The same, taking what it can from earlier, the rows of an older version: after an edit
    // that moved no line the result keeps its rows, and so do these; texts shown as loaded
    // keep them while their line counts stay.
    ShownRows(const TextPair& texts, std::shared_ptr<const CompareResult> result, const DisplayOptions& options,
              const ShownRows* earlier);

    const DisplayOptions& options() const { return options_; }
    const std::shared_ptr<const CompareResult>& result() const { return result_; }
    // The text a column shows its lines from; null when the side has none.
    const std::shared_ptr<const Text>& SharedText(int side) const { return texts_[Index(side)]; }
    const Text* TextOf(int side) const { return texts_[Index(side)].get(); }
    TextEncoding EncodingOf(int side) const;

    // Rows of the longer column.
    int RowCount() const { return rowCount_; }
    // Rows of side's column (shown as loaded: its line count).
    int ColumnRowCount(int side) const { return static_cast<int>(columns_[Index(side)].size()); }
    std::span<const DisplayRow> Column(int side) const { return columns_[Index(side)]; }
    // Row row of side's column (row < ColumnRowCount(side)). Shown as loaded every row has
    // kind ROW_COMMON and its line.
    const DisplayRow& Cell(int side, int row) const { return columns_[Index(side)][static_cast<std::size_t>(row)]; }
    // The line side shows on row, kNoLine for a filler or a row past the column's end.
    int LineAt(int side, int row) const;
    // The bytes side shows on row: the line with its line end, or the filler message. A
    // formatted message is built in scratch, which the answer may point into.
    std::string_view TextAt(int side, int row, std::string& scratch) const;

    // The difference block row belongs to: blocks are the runs of rows that are not common
    // on both sides, numbered from 0 down the rows; -1 for a common row and for every row
    // shown as loaded.
    int BlockOf(int row) const;
    int BlockCount() const { return blockCount_; }
    // The first row of block.
    int BlockFirstRow(int block) const { return blockStarts_[static_cast<std::size_t>(block)]; }
    // A changed row of the paired display: a DocA line beside the DocB line that replaced it.
    bool IsPaired(int row) const;

    // Where row of the comparison result stands here: itself unless changed lines are
    // paired (then the row its line moved to).
    int ShownRowOfResultRow(int resultRow) const;

    // These rows serve texts and result under options as well (see the constructor with
    // earlier).
    bool Serve(const TextPair& texts, const CompareResult& result, const DisplayOptions& options) const;
    // Rows built anew get a new number; rows taken over from an earlier version keep its
    // number, so a painting made from them still holds.
    std::uint64_t Generation() const { return generation_; }

private:
    static std::size_t Index(int side) { return side == DOC_B ? 1 : 0; }
    void BuildSource();
    void BuildResult();
    void BuildPaired();
    void NumberBlocks();

    DisplayOptions options_;
    TextPair texts_;
    std::shared_ptr<const CompareResult> result_;
    // Each column is the result's own when it is shown unchanged, else owned[side].
    std::array<std::span<const DisplayRow>, 2> columns_;
    // Shared with the rows of later versions that reuse them.
    std::array<SharedColumn<DisplayRow>, 2> owned_;
    std::shared_ptr<const std::vector<DisplayRow>> lineRows_;  // shown as loaded: row k holds line k
    SharedColumn<std::int32_t> blockOfRow_;   // empty when no row belongs to a block
    SharedColumn<std::int32_t> blockStarts_;
    SharedColumn<std::int32_t> shownRowOfResultRow_;  // paired display only
    int rowCount_ = 0;
    int blockCount_ = 0;
    std::uint64_t generation_ = 0;
};

}  // namespace kl
