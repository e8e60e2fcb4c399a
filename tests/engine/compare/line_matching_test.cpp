#include "engine/compare/line_matching.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <stop_token>
#include <string>
#include <vector>

#include "match_texts.h"

namespace {

using kl::COMPARE_DETAILED;
using kl::COMPARE_NORMAL;
using kl::kNoLine;
using kl::MatchSide;
using kl::Text;
using kltest::LetterText;
using kltest::MakeText;
using Slots = kl::PartnerSlots;
using LineNumbers = std::vector<std::int32_t>;

constexpr Slots kNoSlots = kl::kNoPartners;
Slots Primary(int line) { return {line, kNoLine, kNoLine, kNoLine}; }

kl::MatchContext Context(kl::CompareMode mode, std::stop_token stop = {})
{
    kl::MatchContext context;
    context.mode = mode;
    context.stop = stop;
    return context;
}

// Both passes, as a comparison run does them.
void MatchBoth(MatchSide& a, MatchSide& b, const kl::MatchContext& context)
{
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

void ExpectNoMatchFields(const kl::MatchSide& side)
{
    for (int i = 0; i < side.count(); ++i) {
        EXPECT_EQ(side.blockSize[i], 0) << i;
        EXPECT_EQ(side.partnerSlots[i], kNoSlots) << i;
        EXPECT_TRUE(side.partnerLines.Lines(i).empty()) << i;
    }
}

class LineMatchingModes : public ::testing::TestWithParam<kl::CompareMode> {};
INSTANTIATE_TEST_SUITE_P(BothModes, LineMatchingModes, ::testing::Values(COMPARE_NORMAL, COMPARE_DETAILED),
                         [](const auto& info) { return info.param == COMPARE_NORMAL ? "Normal" : "Detailed"; });

TEST_P(LineMatchingModes, IdenticalTextsFormOneBlock)
{
    const Text ta = LetterText("abcdefgh");
    const Text tb = LetterText("abcdefgh");
    MatchSide a(ta), b(tb);
    MatchBoth(a, b, Context(GetParam()));
    for (const MatchSide* side : {&a, &b}) {
        for (int i = 0; i < side->count(); ++i) {
            EXPECT_EQ(side->blockSize[i], 8) << i;
            EXPECT_EQ(side->partnerSlots[i], Primary(i)) << i;
            // Later searches find the block already linked and add nothing.
            EXPECT_EQ(side->partnerLines.Lines(i), LineNumbers{i}) << i;
        }
    }
}

TEST_P(LineMatchingModes, MovedLinesFormTheirOwnBlock)
{
    const Text ta = LetterText("abcde");
    const Text tb = LetterText("deabc");
    MatchSide a(ta), b(tb);
    MatchBoth(a, b, Context(GetParam()));
    const std::vector<int> expectedBlock{3, 3, 3, 2, 2};
    const std::vector<int> partnerInB{2, 3, 4, 0, 1};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(a.blockSize[i], expectedBlock[i]) << i;
        EXPECT_EQ(a.partnerSlots[i], Primary(partnerInB[i])) << i;
        EXPECT_EQ(b.partnerSlots[partnerInB[i]], Primary(i)) << i;
        EXPECT_EQ(b.blockSize[partnerInB[i]], expectedBlock[i]) << i;
    }
}

TEST_P(LineMatchingModes, LineEndOnlyLinesJoinRunsButAreNeverSearched)
{
    const Text ta = MakeText({"x\n", "\n", "\r\n", "y\n"});
    const Text tb = MakeText({"x\n", "\n", "\r\n", "y\n"});
    MatchSide a(ta), b(tb);
    MatchBoth(a, b, Context(GetParam()));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(a.blockSize[i], 4) << i;
        EXPECT_EQ(a.partnerSlots[i], Primary(i)) << i;
    }

    const Text emptyTextA = MakeText({"\n", "x\n", "\r\n"});
    const Text emptyTextB = MakeText({"z\n", "\r\n", "\n"});
    MatchSide emptyA(emptyTextA), emptyB(emptyTextB);
    MatchBoth(emptyA, emptyB, Context(GetParam()));
    ExpectNoMatchFields(emptyA);
    ExpectNoMatchFields(emptyB);
}

TEST_P(LineMatchingModes, ALineKeepsAtMostFourPartnerSlots)
{
    // DocA's "a" first joins the block q-a; its own search then meets six lone "a" lines
    // before its partner and records each as a partner.
    const Text ta = LetterText("qa");
    const Text tb = LetterText("aaaaaaqa");
    MatchSide a(ta), b(tb);
    MatchBoth(a, b, Context(GetParam()));
    EXPECT_EQ(a.blockSize[1], 2);
    EXPECT_EQ(a.partnerSlots[1], (Slots{7, 0, 1, 5}));
    EXPECT_EQ(a.partnerLines.Lines(1), (LineNumbers{7, 0, 1, 2, 3, 4, 5}));
    for (int j = 0; j < 6; ++j) {
        EXPECT_EQ(b.blockSize[j], 0) << j;
        EXPECT_EQ(b.partnerSlots[j], Primary(1)) << j;
        EXPECT_EQ(b.partnerLines.Lines(j), LineNumbers{1}) << j;
    }
}

