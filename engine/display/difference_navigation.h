#pragma once
// Where the next and previous difference commands go: a walk over the two block lists of a
// finished comparison. Only blocks of a difference kind (only in DocA, only in DocB) are
// stops; the common blocks and the leading BLOCK_NONE records are stepped over.
#include <optional>
#include <vector>

#include "engine/compare/compare_result.h"
#include "engine/display/shown_rows.h"

namespace kl {

// A block the walk stopped at.
struct DifferenceStop {
    int side = 0;      // DOC_A when taken from blocksA, DOC_B from blocksB
    int kind = 0;      // the block's kind (BLOCK_ONLY_A or BLOCK_ONLY_B)
    int firstRow = 0;  // the block's first result row
    int position = 0;  // firstRow in DISPLAY_RESULT, the block's first line in DISPLAY_SOURCE
};

// The block's position as the views of displayMode number their rows.
int DifferencePosition(const DiffBlock& block, int displayMode);

// Walks both lists from their starts in row order (on equal first rows the DocA block is
// taken and the DocB block passed over) and stops at the first block whose position is
// greater than diffPosition; none when no block lies beyond it.
std::optional<DifferenceStop> FindNextDifference(const std::vector<DiffBlock>& blocksA,
                                                 const std::vector<DiffBlock>& blocksB, int displayMode,
                                                 int diffPosition);

// The same walk from the ends backwards (greater first row first, DocA's on equal rows),
// stopping at the first block whose position is smaller than diffPosition.
std::optional<DifferenceStop> FindPreviousDifference(const std::vector<DiffBlock>& blocksA,
                                                     const std::vector<DiffBlock>& blocksB, int displayMode,
                                                     int diffPosition);

// Whether the commands would move: exactly when the walk finds a block, so that an enabled
// command never does nothing.
bool CanGoToNextDifference(const std::vector<DiffBlock>& blocksA, const std::vector<DiffBlock>& blocksB,
                           int displayMode, int diffPosition);
bool CanGoToPreviousDifference(const std::vector<DiffBlock>& blocksA, const std::vector<DiffBlock>& blocksB,
                               int displayMode, int diffPosition);

// The same walks over what shown shows: its result's block lists in its display mode, or
// with changed lines paired the first rows of its blocks, as the rows moved.
std::optional<DifferenceStop> FindNextDifference(const ShownRows& shown, int diffPosition);
std::optional<DifferenceStop> FindPreviousDifference(const ShownRows& shown, int diffPosition);

// diffPosition after landing on stop: one past it going forward, one before it going back,
// so that the following step in the same direction moves on.
int DiffPositionAfterNext(const DifferenceStop& stop);
int DiffPositionAfterPrevious(const DifferenceStop& stop);

}  // namespace kl
