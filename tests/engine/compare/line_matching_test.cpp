#include "engine/compare/line_matching.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "match_tables.h"

namespace {

using kl::COMPARE_DETAILED;
using kl::COMPARE_NORMAL;
using kl::kNoLine;
using kl::LineTable;
using kltest::LetterTable;
using kltest::MakeTable;
using Slots = std::array<std::int32_t, kl::kPartnerSlotCount>;
using Lines = std::vector<std::int32_t>;

constexpr Slots kNoSlots{kNoLine, kNoLine, kNoLine, kNoLine, kNoLine};
Slots Primary(int line) { return {line, kNoLine, kNoLine, kNoLine, kNoLine}; }

kl::MatchContext Context(int mode)
{
    kl::MatchContext context;
    context.mode = mode;
    return context;
}

// Reset and both passes, as a comparison run does them.
void MatchBoth(LineTable& a, LineTable& b, const kl::MatchContext& context)
{
    kl::ResetMatchFields(a, b);
    const int value = kl::MatchPass(0, 40, a, b, context);
    kl::MatchPass(value, 40, b, a, context);
}

// Distinct lines "<prefix><n>\n" for n in [first, first + count).
std::vector<std::string> Numbered(const std::string& prefix, int first, int count)
{
    std::vector<std::string> lines;
    for (int n = first; n < first + count; ++n) lines.push_back(prefix + std::to_string(n) + "\n");
    return lines;
}

class LineMatchingModes : public ::testing::TestWithParam<int> {
protected:
    void TearDown() override { kl::g_abortRequested = 0; }
};
INSTANTIATE_TEST_SUITE_P(BothModes, LineMatchingModes, ::testing::Values(COMPARE_NORMAL, COMPARE_DETAILED),
                         [](const auto& info) { return info.param == COMPARE_NORMAL ? "Normal" : "Detailed"; });

TEST_P(LineMatchingModes, IdenticalTextsFormOneBlock)
{
    LineTable a = LetterTable("abcdefgh");
    LineTable b = LetterTable("abcdefgh");
    MatchBoth(a, b, Context(GetParam()));
    for (const LineTable* table : {&a, &b}) {
        for (int i = 0; i < table->count(); ++i) {
            const kl::LineRecord& line = table->lines[static_cast<std::size_t>(i)];
            EXPECT_EQ(line.blockSize, 8) << i;
            EXPECT_EQ(line.partnerSlots, Primary(i)) << i;
            // Later searches find the block already linked and add nothing.
            EXPECT_EQ(line.partnerLines, Lines{i}) << i;
        }
    }
}

TEST_P(LineMatchingModes, MovedLinesFormTheirOwnBlock)
{
    LineTable a = LetterTable("abcde");
    LineTable b = LetterTable("deabc");
    MatchBoth(a, b, Context(GetParam()));
    const std::vector<int> expectedBlock{3, 3, 3, 2, 2};
    const std::vector<int> partnerInB{2, 3, 4, 0, 1};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(a.lines[i].blockSize, expectedBlock[i]) << i;
        EXPECT_EQ(a.lines[i].partnerSlots, Primary(partnerInB[i])) << i;
        EXPECT_EQ(b.lines[partnerInB[i]].partnerSlots, Primary(i)) << i;
        EXPECT_EQ(b.lines[partnerInB[i]].blockSize, expectedBlock[i]) << i;
    }
}

TEST_P(LineMatchingModes, LineEndOnlyLinesJoinRunsButAreNeverSearched)
{
    LineTable a = MakeTable({"x\n", "\n", "\r\n", "y\n"});
    LineTable b = MakeTable({"x\n", "\n", "\r\n", "y\n"});
    MatchBoth(a, b, Context(GetParam()));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(a.lines[i].blockSize, 4) << i;
        EXPECT_EQ(a.lines[i].partnerSlots, Primary(i)) << i;
    }

    LineTable emptyA = MakeTable({"\n", "x\n", "\r\n"});
    LineTable emptyB = MakeTable({"z\n", "\r\n", "\n"});
    MatchBoth(emptyA, emptyB, Context(GetParam()));
    for (const LineTable* table : {&emptyA, &emptyB}) {
        for (const kl::LineRecord& line : table->lines) {
            EXPECT_EQ(line.blockSize, 0);
            EXPECT_EQ(line.partnerSlots, kNoSlots);
            EXPECT_TRUE(line.partnerLines.empty());
        }
    }
}

