#include "engine/display/difference_navigation.h"

#include "engine/display/display_options.h"
#include "engine/compare/compare_result.h"

namespace kl {

namespace {

bool IsDifference(const DiffBlock& block)
{
    return block.kind > BLOCK_COMMON;
}

DifferenceStop StopAt(const DiffBlock& block, int side, int displayMode)
{
    return {side, block.kind, block.firstRow, DifferencePosition(block, displayMode)};
}

// One step of the walk over both lists: the index of the block to take next on each side
// moves by step (+1 forward, -1 backward). Forward, the block with the smaller first row
// comes first; backward the one with the greater. On equal rows DocA's block is taken and
// both sides move on.
class DifferenceWalk {
public:
    DifferenceWalk(const std::vector<DiffBlock>& blocksA, const std::vector<DiffBlock>& blocksB, int displayMode,
                   int step)
        : a_(blocksA), b_(blocksB), mode_(displayMode), step_(step)
    {
        if (step_ < 0) {
            i_ = static_cast<long long>(a_.size()) - 1;
            j_ = static_cast<long long>(b_.size()) - 1;
        }
    }

    std::optional<DifferenceStop> Take()
    {
        SkipCommon(a_, i_);
        SkipCommon(b_, j_);
        const bool aLeft = Valid(a_, i_);
        const bool bLeft = Valid(b_, j_);
        if (!aLeft && !bLeft)
            return std::nullopt;
        if (!aLeft)
            return TakeB();
        if (!bLeft)
            return TakeA();
        const int rowA = At(a_, i_).firstRow;
        const int rowB = At(b_, j_).firstRow;
        if (rowA == rowB) {
            j_ += step_;
            return TakeA();
        }
        const bool aFirst = step_ > 0 ? rowA < rowB : rowA > rowB;
        return aFirst ? TakeA() : TakeB();
    }

private:
    static bool Valid(const std::vector<DiffBlock>& blocks, long long k)
    {
        return k >= 0 && k < static_cast<long long>(blocks.size());
    }
    static const DiffBlock& At(const std::vector<DiffBlock>& blocks, long long k)
    {
        return blocks[static_cast<std::size_t>(k)];
    }
    void SkipCommon(const std::vector<DiffBlock>& blocks, long long& k) const
    {
        while (Valid(blocks, k) && !IsDifference(At(blocks, k)))
            k += step_;
    }
    DifferenceStop TakeA()
    {
        const DifferenceStop stop = StopAt(At(a_, i_), DOC_A, mode_);
        i_ += step_;
        return stop;
    }
    DifferenceStop TakeB()
    {
        const DifferenceStop stop = StopAt(At(b_, j_), DOC_B, mode_);
        j_ += step_;
        return stop;
    }

    const std::vector<DiffBlock>& a_;
    const std::vector<DiffBlock>& b_;
    const int mode_;
    const int step_;
    long long i_ = 0;
    long long j_ = 0;
};

}  // namespace

int DifferencePosition(const DiffBlock& block, int displayMode)
{
    return displayMode == DISPLAY_RESULT ? block.firstRow : block.firstLineIndex;
}

std::optional<DifferenceStop> FindNextDifference(const std::vector<DiffBlock>& blocksA,
                                                 const std::vector<DiffBlock>& blocksB, int displayMode,
                                                 int diffPosition)
{
    DifferenceWalk walk(blocksA, blocksB, displayMode, +1);
    while (const std::optional<DifferenceStop> stop = walk.Take()) {
        if (stop->position > diffPosition)
            return stop;
    }
    return std::nullopt;
}

std::optional<DifferenceStop> FindPreviousDifference(const std::vector<DiffBlock>& blocksA,
                                                     const std::vector<DiffBlock>& blocksB, int displayMode,
                                                     int diffPosition)
{
    DifferenceWalk walk(blocksA, blocksB, displayMode, -1);
    while (const std::optional<DifferenceStop> stop = walk.Take()) {
        if (stop->position < diffPosition)
            return stop;
    }
    return std::nullopt;
}

namespace {

bool WalksShownBlocks(const ShownRows& shown)
{
    return shown.options().mode == DISPLAY_RESULT && shown.options().paired;
}

DifferenceStop StopAtShownBlock(const ShownRows& shown, int block)
{
    const int row = shown.BlockFirstRow(block);
    const bool left = shown.LineAt(DOC_A, row) != kNoLine;
    return {left ? DOC_A : DOC_B, left ? BLOCK_ONLY_A : BLOCK_ONLY_B, row, row};
}

}  // namespace

std::optional<DifferenceStop> FindNextDifference(const ShownRows& shown, int diffPosition)
{
    if (!WalksShownBlocks(shown))
        return FindNextDifference(shown.result()->Blocks(DOC_A), shown.result()->Blocks(DOC_B),
                                  shown.options().mode, diffPosition);
    for (int block = 0; block < shown.BlockCount(); ++block) {
        if (shown.BlockFirstRow(block) > diffPosition)
            return StopAtShownBlock(shown, block);
    }
    return std::nullopt;
}

std::optional<DifferenceStop> FindPreviousDifference(const ShownRows& shown, int diffPosition)
{
    if (!WalksShownBlocks(shown))
        return FindPreviousDifference(shown.result()->Blocks(DOC_A), shown.result()->Blocks(DOC_B),
                                      shown.options().mode, diffPosition);
    for (int block = shown.BlockCount() - 1; block >= 0; --block) {
        if (shown.BlockFirstRow(block) < diffPosition)
            return StopAtShownBlock(shown, block);
    }
    return std::nullopt;
}

bool CanGoToNextDifference(const std::vector<DiffBlock>& blocksA, const std::vector<DiffBlock>& blocksB,
                           int displayMode, int diffPosition)
{
    return FindNextDifference(blocksA, blocksB, displayMode, diffPosition).has_value();
}

bool CanGoToPreviousDifference(const std::vector<DiffBlock>& blocksA, const std::vector<DiffBlock>& blocksB,
                               int displayMode, int diffPosition)
{
    return FindPreviousDifference(blocksA, blocksB, displayMode, diffPosition).has_value();
}

int DiffPositionAfterNext(const DifferenceStop& stop)
{
    return stop.position + 1;
}

int DiffPositionAfterPrevious(const DifferenceStop& stop)
{
    return stop.position - 1;
}

}  // namespace kl