TEST_P(LineMatchingModes, LineAfterARunFoundAtTheFirstCandidateIsNotSearched)
{
    // DocA's second "a" follows the run a-b found at the first candidate: no search is made
    // for it, and the "b" after it only notes its partner, which lies in a longer block.
    const Text ta = LetterText("abab");
    const Text tb = LetterText("ab");
    MatchSide a(ta), b(tb);
    MatchBoth(a, b, Context(GetParam()));
    EXPECT_EQ(a.blockSize[0], 2);
    EXPECT_EQ(a.blockSize[1], 2);
    EXPECT_EQ(a.blockSize[2], 0);
    EXPECT_EQ(a.partnerSlots[2], kNoSlots);
    EXPECT_EQ(a.blockSize[3], 0);
    EXPECT_EQ(a.partnerSlots[3], Primary(1));
    EXPECT_TRUE(a.partnerLines.Lines(3).empty());
    EXPECT_EQ(b.partnerLines.Lines(0), LineNumbers{0});
    EXPECT_EQ(b.partnerLines.Lines(1), LineNumbers{1});
}

TEST_P(LineMatchingModes, EmptyTextsGiveNoLinks)
{
    const Text emptyText;
    const Text otherText = LetterText("abc");
    MatchSide empty(emptyText), other(otherText);
    const kl::MatchContext context = Context(GetParam());
    EXPECT_EQ(kl::MatchPass(0, 40, empty, other, context), 0);
    EXPECT_EQ(kl::MatchPass(0, 40, other, empty, context), 40);
    for (int i = 0; i < other.count(); ++i) {
        EXPECT_EQ(other.blockSize[i], 0);
        EXPECT_EQ(other.partnerSlots[i], kNoSlots);
    }
    MatchSide bothEmpty(emptyText);
    EXPECT_EQ(kl::MatchPass(0, 40, empty, bothEmpty, context), 0);
}

TEST_P(LineMatchingModes, NewSidesOfMatchedTextsStartEmpty)
{
    // The match fields belong to the sides, not to the texts: an earlier run over the same
    // texts leaves nothing behind.
    const Text ta = LetterText("abc");
    const Text tb = LetterText("abc");
    {
        MatchSide a(ta), b(tb);
        MatchBoth(a, b, Context(GetParam()));
        ASSERT_EQ(a.blockSize[0], 3);
    }
    const MatchSide a(ta), b(tb);
    ExpectNoMatchFields(a);
    ExpectNoMatchFields(b);
}

TEST_P(LineMatchingModes, ProgressRunsFromBaseToBasePlusSpan)
{
    const Text ta = LetterText("abcdefghij");
    const Text tb = LetterText("jihgfedcba");
    MatchSide a(ta), b(tb);
    std::vector<int> values;
    kl::MatchContext context = Context(GetParam());
    context.progress = [&values](int value) { values.push_back(value); };
    EXPECT_EQ(kl::MatchPass(40, 40, a, b, context), 80);
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.front(), 44);
    EXPECT_EQ(values.back(), 80);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
}

TEST_P(LineMatchingModes, StopBeforeThePassEndsItWithinTheFirstLine)
{
    const std::vector<std::string> lines = Numbered("line", 0, 3);
    const Text ta = MakeText(lines);
    const Text tb = MakeText({lines[2], lines[1], lines[0]});
    MatchSide a(ta), b(tb);
    std::stop_source stop;
    stop.request_stop();
    EXPECT_LE(kl::MatchPass(0, 40, a, b, Context(GetParam(), stop.get_token())), 13);
    EXPECT_EQ(a.blockSize[1], 0);
    EXPECT_EQ(a.blockSize[2], 0);
}

TEST_P(LineMatchingModes, StopDuringThePassStopsAfterTheCurrentLine)
{
    const std::vector<std::string> lines = Numbered("line", 0, 10);
    std::vector<std::string> reversed(lines.rbegin(), lines.rend());
    const Text ta = MakeText(lines);
    const Text tb = MakeText(reversed);
    MatchSide a(ta), b(tb);
    std::stop_source stop;
    kl::MatchContext context = Context(GetParam(), stop.get_token());
    context.progress = [&stop](int value) {
        if (value >= 12) stop.request_stop();  // after the third line
    };
    EXPECT_EQ(kl::MatchPass(0, 40, a, b, context), 12);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(a.blockSize[i], i < 3 ? 1 : 0) << i;
}

TEST_P(LineMatchingModes, StopEndsALongLockStepWalk)
{
    // The first search meets a run of 20000 lines; the walk polls the request and stops
    // before linking anything.
    const std::vector<std::string> lines = Numbered("", 0, 20000);
    const Text ta = MakeText(lines);
    const Text tb = MakeText(lines);
    MatchSide a(ta), b(tb);
    std::stop_source stop;
    stop.request_stop();
    kl::MatchPass(0, 40, a, b, Context(GetParam(), stop.get_token()));
    EXPECT_EQ(a.blockSize.back(), 0);
    EXPECT_EQ(b.blockSize.back(), 0);
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
    for (const kl::CompareMode mode : {COMPARE_NORMAL, COMPARE_DETAILED}) {
        for (const bool keys : {true, false}) {
            const Text ta = MakeText(own);
            const Text tb = MakeText(other);
            MatchSide a(ta), b(tb);
            kl::MatchContext context = Context(mode);
            context.useLineKeys = keys;
            kl::MatchPass(0, 40, a, b, context);
            const bool found = a.blockSize.back() == 1;
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
    for (const kl::CompareMode mode : {COMPARE_NORMAL, COMPARE_DETAILED}) {
        const Text textA = MakeText(a);
        const Text textB = MakeText(b);
        MatchSide sa(textA), sb(textB);
        MatchBoth(sa, sb, Context(mode));
        EXPECT_EQ(sa.blockSize[0], 700) << mode;
        EXPECT_EQ(sa.partnerSlots[0], Primary(100)) << mode;
        EXPECT_EQ(sa.blockSize[700], mode == COMPARE_DETAILED ? 1 : 0) << mode;
        EXPECT_EQ(sb.partnerSlots[0], mode == COMPARE_DETAILED ? Primary(700) : kNoSlots) << mode;
    }
}

}  // namespace
