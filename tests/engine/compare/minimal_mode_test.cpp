// The minimal mode: as few changed lines as a longest common subsequence allows, moved
// lines found among the changed ones, and the compare options applied to its keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/compare/compare.h"
#include "engine/document/text_loader.h"
#include "match_texts.h"
#include "tests/support/test_scale.h"

namespace {

using kl::CompareResult;
using kl::DOC_A;
using kl::DOC_B;

kl::TextPair Pair(kl::Text a, kl::Text b)
{
    return {std::make_shared<const kl::Text>(std::move(a)), std::make_shared<const kl::Text>(std::move(b))};
}

CompareResult RunMode(const kl::TextPair& texts, kl::CompareMode mode, const kl::CompareOptions& options = {})
{
    kl::CompareRequest request;
    request.mode = mode;
    request.options = options;
    return kl::Compare(texts, request);
}

int LcsLength(const std::string& a, const std::string& b)
{
    std::vector<std::vector<int>> t(a.size() + 1, std::vector<int>(b.size() + 1, 0));
    for (std::size_t x = a.size(); x-- > 0;)
        for (std::size_t y = b.size(); y-- > 0;)
            t[x][y] = a[x] == b[y] ? t[x + 1][y + 1] + 1 : std::max(t[x + 1][y], t[x][y + 1]);
    return t[0][0];
}

// Checks that every line stands in exactly one row of its side, in order, and that
// common pairs hold equal lines; returns the number of common pairs.
int CheckRows(const CompareResult& result, const std::string& a, const std::string& b)
{
    int pairs = 0;
    int nextA = 0, nextB = 0;
    for (int r = 0; r < result.RowCount(); ++r) {
        const kl::DisplayRow& left = result.Rows(DOC_A)[static_cast<std::size_t>(r)];
        const kl::DisplayRow& right = result.Rows(DOC_B)[static_cast<std::size_t>(r)];
        if (left.lineIndex != kl::kNoLine) {
            EXPECT_EQ(left.lineIndex, nextA++);
        }
        if (right.lineIndex != kl::kNoLine) {
            EXPECT_EQ(right.lineIndex, nextB++);
        }
        if (left.lineIndex != kl::kNoLine && right.lineIndex != kl::kNoLine) {
            EXPECT_EQ(left.kind, kl::ROW_COMMON);
            EXPECT_EQ(right.kind, kl::ROW_COMMON);
            EXPECT_EQ(a[static_cast<std::size_t>(left.lineIndex)], b[static_cast<std::size_t>(right.lineIndex)]);
            ++pairs;
        }
    }
    EXPECT_EQ(nextA, static_cast<int>(a.size()));
    EXPECT_EQ(nextB, static_cast<int>(b.size()));
    return pairs;
}

TEST(MinimalMode, ChangedLinesMeetTheLcsBoundOnRandomTexts)
{
    std::mt19937 rng(25);
    const int cases = kltest::ScaledCases(3000);
    for (int c = 0; c < cases; ++c) {
        const int alphabet = 1 + static_cast<int>(rng() % 6);
        auto randomLetters = [&] {
            std::string s(rng() % 40, 'a');
            for (char& ch : s) ch = static_cast<char>('a' + rng() % static_cast<unsigned>(alphabet));
            return s;
        };
        const std::string a = randomLetters();
        std::string b = c % 2 ? randomLetters() : a;
        if (c % 2 == 0)  // an edited copy
            for (int e = static_cast<int>(rng() % 5); e > 0 && !b.empty(); --e)
                b[rng() % b.size()] = static_cast<char>('a' + rng() % 7);
        const CompareResult result = RunMode(Pair(kltest::LetterText(a), kltest::LetterText(b)), kl::COMPARE_MINIMAL);
        ASSERT_EQ(result.outcome, kl::RunOutcome::Completed);
        ASSERT_EQ(CheckRows(result, a, b), LcsLength(a, b)) << a << " / " << b;
    }
}

TEST(MinimalMode, MovedLinesGetPositionsBlocksAndPartners)
{
    // d e moved from the end to the front: abc stays common, d e are moved lines.
    const CompareResult result =
        RunMode(Pair(kltest::LetterText("abcde"), kltest::LetterText("deabc")), kl::COMPARE_MINIMAL);
    const CompareResult normal =
        RunMode(Pair(kltest::LetterText("abcde"), kltest::LetterText("deabc")), kl::COMPARE_NORMAL);
    for (int side = DOC_A; side <= DOC_B; ++side) {
        ASSERT_EQ(result.Rows(side).size(), normal.Rows(side).size());
        for (std::size_t r = 0; r < result.Rows(side).size(); ++r) {
            EXPECT_EQ(result.Rows(side)[r].lineIndex, normal.Rows(side)[r].lineIndex) << side << " " << r;
            EXPECT_EQ(result.Rows(side)[r].kind, normal.Rows(side)[r].kind);
            EXPECT_EQ(result.Rows(side)[r].message, normal.Rows(side)[r].message);
            EXPECT_EQ(result.Rows(side)[r].partnerLine, normal.Rows(side)[r].partnerLine);
        }
    }
    EXPECT_EQ(result.Rows(DOC_B)[5].message, kl::RowMessage::PartnerAbove);
    EXPECT_EQ(result.Rows(DOC_B)[5].partnerLine, 0);
    EXPECT_EQ(result.sides[DOC_A].blockSize, (std::vector<std::int32_t>{3, 3, 3, 2, 2}));
    EXPECT_EQ(result.sides[DOC_B].blockSize, (std::vector<std::int32_t>{2, 2, 3, 3, 3}));
    EXPECT_EQ(result.sides[DOC_B].partnerLines.Of(0)[0], 3);
    EXPECT_EQ(result.sides[DOC_A].partnerSlots.Get(4, 0), 1);

    // A line moved down names the line below; blank lines are never moved lines.
    const CompareResult down =
        RunMode(Pair(kltest::MakeText({"x\n", "\n", "a\n", "b\n", "c\n"}), kltest::MakeText({"a\n", "b\n", "c\n", "x\n", "\n"})),
                kl::COMPARE_MINIMAL);
    EXPECT_EQ(down.Rows(DOC_B)[0].message, kl::RowMessage::PartnerBelow);
    EXPECT_EQ(down.Rows(DOC_B)[0].partnerLine, 3);
    EXPECT_EQ(down.Rows(DOC_A)[1].kind, kl::ROW_ONLY_A);
}

TEST(MinimalMode, EveryCompareOptionDecidesWhichLinesAreEqual)
{
    struct Case {
        const char* name;
        std::string a;
        std::string b;
        kl::CompareOptions options;
    };
    kl::CompareOptions newline, spaceTab, wide, trailing, delimiter;
    newline.ignoreNewline = true;
    spaceTab.ignoreSpaceTab = true;
    wide.wideSpaceAsTwo = 1;
    trailing.ignoreTrailingSpaces = 1;
    delimiter.method = 1;
    delimiter.delimiter = ':';
    const std::vector<Case> cases = {
        {"line ends", "abc\r\n", "abc\n", newline},
        {"spaces and tabs", "a b\tc\n", "abc\n", spaceTab},
        {"full-width space", "a\x81\x40" "b\n", "a  b\n", wide},
        {"trailing spaces", "abc   \n", "abc\n", trailing},
        {"delimiter", "key:x:value\n", "key:yy:value\n", delimiter},
    };
    for (const Case& c : cases) {
        const kl::TextPair texts = Pair(kltest::MakeText({"top\n", c.a, "end\n"}), kltest::MakeText({"top\n", c.b, "end\n"}));
        EXPECT_EQ(RunMode(texts, kl::COMPARE_MINIMAL, c.options).RowCount(), 3) << c.name;
        EXPECT_EQ(RunMode(texts, kl::COMPARE_MINIMAL).RowCount(), 4) << c.name;
    }
}

int DifferingRows(const CompareResult& result)
{
    int rows = 0;
    for (int r = 0; r < result.RowCount(); ++r)
        rows += result.Rows(DOC_A)[static_cast<std::size_t>(r)].lineIndex == kl::kNoLine ||
                result.Rows(DOC_B)[static_cast<std::size_t>(r)].lineIndex == kl::kNoLine;
    return rows;
}

TEST(MinimalMode, IgnoringLineEndsNeverAlignsTheSamplePairWorse)
{
    kl::Text texts[2];
    const char* names[2] = {"/samples/before.txt", "/samples/after.txt"};
    for (int k = 0; k < 2; ++k) {
        std::ifstream in(std::string(KESTRILANE_SOURCE_DIR) + names[k], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty());
        texts[k] = kl::SplitLines(bytes, false);
    }
    const kl::TextPair pair = Pair(std::move(texts[0]), std::move(texts[1]));
    kl::CompareOptions ignoreNewline;
    ignoreNewline.ignoreNewline = true;
    EXPECT_EQ(DifferingRows(RunMode(pair, kl::COMPARE_MINIMAL)), 24);
    EXPECT_EQ(DifferingRows(RunMode(pair, kl::COMPARE_MINIMAL, ignoreNewline)), 24);
}

TEST(MinimalMode, LargeUnrelatedTextsFinishAndStayConsistent)
{
    // Past the cost limit the search stops early; the rows must still be whole.
    std::mt19937 rng(7);
    std::string a(30000, 'a'), b(30000, 'a');
    for (char& ch : a) ch = static_cast<char>('a' + rng() % 10);
    for (char& ch : b) ch = static_cast<char>('a' + rng() % 10);
    const CompareResult result = RunMode(Pair(kltest::LetterText(a), kltest::LetterText(b)), kl::COMPARE_MINIMAL);
    ASSERT_EQ(result.outcome, kl::RunOutcome::Completed);
    EXPECT_GT(CheckRows(result, a, b), 12000);
}

TEST(MinimalMode, ProgressRisesToTheEndAndAStopEndsTheRun)
{
    const kl::TextPair texts = Pair(kltest::LetterText("abcabcabd"), kltest::LetterText("abdabcab"));
    kl::CompareRequest request;
    request.mode = kl::COMPARE_MINIMAL;
    std::vector<int> values;
    const CompareResult done = kl::Compare(texts, request, {}, [&](int value) { values.push_back(value); });
    EXPECT_EQ(done.outcome, kl::RunOutcome::Completed);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.back(), 100);

    std::stop_source stop;
    const CompareResult stopped = kl::Compare(texts, request, stop.get_token(), [&](int value) {
        if (value >= 10) stop.request_stop();
    });
    EXPECT_EQ(stopped.outcome, kl::RunOutcome::StoppedInMatching);
    EXPECT_EQ(stopped.RowCount(), 0);
}

}  // namespace
