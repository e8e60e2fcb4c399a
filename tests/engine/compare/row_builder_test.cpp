#include "engine/compare/row_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/compare/line_matching.h"
#include "engine/document/text_loader.h"
#include "tests/support/test_scale.h"

namespace {

using kl::CompareResult;
using kl::DiffBlock;
using kl::DisplayRow;

// "<< 上位%d行目に存在" / "<< 下位%d行目に存在" with the number filled in (code page 932).
std::string Above(int n)
{
    return "<< \x8f\xe3\x88\xca" + std::to_string(n) + "\x8d" "s\x96\xda\x82\xc9\x91\xb6\x8d\xdd";
}
std::string Below(int n)
{
    return "<< \x89\xba\x88\xca" + std::to_string(n) + "\x8d" "s\x96\xda\x82\xc9\x91\xb6\x8d\xdd";
}
const std::string kLeft(kl::kDefaultLeftMessage);
const std::string kRight(kl::kDefaultRightMessage);

// A result holding the two texts and empty match fields, as the row builder reads them.
CompareResult Unmatched(std::string_view a, std::string_view b, const kl::RowMessages& messages = {})
{
    CompareResult result;
    result.texts = {std::make_shared<const kl::Text>(kl::SplitLines(a, false)),
                    std::make_shared<const kl::Text>(kl::SplitLines(b, false))};
    result.messages = messages;
    for (int k : {kl::DOC_A, kl::DOC_B}) {
        const auto count = static_cast<std::size_t>(result.TextOf(k)->count());
        result.sides[k].blockSize.assign(count, 0);
        result.sides[k].partnerSlots = kl::PartnerSlotTable(static_cast<int>(count));
    }
    return result;
}

// Fills the match fields the way a comparison run does.
void Match(CompareResult& result, kl::CompareMode mode)
{
    kl::MatchSide a(*result.texts[kl::DOC_A]);
    kl::MatchSide b(*result.texts[kl::DOC_B]);
    const kl::MatchContext context{kl::CompareOptions{}, mode, {}, {}};
    const int value = kl::MatchPass(0, 40, a, b, context);
    kl::MatchPass(value, 40, b, a, context);
    for (kl::MatchSide* side : {&a, &b}) {
        kl::SideResult& to = result.sides[side == &a ? kl::DOC_A : kl::DOC_B];
        to.blockSize = side->blockSize;
        to.partnerSlots = side->partnerSlots;
        to.partnerLines = side->partnerLines.Pack();
    }
}

CompareResult Compared(std::string_view a, std::string_view b, kl::CompareMode mode = kl::COMPARE_NORMAL,
                       const kl::RowMessages& messages = {})
{
    CompareResult result = Unmatched(a, b, messages);
    Match(result, mode);
    EXPECT_TRUE(kl::BuildRows(84, {}, {}, result));
    return result;
}

struct Row {
    int kindA, lineA;
    std::string textA;
    int kindB, lineB;
    std::string textB;
};

std::string Text(const CompareResult& result, int side, std::size_t row)
{
    std::string scratch;
    return std::string(kl::RowText(result, side, result.Rows(side)[row], scratch));
}

void ExpectRows(const CompareResult& result, const std::vector<Row>& expected)
{
    const std::vector<DisplayRow>& rowsA = result.Rows(kl::DOC_A);
    const std::vector<DisplayRow>& rowsB = result.Rows(kl::DOC_B);
    ASSERT_EQ(rowsA.size(), expected.size());
    ASSERT_EQ(rowsB.size(), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r) {
        SCOPED_TRACE("row " + std::to_string(r));
        EXPECT_EQ(rowsA[r].kind, expected[r].kindA);
        EXPECT_EQ(rowsA[r].lineIndex, expected[r].lineA);
        EXPECT_EQ(Text(result, kl::DOC_A, r), expected[r].textA);
        EXPECT_EQ(rowsB[r].kind, expected[r].kindB);
        EXPECT_EQ(rowsB[r].lineIndex, expected[r].lineB);
        EXPECT_EQ(Text(result, kl::DOC_B, r), expected[r].textB);
    }
}

// What every result must satisfy: rows in pairs, fillers without a line and with a
// message, each DocA line in exactly one row and each DocB line in at most one.
void ExpectWellFormed(const CompareResult& result)
{
    const std::vector<DisplayRow>& rowsA = result.Rows(kl::DOC_A);
    const std::vector<DisplayRow>& rowsB = result.Rows(kl::DOC_B);
    ASSERT_EQ(rowsA.size(), rowsB.size());
    std::vector<int> seenA(static_cast<std::size_t>(result.TextOf(kl::DOC_A)->count()), 0);
    std::set<int> seenB;
    for (std::size_t r = 0; r < rowsA.size(); ++r) {
        for (const DisplayRow* row : {&rowsA[r], &rowsB[r]}) {
            EXPECT_EQ(row->kind == kl::ROW_FILLER, row->lineIndex < 0) << "row " << r;
            EXPECT_EQ(row->message == kl::RowMessage::None, row->lineIndex >= 0) << "row " << r;
        }
        if (rowsA[r].lineIndex >= 0)
            ++seenA[static_cast<std::size_t>(rowsA[r].lineIndex)];
        if (rowsB[r].lineIndex >= 0) {
            EXPECT_TRUE(seenB.insert(rowsB[r].lineIndex).second) << "DocB line twice, row " << r;
        }
    }
    for (std::size_t i = 0; i < seenA.size(); ++i)
        EXPECT_EQ(seenA[i], 1) << "DocA line " << i;
}

void ExpectBlock(const DiffBlock& block, int kind, int firstLine, int lastLine, int firstRow,
                 int lineCount, int blockNo)
{
    EXPECT_EQ(block.kind, kind);
    EXPECT_EQ(block.firstLineIndex, firstLine);
    EXPECT_EQ(block.lastLineIndex, lastLine);
    EXPECT_EQ(block.firstRow, firstRow);
    EXPECT_EQ(block.lineCount, lineCount);
    EXPECT_EQ(block.blockNo, blockNo);
}

TEST(PromotePartner, Table)
{
    struct Case {
        int j;
        std::vector<std::int32_t> list;
        int result;
        std::vector<std::int32_t> after;
    };
    const std::vector<Case> cases = {
        {5, {}, 0, {}},
        {5, {5}, 0, {5}},                  // already in front: unchanged
        {5, {3, 5}, 0, {5, 3, 5}},         // found later: j goes to the front, entry stays
        {5, {7, 2, 5, 1}, 0, {5, 7, 2, 5, 1}},
        {5, {1, 2, 8}, 2, {1, 2, 8}},      // not found: count of smaller entries
        {5, {8, 9}, 0, {8, 9}},
        {0, {3, 0}, 0, {0, 3, 0}},
        {4, {1, 2, 3}, 3, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        std::vector<std::int32_t> list = c.list;
        EXPECT_EQ(kl::PromotePartner(c.j, list), c.result) << "j " << c.j;
        EXPECT_EQ(list, c.after) << "j " << c.j;
    }
}

TEST(ReplaceFirstNumberField, OnlyTheFirstFieldIsFilled)
{
    EXPECT_EQ(kl::ReplaceFirstNumberField("x%dy%d", 12), "x12y%d");
    EXPECT_EQ(kl::ReplaceFirstNumberField("%s %n %x", 3), "%s %n %x");
    EXPECT_EQ(kl::ReplaceFirstNumberField("", 3), "");
    EXPECT_EQ(kl::ReplaceFirstNumberField("%", 3), "%");
}

class RowBuilderModes : public ::testing::TestWithParam<kl::CompareMode> {};

TEST_P(RowBuilderModes, IdenticalTextsGiveOneCommonBlock)
{
    const CompareResult result = Compared("a\nb\nc\n", "a\nb\nc\n", GetParam());
    ExpectRows(result, {{0, 0, "a\n", 0, 0, "a\n"}, {0, 1, "b\n", 0, 1, "b\n"}, {0, 2, "c\n", 0, 2, "c\n"}});
    ExpectWellFormed(result);
    for (const auto* blocks : {&result.Blocks(kl::DOC_A), &result.Blocks(kl::DOC_B)}) {
        ASSERT_EQ(blocks->size(), 2u);
        ExpectBlock((*blocks)[0], kl::BLOCK_NONE, 0, -1, 0, 0, 0);
        ExpectBlock((*blocks)[1], kl::BLOCK_COMMON, 0, 2, 0, 3, 1);
    }
}

TEST_P(RowBuilderModes, EmptyDocAGivesDocBOnlyRows)
{
    const CompareResult result = Compared("", "x\ny\n", GetParam());
    ExpectRows(result, {{3, -1, kLeft, 2, 0, "x\n"}, {3, -1, kLeft, 2, 1, "y\n"}});
    EXPECT_TRUE(result.Blocks(kl::DOC_A).empty());
    ASSERT_EQ(result.Blocks(kl::DOC_B).size(), 2u);
    ExpectBlock(result.Blocks(kl::DOC_B)[0], kl::BLOCK_NONE, 0, -1, 0, 0, 0);
    ExpectBlock(result.Blocks(kl::DOC_B)[1], kl::BLOCK_ONLY_B, 0, 1, 0, 2, 1);
}

TEST_P(RowBuilderModes, EmptyDocBGivesDocAOnlyRows)
{
    const CompareResult result = Compared("x\ny", "", GetParam());
    ExpectRows(result, {{1, 0, "x\n", 3, -1, kRight}, {1, 1, "y", 3, -1, kRight}});
    ASSERT_EQ(result.Blocks(kl::DOC_A).size(), 1u);
    ExpectBlock(result.Blocks(kl::DOC_A)[0], kl::BLOCK_ONLY_A, 0, 1, 0, 2, 0);
    EXPECT_TRUE(result.Blocks(kl::DOC_B).empty());
}

TEST_P(RowBuilderModes, ThreeExtraLinesAtTheEndOfDocB)
{
    const CompareResult result = Compared("a\nb\nc\n", "a\nb\nc\nx\ny\nz\n", GetParam());
    ExpectWellFormed(result);
    ASSERT_EQ(result.Rows(kl::DOC_A).size(), 6u);
    for (int r = 3; r < 6; ++r) {
        EXPECT_EQ(result.Rows(kl::DOC_A)[r].kind, kl::ROW_FILLER);
        EXPECT_EQ(Text(result, kl::DOC_A, r), kLeft);
        EXPECT_EQ(result.Rows(kl::DOC_B)[r].kind, kl::ROW_ONLY_B);
        EXPECT_EQ(result.Rows(kl::DOC_B)[r].lineIndex, r);
    }
    ASSERT_FALSE(result.Blocks(kl::DOC_B).empty());
    ExpectBlock(result.Blocks(kl::DOC_B).back(), kl::BLOCK_ONLY_B, 3, 5, 3, 3, 2);
    ExpectBlock(result.Blocks(kl::DOC_A).back(), kl::BLOCK_COMMON, 0, 2, 0, 3, 1);
}

TEST_P(RowBuilderModes, LinesMovedFromTheEndToTheStart)
{
    const CompareResult result = Compared("a\nb\nc\nd\ne\n", "d\ne\na\nb\nc\n", GetParam());
    ExpectRows(result, {
                        {3, -1, kLeft, 2, 0, "d\n"},
                        {3, -1, kLeft, 2, 1, "e\n"},
                        {0, 0, "a\n", 0, 2, "a\n"},
                        {0, 1, "b\n", 0, 3, "b\n"},
                        {0, 2, "c\n", 0, 4, "c\n"},
                        {0, 3, "d\n", 3, -1, Above(1)},
                        {0, 4, "e\n", 3, -1, Above(2)},
                    });
    ExpectWellFormed(result);
    // The DocB-only rows close the initial record of both sides; the first common row
    // closes DocA's again, so it stands there twice.
    ASSERT_EQ(result.Blocks(kl::DOC_A).size(), 3u);
    ExpectBlock(result.Blocks(kl::DOC_A)[0], kl::BLOCK_NONE, 0, 0, 0, 0, 0);
    ExpectBlock(result.Blocks(kl::DOC_A)[1], kl::BLOCK_NONE, 0, 0, 0, 0, 1);
    ExpectBlock(result.Blocks(kl::DOC_A)[2], kl::BLOCK_COMMON, 0, 4, 2, 5, 2);
    ASSERT_EQ(result.Blocks(kl::DOC_B).size(), 3u);
    ExpectBlock(result.Blocks(kl::DOC_B)[0], kl::BLOCK_NONE, 0, -1, 0, 0, 0);
    ExpectBlock(result.Blocks(kl::DOC_B)[1], kl::BLOCK_ONLY_B, 0, 1, 0, 2, 1);
    ExpectBlock(result.Blocks(kl::DOC_B)[2], kl::BLOCK_COMMON, 2, 4, 2, 3, 2);
}

TEST_P(RowBuilderModes, ChangedLineInTheMiddle)
{
    const CompareResult result = Compared("a\nb\nc\nd\n", "a\nb\nX\nd\n", GetParam());
    ExpectWellFormed(result);
    ASSERT_GE(result.Rows(kl::DOC_A).size(), 4u);
    EXPECT_EQ(result.Rows(kl::DOC_A)[2].kind, kl::ROW_ONLY_A);
    EXPECT_EQ(Text(result, kl::DOC_B, 2), kRight);
    EXPECT_EQ(result.Rows(kl::DOC_B).back().kind, kl::ROW_COMMON);
    EXPECT_EQ(result.Rows(kl::DOC_B).back().lineIndex, 3);
    bool xShown = false;
    for (const DisplayRow& row : result.Rows(kl::DOC_B))
        xShown = xShown || (row.lineIndex == 2 && row.kind == kl::ROW_ONLY_B);
    EXPECT_TRUE(xShown);
}

INSTANTIATE_TEST_SUITE_P(BothModes, RowBuilderModes,
                         ::testing::Values(kl::COMPARE_NORMAL, kl::COMPARE_DETAILED));

TEST(RowBuilder, PositionMessagesOffUseTheRightMessageWithoutFormatting)
{
    kl::RowMessages messages;
    messages.positionMessages = false;
    messages.right = "R%s%d%n%d";
    const CompareResult result = Compared("a\nb\nc\nd\ne\nq\n", "d\ne\na\nb\nc\n", kl::COMPARE_NORMAL, messages);
    ExpectWellFormed(result);
    ASSERT_EQ(result.Rows(kl::DOC_B).size(), 8u);
    EXPECT_EQ(Text(result, kl::DOC_B, 5), "R%s1%n%d");  // moved d: partner is DocB line 1
    EXPECT_EQ(Text(result, kl::DOC_B, 6), "R%s2%n%d");
    EXPECT_EQ(result.Rows(kl::DOC_A)[7].kind, kl::ROW_ONLY_A);
    EXPECT_EQ(Text(result, kl::DOC_B, 7), "R%s%d%n%d");  // a DocA-only row takes the message as is
}

TEST(RowBuilder, ProgressRunsFromTheStartValueTo100)
{
    CompareResult result = Unmatched("a\nb\nc\nd\ne\nf\ng\n", "x\ny\na\nb\nc\n");
    Match(result, kl::COMPARE_NORMAL);
    std::vector<int> values;
    EXPECT_TRUE(kl::BuildRows(84, [&values](int v) { values.push_back(v); }, {}, result));
    ASSERT_FALSE(values.empty());
    EXPECT_GE(values.front(), 84);
    EXPECT_EQ(values.back(), 100);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
}

// Results with hand-set match fields, for states the matcher leaves only rarely.
class CraftedLinks : public ::testing::Test {
protected:
    struct LineRef {
        int side;
        int line;
    };
    void SetUp() override
    {
        result_ = Unmatched("a0\na1\na2\n", "b0\nb1\nb2\nb3\n");
        partners_ = {std::vector<std::vector<std::int32_t>>(3), std::vector<std::vector<std::int32_t>>(4)};
    }
    static LineRef A(int i) { return {kl::DOC_A, i}; }
    static LineRef B(int j) { return {kl::DOC_B, j}; }
    void Link(LineRef at, int blockSize, std::vector<std::int32_t> partners, int slot0)
    {
        const auto line = static_cast<std::size_t>(at.line);
        result_.sides[at.side].blockSize[line] = blockSize;
        result_.sides[at.side].partnerSlots.Set(at.line, 0, slot0);
        partners_[at.side][line] = std::move(partners);
    }
    // Puts the partner lists into the result and builds the rows.
    void BuildOnly()
    {
        for (int side : {kl::DOC_A, kl::DOC_B}) {
            kl::PartnerChains chains(static_cast<int>(partners_[side].size()));
            for (std::size_t line = 0; line < partners_[side].size(); ++line) {
                for (std::int32_t partner : partners_[side][line])
                    chains.PushBack(static_cast<int>(line), partner);
            }
            result_.sides[side].partnerLines = chains.Pack();
        }
        kl::BuildRows(84, {}, {}, result_);
    }
    void Build()
    {
        BuildOnly();
        ExpectWellFormed(result_);
    }
    CompareResult result_;
    std::array<std::vector<std::vector<std::int32_t>>, 2> partners_;
};

TEST_F(CraftedLinks, BlockWithoutPartnerListGivesDocAOnlyRow)
{
    Link(A(0), 2, {}, 1);
    Build();
    EXPECT_EQ(result_.Rows(kl::DOC_A)[0].kind, kl::ROW_ONLY_A);
    EXPECT_EQ(result_.Rows(kl::DOC_A)[0].lineIndex, 0);
}

TEST_F(CraftedLinks, PrimaryPartnerWithoutPartnerListGivesDocAOnlyRow)
{
    Link(A(0), 1, {2}, 2);
    Link(B(2), 1, {}, 0);
    Build();
    EXPECT_EQ(result_.Rows(kl::DOC_A)[0].kind, kl::ROW_ONLY_A);
    EXPECT_EQ(result_.Rows(kl::DOC_A)[0].lineIndex, 0);
}

TEST_F(CraftedLinks, FirstPartnerHereButOtherBlockSizeGivesDocAOnlyRow)
{
    Link(A(0), 3, {0}, 0);
    Link(B(0), 2, {0}, 0);
    Build();
    EXPECT_EQ(result_.Rows(kl::DOC_A)[0].kind, kl::ROW_ONLY_A);
    EXPECT_EQ(result_.Rows(kl::DOC_A)[0].lineIndex, 0);
}

TEST_F(CraftedLinks, PrimaryPartnerIsTheLineInSlotZero)
{
    // partnerLines names b1 first, slot 0 holds b3; b3 claims a0 back, so DocB lines are
    // shown until the partner list's first entry is reached.
    Link(A(0), 2, {1}, 3);
    Link(B(3), 2, {0}, 0);
    Link(B(1), 2, {7}, 0);
    Build();
    ExpectRows(result_, {
                         {3, -1, kLeft, 2, 0, "b0\n"},
                         {0, 0, "a0\n", 0, 1, "b1\n"},
                         {1, 1, "a1\n", 3, -1, kRight},
                         {1, 2, "a2\n", 3, -1, kRight},
                         {3, -1, kLeft, 2, 2, "b2\n"},
                         {3, -1, kLeft, 2, 3, "b3\n"},
                     });
}

TEST_F(CraftedLinks, DocBBlockIsDiscountedOnlyWhenItsSlotZeroLineDisagrees)
{
    struct Case {
        int slot0OfB0;
        int expectedKindB;  // of row 0
    };
    // b0 lies in a block of 3, a0 in one of 1 with its partner b2 further down. b0 holds
    // a0 back (a0 becomes a DocA-only row) unless b0's primary partner, the line in its
    // slot 0, lies in a block of another size; then b0 is shown on its own first. An
    // empty slot 0 holds back.
    for (const Case c : {Case{-1, kl::ROW_FILLER}, Case{2, kl::ROW_ONLY_B}, Case{1, kl::ROW_FILLER}}) {
        SetUp();
        Link(A(0), 1, {2}, 2);
        Link(B(2), 1, {0}, 0);
        Link(B(0), 3, {}, c.slot0OfB0);
        Link(A(1), 3, {}, -1);
        Link(A(2), 1, {}, -1);
        BuildOnly();
        SCOPED_TRACE(c.slot0OfB0);
        EXPECT_EQ(result_.Rows(kl::DOC_B)[0].kind, c.expectedKindB);
        ExpectWellFormed(result_);
    }
}

TEST_F(CraftedLinks, PartnerFurtherDownGetsTheBelowMessage)
{
    Link(A(0), 1, {0}, 0);
    Link(B(0), 1, {0}, 0);
    Link(A(1), 1, {2, 0}, 2);
    Link(B(2), 1, {0}, 0);
    Build();
    ASSERT_GE(result_.Rows(kl::DOC_A).size(), 2u);
    EXPECT_EQ(result_.Rows(kl::DOC_A)[0].kind, kl::ROW_COMMON);
    EXPECT_EQ(result_.Rows(kl::DOC_A)[1].kind, kl::ROW_COMMON);
    EXPECT_EQ(result_.Rows(kl::DOC_A)[1].lineIndex, 1);
    EXPECT_EQ(Text(result_, kl::DOC_B, 1), Below(3));
}

TEST_F(CraftedLinks, PartnerNumbersOutsideTheOtherTextAreNotFollowed)
{
    Link(B(0), 2, {}, 50);   // slot 0 beyond DocA
    Link(A(0), 1, {0}, 0);
    Link(A(1), 3, {99}, 99);  // first partner beyond DocB
    Link(A(2), 3, {2}, 99);   // partner in range, slot 0 beyond DocB
    Build();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(result_.Rows(kl::DOC_A)[i].kind, kl::ROW_ONLY_A) << i;
}

// Arbitrary match fields, including partner numbers outside the other text: the builder
// must finish with every DocA line in exactly one row.
TEST(RowBuilder, AnyLinksGiveWellFormedRows)
{
    std::mt19937 rng(7);
    auto pick = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    for (int round = 0; round < kltest::ScaledCases(500); ++round) {
        const int nA = pick(0, 8);
        const int nB = pick(0, 8);
        std::string a, b;
        for (int i = 0; i < nA; ++i)
            a += "a" + std::to_string(i) + "\n";
        for (int j = 0; j < nB; ++j)
            b += "b" + std::to_string(j) + "\n";
        CompareResult result = Unmatched(a, b);
        for (int side = 0; side < 2; ++side) {
            const int own = side == 0 ? nA : nB;
            const int other = side == 0 ? nB : nA;
            kl::SideResult& fields = result.sides[side];
            kl::PartnerChains partners(own);
            for (int line = 0; line < own; ++line) {
                fields.blockSize[line] = pick(0, 4);
                for (int k = pick(0, 3); k > 0; --k)
                    partners.PushBack(line, pick(-1, other + 1));
                fields.partnerSlots.Set(line, 0, pick(-1, other + 1));
            }
            fields.partnerLines = partners.Pack();
        }
        kl::BuildRows(84, {}, {}, result);
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectWellFormed(result);
    }
}

}  // namespace
