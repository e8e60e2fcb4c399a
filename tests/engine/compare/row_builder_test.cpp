#include "engine/compare/row_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/compare/line_matching.h"
#include "engine/document/text_loader.h"

namespace {

using kl::DiffBlock;
using kl::DisplayRow;
using kl::TextDocument;

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

TextDocument MakeDoc(std::string_view a, std::string_view b)
{
    TextDocument doc;
    doc.lineTables[kl::DOC_A] = std::make_unique<kl::LineTable>(kl::SplitLines(a, false));
    doc.lineTables[kl::DOC_B] = std::make_unique<kl::LineTable>(kl::SplitLines(b, false));
    return doc;
}

// Fills the match fields the way a comparison run does.
void Match(TextDocument& doc, int mode)
{
    kl::LineTable& a = *doc.lineTables[kl::DOC_A];
    kl::LineTable& b = *doc.lineTables[kl::DOC_B];
    kl::ResetMatchFields(a, b);
    const kl::MatchContext context{kl::CompareOptions{}, mode, {}};
    const int value = kl::MatchPass(0, 40, a, b, context);
    kl::MatchPass(value, 40, b, a, context);
}

TextDocument Compared(std::string_view a, std::string_view b, int mode = kl::COMPARE_NORMAL,
                      const kl::RowMessages& messages = {})
{
    TextDocument doc = MakeDoc(a, b);
    Match(doc, mode);
    kl::BuildRows(84, {}, doc, messages);
    return doc;
}

struct Row {
    int kindA, lineA;
    std::string textA;
    int kindB, lineB;
    std::string textB;
};

void ExpectRows(const TextDocument& doc, const std::vector<Row>& expected)
{
    ASSERT_EQ(doc.rowsA.size(), expected.size());
    ASSERT_EQ(doc.rowsB.size(), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r) {
        SCOPED_TRACE("row " + std::to_string(r));
        EXPECT_EQ(doc.rowsA[r].kind, expected[r].kindA);
        EXPECT_EQ(doc.rowsA[r].lineIndex, expected[r].lineA);
        EXPECT_EQ(doc.rowsA[r].text, expected[r].textA);
        EXPECT_EQ(doc.rowsB[r].kind, expected[r].kindB);
        EXPECT_EQ(doc.rowsB[r].lineIndex, expected[r].lineB);
        EXPECT_EQ(doc.rowsB[r].text, expected[r].textB);
    }
}

// What every result must satisfy: rows in pairs numbered by position, fillers without a
// line, each DocA line in exactly one row and each DocB line in at most one.
void ExpectWellFormed(const TextDocument& doc)
{
    ASSERT_EQ(doc.rowsA.size(), doc.rowsB.size());
    std::vector<int> seenA(static_cast<std::size_t>(doc.lineTables[0]->count()), 0);
    std::set<int> seenB;
    for (std::size_t r = 0; r < doc.rowsA.size(); ++r) {
        for (const DisplayRow* row : {&doc.rowsA[r], &doc.rowsB[r]}) {
            EXPECT_EQ(row->rowNo, static_cast<int>(r));
            EXPECT_EQ(row->kind == kl::ROW_FILLER, row->lineIndex < 0) << "row " << r;
        }
        if (doc.rowsA[r].lineIndex >= 0)
            ++seenA[static_cast<std::size_t>(doc.rowsA[r].lineIndex)];
        if (doc.rowsB[r].lineIndex >= 0) {
            EXPECT_TRUE(seenB.insert(doc.rowsB[r].lineIndex).second) << "DocB line twice, row " << r;
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

class RowBuilderModes : public ::testing::TestWithParam<int> {};

TEST_P(RowBuilderModes, IdenticalTextsGiveOneCommonBlock)
{
    const TextDocument doc = Compared("a\nb\nc\n", "a\nb\nc\n", GetParam());
    ExpectRows(doc, {{0, 0, "a\n", 0, 0, "a\n"}, {0, 1, "b\n", 0, 1, "b\n"}, {0, 2, "c\n", 0, 2, "c\n"}});
    ExpectWellFormed(doc);
    for (const auto* blocks : {&doc.blocksA, &doc.blocksB}) {
        ASSERT_EQ(blocks->size(), 2u);
        ExpectBlock((*blocks)[0], kl::BLOCK_NONE, 0, -1, 0, 0, 0);
        ExpectBlock((*blocks)[1], kl::BLOCK_COMMON, 0, 2, 0, 3, 1);
    }
}

TEST_P(RowBuilderModes, EmptyDocAGivesDocBOnlyRows)
{
    const TextDocument doc = Compared("", "x\ny\n", GetParam());
    ExpectRows(doc, {{3, -1, kLeft, 2, 0, "x\n"}, {3, -1, kLeft, 2, 1, "y\n"}});
    EXPECT_TRUE(doc.blocksA.empty());
    ASSERT_EQ(doc.blocksB.size(), 2u);
    ExpectBlock(doc.blocksB[0], kl::BLOCK_NONE, 0, -1, 0, 0, 0);
    ExpectBlock(doc.blocksB[1], kl::BLOCK_ONLY_B, 0, 1, 0, 2, 1);
}

TEST_P(RowBuilderModes, EmptyDocBGivesDocAOnlyRows)
{
    const TextDocument doc = Compared("x\ny", "", GetParam());
    ExpectRows(doc, {{1, 0, "x\n", 3, -1, kRight}, {1, 1, "y", 3, -1, kRight}});
    ASSERT_EQ(doc.blocksA.size(), 1u);
    ExpectBlock(doc.blocksA[0], kl::BLOCK_ONLY_A, 0, 1, 0, 2, 0);
    EXPECT_TRUE(doc.blocksB.empty());
}

TEST_P(RowBuilderModes, ThreeExtraLinesAtTheEndOfDocB)
{
    const TextDocument doc = Compared("a\nb\nc\n", "a\nb\nc\nx\ny\nz\n", GetParam());
    ExpectWellFormed(doc);
    ASSERT_EQ(doc.rowsA.size(), 6u);
    for (int r = 3; r < 6; ++r) {
        EXPECT_EQ(doc.rowsA[r].kind, kl::ROW_FILLER);
        EXPECT_EQ(doc.rowsA[r].text, kLeft);
        EXPECT_EQ(doc.rowsB[r].kind, kl::ROW_ONLY_B);
        EXPECT_EQ(doc.rowsB[r].lineIndex, r);
    }
    ASSERT_FALSE(doc.blocksB.empty());
    ExpectBlock(doc.blocksB.back(), kl::BLOCK_ONLY_B, 3, 5, 3, 3, 2);
    ExpectBlock(doc.blocksA.back(), kl::BLOCK_COMMON, 0, 2, 0, 3, 1);
}

TEST_P(RowBuilderModes, LinesMovedFromTheEndToTheStart)
{
    const TextDocument doc = Compared("a\nb\nc\nd\ne\n", "d\ne\na\nb\nc\n", GetParam());
    ExpectRows(doc, {
                        {3, -1, kLeft, 2, 0, "d\n"},
                        {3, -1, kLeft, 2, 1, "e\n"},
                        {0, 0, "a\n", 0, 2, "a\n"},
                        {0, 1, "b\n", 0, 3, "b\n"},
                        {0, 2, "c\n", 0, 4, "c\n"},
                        {0, 3, "d\n", 3, -1, Above(1)},
                        {0, 4, "e\n", 3, -1, Above(2)},
                    });
    ExpectWellFormed(doc);
    // The DocB-only rows close the initial record of both sides; the first common row
    // closes DocA's again, so it stands there twice.
    ASSERT_EQ(doc.blocksA.size(), 3u);
    ExpectBlock(doc.blocksA[0], kl::BLOCK_NONE, 0, 0, 0, 0, 0);
    ExpectBlock(doc.blocksA[1], kl::BLOCK_NONE, 0, 0, 0, 0, 1);
    ExpectBlock(doc.blocksA[2], kl::BLOCK_COMMON, 0, 4, 2, 5, 2);
    ASSERT_EQ(doc.blocksB.size(), 3u);
    ExpectBlock(doc.blocksB[0], kl::BLOCK_NONE, 0, -1, 0, 0, 0);
    ExpectBlock(doc.blocksB[1], kl::BLOCK_ONLY_B, 0, 1, 0, 2, 1);
    ExpectBlock(doc.blocksB[2], kl::BLOCK_COMMON, 2, 4, 2, 3, 2);
}

TEST_P(RowBuilderModes, ChangedLineInTheMiddle)
{
    const TextDocument doc = Compared("a\nb\nc\nd\n", "a\nb\nX\nd\n", GetParam());
    ExpectWellFormed(doc);
    ASSERT_GE(doc.rowsA.size(), 4u);
    EXPECT_EQ(doc.rowsA[2].kind, kl::ROW_ONLY_A);
    EXPECT_EQ(doc.rowsB[2].text, kRight);
    EXPECT_EQ(doc.rowsB.back().kind, kl::ROW_COMMON);
    EXPECT_EQ(doc.rowsB.back().lineIndex, 3);
    bool xShown = false;
    for (const DisplayRow& row : doc.rowsB)
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
    const TextDocument doc = Compared("a\nb\nc\nd\ne\nq\n", "d\ne\na\nb\nc\n", kl::COMPARE_NORMAL, messages);
    ExpectWellFormed(doc);
    ASSERT_EQ(doc.rowsB.size(), 8u);
    EXPECT_EQ(doc.rowsB[5].text, "R%s1%n%d");  // moved d: partner is DocB line 1
    EXPECT_EQ(doc.rowsB[6].text, "R%s2%n%d");
    EXPECT_EQ(doc.rowsA[7].kind, kl::ROW_ONLY_A);
    EXPECT_EQ(doc.rowsB[7].text, "R%s%d%n%d");  // a DocA-only row takes the message as is
}

TEST(RowBuilder, ProgressRunsFromTheStartValueTo100)
{
    TextDocument doc = MakeDoc("a\nb\nc\nd\ne\nf\ng\n", "x\ny\na\nb\nc\n");
    Match(doc, kl::COMPARE_NORMAL);
    std::vector<int> values;
    kl::BuildRows(84, [&values](int v) { values.push_back(v); }, doc, {});
    ASSERT_FALSE(values.empty());
    EXPECT_GE(values.front(), 84);
    EXPECT_EQ(values.back(), 100);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
}

// Tables with hand-set match fields, for states the matcher leaves only rarely.
class CraftedLinks : public ::testing::Test {
protected:
    void SetUp() override { doc_ = MakeDoc("a0\na1\na2\n", "b0\nb1\nb2\nb3\n"); }
    kl::LineRecord& A(int i) { return doc_.lineTables[kl::DOC_A]->lines[static_cast<std::size_t>(i)]; }
    kl::LineRecord& B(int j) { return doc_.lineTables[kl::DOC_B]->lines[static_cast<std::size_t>(j)]; }
    static void Link(kl::LineRecord& line, int blockSize, std::vector<std::int32_t> partners, int slot0)
    {
        line.blockSize = blockSize;
        line.partnerLines = std::move(partners);
        line.partnerSlots[0] = slot0;
    }
    void Build()
    {
        kl::BuildRows(84, {}, doc_, {});
        ExpectWellFormed(doc_);
    }
    TextDocument doc_;
};

TEST_F(CraftedLinks, BlockWithoutPartnerListGivesDocAOnlyRow)
{
    Link(A(0), 2, {}, 1);
    Build();
    EXPECT_EQ(doc_.rowsA[0].kind, kl::ROW_ONLY_A);
    EXPECT_EQ(doc_.rowsA[0].lineIndex, 0);
}

TEST_F(CraftedLinks, PrimaryPartnerWithoutPartnerListGivesDocAOnlyRow)
{
    Link(A(0), 1, {2}, 2);
    Link(B(2), 1, {}, 0);
    Build();
    EXPECT_EQ(doc_.rowsA[0].kind, kl::ROW_ONLY_A);
    EXPECT_EQ(doc_.rowsA[0].lineIndex, 0);
}

TEST_F(CraftedLinks, FirstPartnerHereButOtherBlockSizeGivesDocAOnlyRow)
{
    Link(A(0), 3, {0}, 0);
    Link(B(0), 2, {0}, 0);
    Build();
    EXPECT_EQ(doc_.rowsA[0].kind, kl::ROW_ONLY_A);
    EXPECT_EQ(doc_.rowsA[0].lineIndex, 0);
}

TEST_F(CraftedLinks, PrimaryPartnerIsTheLineInSlotZero)
{
    // partnerLines names b1 first, slot 0 holds b3; b3 claims a0 back, so DocB lines are
    // shown until the partner list's first entry is reached.
    Link(A(0), 2, {1}, 3);
    Link(B(3), 2, {0}, 0);
    Link(B(1), 2, {7}, 0);
    Build();
    ExpectRows(doc_, {
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
        kl::BuildRows(84, {}, doc_, {});
        SCOPED_TRACE(c.slot0OfB0);
        EXPECT_EQ(doc_.rowsB[0].kind, c.expectedKindB);
        ExpectWellFormed(doc_);
    }
}

TEST_F(CraftedLinks, PartnerFurtherDownGetsTheBelowMessage)
{
    Link(A(0), 1, {0}, 0);
    Link(B(0), 1, {0}, 0);
    Link(A(1), 1, {2, 0}, 2);
    Link(B(2), 1, {0}, 0);
    Build();
    ASSERT_GE(doc_.rowsA.size(), 2u);
    EXPECT_EQ(doc_.rowsA[0].kind, kl::ROW_COMMON);
    EXPECT_EQ(doc_.rowsA[1].kind, kl::ROW_COMMON);
    EXPECT_EQ(doc_.rowsA[1].lineIndex, 1);
    EXPECT_EQ(doc_.rowsB[1].text, Below(3));
}

TEST_F(CraftedLinks, PartnerNumbersOutsideTheOtherTextAreNotFollowed)
{
    Link(B(0), 2, {}, 50);   // slot 0 beyond DocA
    Link(A(0), 1, {0}, 0);
    Link(A(1), 3, {99}, 99);  // first partner beyond DocB
    Link(A(2), 3, {2}, 99);   // partner in range, slot 0 beyond DocB
    Build();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(doc_.rowsA[i].kind, kl::ROW_ONLY_A) << i;
}

// Arbitrary match fields, including partner numbers outside the other text: the builder
// must finish with every DocA line in exactly one row.
TEST(RowBuilder, AnyLinksGiveWellFormedRows)
{
    std::mt19937 rng(7);
    auto pick = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    for (int round = 0; round < 500; ++round) {
        const int nA = pick(0, 8);
        const int nB = pick(0, 8);
        std::string a, b;
        for (int i = 0; i < nA; ++i)
            a += "a" + std::to_string(i) + "\n";
        for (int j = 0; j < nB; ++j)
            b += "b" + std::to_string(j) + "\n";
        TextDocument doc = MakeDoc(a, b);
        for (int side = 0; side < 2; ++side) {
            const int other = side == 0 ? nB : nA;
            for (kl::LineRecord& line : doc.lineTables[side]->lines) {
                line.blockSize = pick(0, 4);
                for (int k = pick(0, 3); k > 0; --k)
                    line.partnerLines.push_back(pick(-1, other + 1));
                line.partnerSlots[0] = pick(-1, other + 1);
            }
        }
        kl::BuildRows(84, {}, doc, {});
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectWellFormed(doc);
    }
}

}  // namespace
