#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kl {

enum RowKind : std::int16_t { ROW_COMMON = 0, ROW_ONLY_A = 1, ROW_ONLY_B = 2, ROW_FILLER = 3 };
enum BlockKind : std::int32_t { BLOCK_NONE = -1, BLOCK_COMMON = 0, BLOCK_ONLY_A = 1, BLOCK_ONLY_B = 2 };

// One row of one column of the aligned result.
struct DisplayRow {
    std::int32_t rowNo = 0;
    std::int32_t lineIndex = -1;  // line in the column's own text, -1 for a filler row
    std::string text;             // the line with its line end, or the filler message
    std::int16_t kind = ROW_FILLER;
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

}  // namespace kl