TEST_P(LineMatchingModes, ALineKeepsAtMostFourPartnerSlots)
{
    // DocA's "a" first joins the block q-a; its own search then meets six lone "a" lines
    // before its partner and records each as a partner.
    LineTable a = LetterTable("qa");
    LineTable b = LetterTable("aaaaaaqa");
    MatchBoth(a, b, Context(GetParam()));
    EXPECT_EQ(a.lines[1].blockSize, 2);
    EXPECT_EQ(a.lines[1].partnerSlots, (Slots{7, 0, 1, 5, kNoLine}));
    EXPECT_EQ(a.lines[1].partnerLines, (Lines{7, 0, 1, 2, 3, 4, 5}));
    for (int j = 0; j < 6; ++j) {
        EXPECT_EQ(b.lines[j].blockSize, 0) << j;
        EXPECT_EQ(b.lines[j].partnerSlots, Primary(1)) << j;
        EXPECT_EQ(b.lines[j].partnerLines, Lines{1}) << j;
    }
}

TEST_P(LineMatchingModes, LineAfterARunFoundAtTheFirstCandidateIsNotSearched)
{
    // DocA's second "a" follows the run a-b found at the first candidate: no search is made
    // for it, and the "b" after it only notes its partner, which lies in a longer block.
    LineTable a = LetterTable("abab");
    LineTable b = LetterTable("ab");
    MatchBoth(a, b, Context(GetParam()));
    EXPECT_EQ(a.lines[0].blockSize, 2);
    EXPECT_EQ(a.lines[1].blockSize, 2);
    EXPECT_EQ(a.lines[2].blockSize, 0);
    EXPECT_EQ(a.lines[2].partnerSlots, kNoSlots);
    EXPECT_EQ(a.lines[3].blockSize, 0);
    EXPECT_EQ(a.lines[3].partnerSlots, Primary(1));
    EXPECT_TRUE(a.lines[3].partnerLines.empty());
    EXPECT_EQ(b.lines[0].partnerLines, Lines{0});
    EXPECT_EQ(b.lines[1].partnerLines, Lines{1});
}

TEST_P(LineMatchingModes, EmptyTextsGiveNoLinks)
{
    LineTable empty;
    LineTable other = LetterTable("abc");
    const kl::MatchContext context = Context(GetParam());
    kl::ResetMatchFields(empty, other);
    EXPECT_EQ(kl::MatchPass(0, 40, empty, other, context), 0);
    EXPECT_EQ(kl::MatchPass(0, 40, other, empty, context), 40);
    for (const kl::LineRecord& line : other.lines) {
        EXPECT_EQ(line.blockSize, 0);
        EXPECT_EQ(line.partnerSlots, kNoSlots);
    }
    LineTable bothEmpty;
    EXPECT_EQ(kl::MatchPass(0, 40, empty, bothEmpty, context), 0);
}

TEST_P(LineMatchingModes, ResetClearsAnEarlierRun)
{
    LineTable a = LetterTable("abc");
    LineTable b = LetterTable("abc");
    MatchBoth(a, b, Context(GetParam()));
    kl::ResetMatchFields(a, b);
    for (const LineTable* table : {&a, &b}) {
        for (const kl::LineRecord& line : table->lines) {
            EXPECT_EQ(line.blockSize, 0);
            EXPECT_EQ(line.partnerSlots, kNoSlots);
            EXPECT_TRUE(line.partnerLines.empty());
        }
    }
}

TEST_P(LineMatchingModes, ProgressRunsFromBaseToBasePlusSpan)
{
    LineTable a = LetterTable("abcdefghij");
    LineTable b = LetterTable("jihgfedcba");
    std::vector<int> values;
    kl::MatchContext context = Context(GetParam());
    context.progress = [&values](int value) { values.push_back(value); };
    kl::ResetMatchFields(a, b);
    EXPECT_EQ(kl::MatchPass(40, 40, a, b, context), 80);
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.front(), 44);
    EXPECT_EQ(values.back(), 80);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
}

TEST_P(LineMatchingModes, AbortBeforeThePassEndsItWithinTheFirstLine)
{
    const std::vector<std::string> lines = Numbered("line", 0, 3);
    LineTable a = MakeTable(lines);
    LineTable b = MakeTable({lines[2], lines[1], lines[0]});
    kl::ResetMatchFields(a, b);
    kl::g_abortRequested = 1;
    EXPECT_LE(kl::MatchPass(0, 40, a, b, Context(GetParam())), 13);
    EXPECT_EQ(a.lines[1].blockSize, 0);
    EXPECT_EQ(a.lines[2].blockSize, 0);
    EXPECT_EQ(kl::g_abortRequested, 1) << "the run, not the pass, clears the request";
}

TEST_P(LineMatchingModes, AbortDuringThePassStopsAfterTheCurrentLine)
{
    const std::vector<std::string> lines = Numbered("line", 0, 10);
    std::vector<std::string> reversed(lines.rbegin(), lines.rend());
    LineTable a = MakeTable(lines);
    LineTable b = MakeTable(reversed);
    kl::MatchContext context = Context(GetParam());
    context.progress = [](int value) {
        if (value >= 12) kl::g_abortRequested = 1;  // after the third line
    };
    kl::ResetMatchFields(a, b);
    EXPECT_EQ(kl::MatchPass(0, 40, a, b, context), 12);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(a.lines[i].blockSize, i < 3 ? 1 : 0) << i;
}

