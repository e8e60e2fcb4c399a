// The walk of the next and previous difference commands over the block lists.
#include "engine/display/difference_navigation.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/display/display_options.h"
#include "tests/engine/merge/compared_result.h"

namespace {

using kl::DiffBlock;
using Blocks = std::vector<DiffBlock>;

DiffBlock Block(int kind, int firstRow, int firstLine = -1)
{
    DiffBlock block;
    block.kind = kind;
    block.firstRow = firstRow;
    block.firstLineIndex = firstLine < 0 ? firstRow : firstLine;
    block.lineCount = kind > 0 ? 1 : 0;
    return block;
}
DiffBlock None(int firstRow = 0)
{
    return Block(kl::BLOCK_NONE, firstRow);
}
DiffBlock Common(int firstRow, int firstLine = -1)
{
    return Block(kl::BLOCK_COMMON, firstRow, firstLine);
}
DiffBlock OnlyA(int firstRow, int firstLine = -1)
{
    return Block(kl::BLOCK_ONLY_A, firstRow, firstLine);
}
DiffBlock OnlyB(int firstRow, int firstLine = -1)
{
    return Block(kl::BLOCK_ONLY_B, firstRow, firstLine);
}

struct Expected {
    int side;
    int position;
};

struct WalkCase {
    const char* name;
    Blocks a;
    Blocks b;
    int mode;
    int from;
    std::optional<Expected> next;
    std::optional<Expected> previous;
};

// Failure messages name the case.
void PrintTo(const WalkCase& c, std::ostream* out)
{
    *out << c.name;
}

template <typename Stop>
std::string Describe(const std::optional<Stop>& stop)
{
    if (!stop)
        return "none";
    return "side " + std::to_string(stop->side) + " position " + std::to_string(stop->position);
}

constexpr int A = kl::DOC_A;
constexpr int B = kl::DOC_B;
constexpr int RESULT = kl::DISPLAY_RESULT;
constexpr int SOURCE = kl::DISPLAY_SOURCE;

const WalkCase kWalkCases[] = {
    {"a block at row 0 is not beyond position 0",
     {None(), OnlyA(0), Common(2)}, {None(), Common(0), OnlyB(5)}, RESULT, 0, Expected{B, 5}, std::nullopt},
    {"only a block at row 0: nothing either way from 0",
     {None(), OnlyA(0), Common(3)}, {None(), Common(0)}, RESULT, 0, std::nullopt, std::nullopt},
    {"a block on the position itself is passed in both directions",
     {Common(0), OnlyA(4), Common(6)}, {Common(0)}, RESULT, 4, std::nullopt, std::nullopt},
    {"the nearest block in row order, whichever side",
     {Common(0), OnlyA(2), Common(3), OnlyA(8)}, {Common(0), OnlyB(5), Common(6)}, RESULT, 3, Expected{B, 5},
     Expected{A, 2}},
    {"equal first rows: DocA's block is taken",
     {Common(0), OnlyA(5), Common(7)}, {Common(0), OnlyB(5), Common(7)}, RESULT, 1, Expected{A, 5}, std::nullopt},
    {"equal first rows backwards: DocA's block is taken",
     {Common(0), OnlyA(5)}, {Common(0), OnlyB(5)}, RESULT, 9, std::nullopt, Expected{A, 5}},
    {"no differences at all",
     {None(), Common(0)}, {None(), Common(0)}, RESULT, 0, std::nullopt, std::nullopt},
    {"BLOCK_NONE records are no stops",
     {None(0), None(0), Common(0)}, {None(0), Common(0)}, RESULT, -1, std::nullopt, std::nullopt},
    {"empty lists", {}, {}, RESULT, 0, std::nullopt, std::nullopt},
    {"DocA's list empty", {}, {OnlyB(0), OnlyB(3)}, RESULT, 1, Expected{B, 3}, Expected{B, 0}},
    {"DocB's list empty", {OnlyA(2), OnlyA(6)}, {}, RESULT, 4, Expected{A, 6}, Expected{A, 2}},
    // Source mode compares line numbers with the position but still walks in row order:
    // DocB's block (row 3, line 7) comes before DocA's (row 10, line 4).
    {"source mode: positions are first lines",
     {Common(0), OnlyA(10, 4)}, {Common(0), OnlyB(3, 7)}, SOURCE, 5, Expected{B, 7}, Expected{A, 4}},
    {"result mode: positions are first rows",
     {Common(0), OnlyA(10, 4)}, {Common(0), OnlyB(3, 7)}, RESULT, 5, Expected{A, 10}, Expected{B, 3}},
    {"source mode: the first block in row order beyond the position wins, not the nearest line",
     {Common(0), OnlyA(10, 20)}, {Common(0), OnlyB(12, 9)}, SOURCE, 5, Expected{A, 20}, std::nullopt},
};

class DifferenceWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(DifferenceWalkTest, FindsTheExpectedBlock)
{
    const WalkCase& c = GetParam();
    SCOPED_TRACE(c.name);
    const auto next = kl::FindNextDifference(c.a, c.b, c.mode, c.from);
    const auto previous = kl::FindPreviousDifference(c.a, c.b, c.mode, c.from);
    EXPECT_EQ(Describe(next), Describe(c.next));
    EXPECT_EQ(Describe(previous), Describe(c.previous));
    // The commands are enabled exactly when they would move.
    EXPECT_EQ(kl::CanGoToNextDifference(c.a, c.b, c.mode, c.from), c.next.has_value());
    EXPECT_EQ(kl::CanGoToPreviousDifference(c.a, c.b, c.mode, c.from), c.previous.has_value());
}

INSTANTIATE_TEST_SUITE_P(Cases, DifferenceWalkTest, ::testing::ValuesIn(kWalkCases),
                         [](const ::testing::TestParamInfo<WalkCase>& info) {
                             return "case" + std::to_string(info.index);
                         });

// Repeated steps, each from the position the previous one left.
std::vector<int> WalkForward(const Blocks& a, const Blocks& b, int from)
{
    std::vector<int> rows;
    while (const auto stop = kl::FindNextDifference(a, b, RESULT, from)) {
        rows.push_back(stop->position);
        from = kl::DiffPositionAfterNext(*stop);
    }
    return rows;
}
std::vector<int> WalkBackward(const Blocks& a, const Blocks& b, int from)
{
    std::vector<int> rows;
    while (const auto stop = kl::FindPreviousDifference(a, b, RESULT, from)) {
        rows.push_back(stop->position);
        from = kl::DiffPositionAfterPrevious(*stop);
    }
    return rows;
}

TEST(DifferenceWalk, AfterLandingTheBlockOnTheVeryNextRowIsSkipped)
{
    // Landing on row 3 leaves the position at 4, one past it; the block at row 4 is then
    // not beyond the position.
    const Blocks a{Common(0), OnlyA(3), Common(5), OnlyA(9)};
    const Blocks b{Common(0), OnlyB(4), Common(5)};
    EXPECT_EQ(WalkForward(a, b, 0), (std::vector<int>{3, 9}));
    // Backwards the same: landing on 9 leaves 8; 4 and then 3 are smaller, so 4 is taken and
    // leaves 3, which skips the block at row 3.
    EXPECT_EQ(WalkBackward(a, b, 100), (std::vector<int>{9, 4}));
}

TEST(DifferenceWalk, StepsThroughInterleavedSidesInRowOrder)
{
    const Blocks a{None(), Common(0), OnlyA(2), Common(4), OnlyA(11), Common(13)};
    const Blocks b{None(), Common(0), OnlyB(7), Common(9), OnlyB(20)};
    EXPECT_EQ(WalkForward(a, b, 0), (std::vector<int>{2, 7, 11, 20}));
    EXPECT_EQ(WalkBackward(a, b, 21), (std::vector<int>{20, 11, 7, 2}));
}

// Over the block lists of a real comparison, every stop is a row that differs, and every
// row opening a run of differing rows is reached (from before the first row).
TEST(DifferenceWalk, RealResultStopsAtEveryDifferingRun)
{
    const kl::CompareResult result =
        kltest::ComparedResult("a\nb\nc\nd\ne\nf\ng\n", "a\nx\nb\nc\ne\nf\ny\nz\ng\n");
    const std::vector<kl::DisplayRow>& rowsA = result.Rows(kl::DOC_A);
    const std::vector<kl::DisplayRow>& rowsB = result.Rows(kl::DOC_B);
    ASSERT_EQ(rowsA.size(), rowsB.size());
    std::vector<int> runStarts;
    bool inRun = false;
    for (std::size_t r = 0; r < rowsA.size(); ++r) {
        const bool differs = rowsA[r].kind != kl::ROW_COMMON || rowsB[r].kind != kl::ROW_COMMON;
        if (differs && !inRun)
            runStarts.push_back(static_cast<int>(r));
        inRun = differs;
    }
    ASSERT_FALSE(runStarts.empty());
    ASSERT_GT(runStarts.front(), 0);

    const std::vector<int> forward = WalkForward(result.Blocks(kl::DOC_A), result.Blocks(kl::DOC_B), 0);
    EXPECT_EQ(forward, runStarts);
    std::vector<int> backward =
        WalkBackward(result.Blocks(kl::DOC_A), result.Blocks(kl::DOC_B), static_cast<int>(rowsA.size()));
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, runStarts);
}

}  // namespace
