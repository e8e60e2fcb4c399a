// Whole comparisons of line pairs: the runs of both rows and how they are linked.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "engine/linedetail/line_compare.h"
#include "segment_matchers.h"

namespace {

using kltest::Common;
using kltest::Diff;
using kltest::ExpectedRun;
using kltest::Runs;

struct PairCase {
    const char* name;
    std::string line1;
    std::string line2;
    std::vector<ExpectedRun> runs1;
    std::vector<ExpectedRun> runs2;
};

// "あ", "い", "う" in code page 932.
const std::string kA = "\x82\xa0";
const std::string kI = "\x82\xa2";
const std::string kU = "\x82\xa4";

const PairCase kPairCases[] = {
    {"one differing character", "abcXdef\r\n", "abcYdef\r\n", {Diff(0, 4), Common(4, 8)}, {Diff(0, 4), Common(4, 8)}},
    {"identical lines cover the CR but not the LF", "abcdef\r\n", "abcdef\r\n", {Common(0, 7)}, {Common(0, 7)}},
    {"both occurrences in line 2 are paired while it drives", "abcd\r\n", "abcd abcd\r\n",
     {Common(0, 5)}, {Common(0, 4), Diff(4, 5), Common(5, 10)}},
    {"completely different lines", "abcdef\r\n", "uvwxyz\r\n", {Diff(0, 8)}, {Diff(0, 8)}},
    {"three common characters are too short", "abcX\r\n", "abcY\r\n", {Diff(0, 6)}, {Diff(0, 6)}},
    {"two empty lines", "\r\n", "\r\n", {}, {}},
    {"empty line against text", "\r\n", "abcdef\r\n", {}, {Diff(0, 8)}},
    {"two texts without bytes", "", "", {}, {}},
    {"two double-byte characters form a candidate", kA + kI + "\r\n", "x" + kA + kI + "y\r\n",
     {Common(0, 4)}, {Diff(0, 1), Common(1, 5), Diff(5, 8)}},
    {"a run never ends inside a double-byte character", "abc" + kA + "\r\n", "abc" + kI + "\r\n", {Diff(0, 7)}, {Diff(0, 7)}},
    {"a lead byte takes the LF after it", "abcd\x82\n", "abcd\x82\n", {Common(0, 6)}, {Common(0, 6)}},
    {"a lead byte and LF against a CR LF end", "abcd\x82\n", "abcd\r\n", {Common(0, 4), Diff(4, 6)}, {Common(0, 4)}},
    {"last character before an LF line end", "abcdeX\n", "abcdeY\n", {Common(0, 5), Diff(5, 7)}, {Common(0, 5), Diff(5, 7)}},
    {"identical lines without a line end", "abcdefg", "abcdefg", {Common(0, 7)}, {Common(0, 7)}},
    {"differing end of lines without a line end", "abcdeXY", "abcdeZW", {Common(0, 5), Diff(5, 7)}, {Common(0, 5), Diff(5, 7)}},
    {"short line without a line end", "ab", "cd", {Diff(0, 2)}, {Diff(0, 2)}},
    {"runs of a row may overlap", "abcdefgh\r\n", "abcdef-cdefgh\r\n",
     {Common(0, 6), Common(2, 9)}, {Common(0, 6), Diff(6, 7), Common(7, 14)}},
    {"full-width text", kA + kI + kU + "X\r\n", kA + kI + kU + "Y\r\n", {Common(0, 6), Diff(6, 9)}, {Common(0, 6), Diff(6, 9)}},
};

class LinePairTest : public ::testing::TestWithParam<PairCase> {};

TEST_P(LinePairTest, GivesTheExpectedRuns)
{
    const PairCase& c = GetParam();
    const kl::LinePairResult r = kl::CompareLinePair(c.line1, c.line2);
    EXPECT_FALSE(r.aborted);
    EXPECT_EQ(Runs(r.segments1), c.runs1);
    EXPECT_EQ(Runs(r.segments2), c.runs2);
}

INSTANTIATE_TEST_SUITE_P(Pairs, LinePairTest, ::testing::ValuesIn(kPairCases), kltest::CaseName());

// The text of the candidate a common run links to, in the other line.
std::string_view CounterpartText(const kl::LineSegment& s, const std::vector<kl::SubstringCandidate>& other, std::string_view otherLine)
{
    return kl::CandidateText(other.at(static_cast<std::size_t>(s.counterpart)), otherLine);
}

// Every common run carries its own candidate as source and links to a candidate of the
// other line with the same bytes; difference runs link to nothing.
void ExpectConsistentLinks(const std::vector<kl::LineSegment>& segments, const std::vector<kl::SubstringCandidate>& own,
                           std::string_view ownLine, const std::vector<kl::SubstringCandidate>& other, std::string_view otherLine)
{
    for (const kl::LineSegment& s : segments) {
        if (s.isDifference != 0) {
            EXPECT_EQ(s.counterpart, kl::kNoCandidate);
            EXPECT_EQ(s.source, kl::kNoCandidate);
            EXPECT_EQ(s.matchLength, 0);
            continue;
        }
        EXPECT_EQ(s.matchLength, s.end - s.start);
        EXPECT_EQ(CounterpartText(s, other, otherLine), kl::CandidateText(s, ownLine));
        const kl::SubstringCandidate& source = own.at(static_cast<std::size_t>(s.source));
        EXPECT_EQ(std::pair(source.start, source.end), std::pair(s.start, s.end));
    }
}

TEST(LinePairLinks, CommonRunsLinkToEqualTextAndToTheirSource)
{
    const std::string line1 = "abcd\r\n";
    const std::string line2 = "abcd abcd\r\n";
    const kl::LinePairResult r = kl::CompareLinePair(line1, line2);
    ExpectConsistentLinks(r.segments1, r.candidates1, line1, r.candidates2, line2);
    ExpectConsistentLinks(r.segments2, r.candidates2, line2, r.candidates1, line1);
    // Line 2's [5, 10) "abcd\r" was paired with line 1's [0, 5); its [0, 4) with line 1's [0, 4).
    ASSERT_EQ(r.segments2.size(), 3u);
    const kl::SubstringCandidate& first = r.candidates1.at(static_cast<std::size_t>(r.segments2[0].counterpart));
    EXPECT_EQ(std::pair(first.start, first.end), std::pair(0, 4));
    const kl::SubstringCandidate& last = r.candidates1.at(static_cast<std::size_t>(r.segments2[2].counterpart));
    EXPECT_EQ(std::pair(last.start, last.end), std::pair(0, 5));
}

TEST(LinePairLinks, EqualSubstringsPairWithTheFirstOccurrence)
{
    // "wxyz" occurs twice in line 2; the one with the smaller start becomes the partner.
    const std::string line1 = "wxyz\r\n";
    const std::string line2 = "wxyz-wxyz-\r\n";
    const kl::LinePairResult r = kl::CompareLinePair(line1, line2);
    ASSERT_EQ(Runs(r.segments1), (std::vector<ExpectedRun>{Common(0, 4)}));
    const kl::SubstringCandidate& partner = r.candidates2.at(static_cast<std::size_t>(r.segments1[0].counterpart));
    EXPECT_EQ(partner.start, 0);
}

// Line 1 = "abcd" + filler + "efgh" + filler and line 2 = "efgh--abcd": the only common
// substrings are the two 4-byte ones. Above the candidate limit each pairing step stops
// at its first pairing of a 4-byte substring.
struct LimitCase {
    int characters;  // of line 1 before its CR LF
    std::vector<ExpectedRun> runs1;
    std::vector<ExpectedRun> runs2;
};

class CandidateLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(CandidateLimitTest, StopsPairingAboveTheLimit)
{
    const int k = GetParam().characters;
    const std::string line1 = "abcd" + std::string(20, 'z') + "efgh" + std::string(static_cast<std::size_t>(k - 28), 'z') + "\r\n";
    const std::string line2 = "efgh--abcd\r\n";
    const kl::LinePairResult r = kl::CompareLinePair(line1, line2);
    EXPECT_EQ(Runs(r.segments1), GetParam().runs1);
    EXPECT_EQ(Runs(r.segments2), GetParam().runs2);
}

INSTANTIATE_TEST_SUITE_P(Boundary, CandidateLimitTest,
                         ::testing::Values(LimitCase{191, {Common(0, 4), Diff(4, 24), Common(24, 28), Diff(28, 193)},
                                                     {Common(0, 4), Diff(4, 6), Common(6, 10)}},
                                           LimitCase{192, {Common(0, 4), Diff(4, 194)}, {Common(0, 4), Diff(4, 12)}}));

}  // namespace

// A UTF-8 line whose last character ends in a byte that code page 932 would take for a lead
// byte: its CR LF is still the line end, and the character is covered.
TEST(LineCompareUtf8, TheLastCharacterBeforeTheLineEndIsCovered)
{
    const std::string line1 = "abcd\xE3\x81\x82\r\n";  // abcdあ: あ ends in 0x82
    const std::string line2 = "abcd\xE3\x81\x84\r\n";  // abcdい
    EXPECT_EQ(kl::LineEndLength(line1, kl::TextEncoding::Utf8), 2u);
    EXPECT_EQ(kl::LineEndLength(line1, kl::TextEncoding::Cp932), 1u);  // 0x82 takes the CR
    const kl::LinePairResult result = kl::CompareLinePair(line1, line2, {}, {}, kl::TextEncoding::Utf8);
    ASSERT_EQ(result.segments1.size(), 2u);
    EXPECT_EQ(result.segments1[0].end, 4);  // abcd in common
    EXPECT_EQ(result.segments1[1].start, 4);
    EXPECT_EQ(result.segments1[1].isDifference, 1);
}