TEST_P(LineMatchingModes, AbortStopsALongLockStepWalk)
{
    // The first search meets a run of 20000 lines; the walk polls the request and stops
    // before linking anything.
    const std::vector<std::string> lines = Numbered("", 0, 20000);
    LineTable a = MakeTable(lines);
    LineTable b = MakeTable(lines);
    kl::ResetMatchFields(a, b);
    kl::g_abortRequested = 1;
    kl::MatchPass(0, 40, a, b, Context(GetParam()));
    EXPECT_EQ(a.lines.back().blockSize, 0);
    EXPECT_EQ(b.lines.back().blockSize, 0);
}

// The normal-mode search for one line gives up after nQ / 5 + i + 1 candidates when the
// other text has more than 3000 lines.
struct GiveUpCase {
    const char* label;
    int otherCount;
    int ownIndex;     // position of the searched line in DocA (earlier lines match nothing)
    int targetIndex;  // position of its partner in DocB
    bool foundNormal;
};

class LineMatchingGiveUp : public ::testing::TestWithParam<GiveUpCase> {};

TEST_P(LineMatchingGiveUp, LimitsTheCandidatesOfOneSearch)
{
    const GiveUpCase& c = GetParam();
    std::vector<std::string> own = Numbered("own", 0, c.ownIndex);
    own.push_back("target\n");
    std::vector<std::string> other = Numbered("other", 0, c.otherCount);
    other[static_cast<std::size_t>(c.targetIndex)] = "target\n";
    for (const int mode : {COMPARE_NORMAL, COMPARE_DETAILED}) {
        for (const bool keys : {true, false}) {
            LineTable a = MakeTable(own);
            LineTable b = MakeTable(other);
            kl::MatchContext context = Context(mode);
            context.useLineKeys = keys;
            kl::ResetMatchFields(a, b);
            kl::MatchPass(0, 40, a, b, context);
            const bool found = a.lines.back().blockSize == 1;
            EXPECT_EQ(found, mode == COMPARE_DETAILED || c.foundNormal) << c.label << " mode " << mode << " keys " << keys;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineMatchingGiveUp,
    ::testing::Values(GiveUpCase{"last candidate examined", 3001, 0, 600, true},
                      GiveUpCase{"first candidate not examined", 3001, 0, 601, false},
                      GiveUpCase{"limit grows with the line number", 3001, 10, 610, true},
                      GiveUpCase{"beyond the grown limit", 3001, 10, 611, false},
                      GiveUpCase{"no limit up to 3000 lines", 3000, 0, 2999, true},
                      GiveUpCase{"limit a fifth of a larger text", 5000, 0, 1000, true},
                      GiveUpCase{"beyond a fifth of a larger text", 5000, 0, 1001, false}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(LineMatchingGiveUp, ChangesTheResultOfAWholeRun)
{
    // DocA: a run of 700 lines, then "m". The first pass finds the run 100 candidates on;
    // being longer than 500 lines it is skipped together with the line after it, so "m" is
    // left to the second pass, where it is DocB's first line: that search gives up after
    // 601 candidates, before DocA line 700, unless the mode is detailed.
    const std::vector<std::string> run = Numbered("run", 0, 700);
    std::vector<std::string> a = run;
    a.push_back("m\n");
    const std::vector<std::string> onlyA = Numbered("a", 0, 2400);
    a.insert(a.end(), onlyA.begin(), onlyA.end());
    std::vector<std::string> b = Numbered("b", 0, 100);
    b[0] = "m\n";
    b.insert(b.end(), run.begin(), run.end());
    const std::vector<std::string> onlyB = Numbered("b", 100, 2301);
    b.insert(b.end(), onlyB.begin(), onlyB.end());
    ASSERT_GT(a.size(), 3000u);
    ASSERT_GT(b.size(), 3000u);
    for (const int mode : {COMPARE_NORMAL, COMPARE_DETAILED}) {
        LineTable ta = MakeTable(a);
        LineTable tb = MakeTable(b);
        MatchBoth(ta, tb, Context(mode));
        EXPECT_EQ(ta.lines[0].blockSize, 700) << mode;
        EXPECT_EQ(ta.lines[0].partnerSlots, Primary(100)) << mode;
        EXPECT_EQ(ta.lines[700].blockSize, mode == COMPARE_DETAILED ? 1 : 0) << mode;
        EXPECT_EQ(tb.lines[0].partnerSlots, mode == COMPARE_DETAILED ? Primary(700) : kNoSlots) << mode;
    }
}

}  // namespace
