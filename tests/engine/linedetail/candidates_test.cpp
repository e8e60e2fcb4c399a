// The single steps: listing candidates, the pairing limit, the acceptance rule and the
// cover of a line.
#include <gtest/gtest.h>

#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "engine/linedetail/line_compare.h"
#include "reference_line_compare.h"
#include "segment_matchers.h"

namespace {

using kltest::Common;
using kltest::Diff;
using kltest::ExpectedRun;
using kltest::Runs;
using Range = std::pair<int, int>;

std::vector<Range> Ranges(const std::vector<kl::SubstringCandidate>& list)
{
    std::vector<Range> ranges;
    for (const kl::SubstringCandidate& c : list)
        ranges.emplace_back(c.start, c.end);
    return ranges;
}

struct ListingCase {
    const char* name;
    std::string text;
    std::vector<Range> sorted;  // every candidate, longest first, then by start
};

const ListingCase kListingCases[] = {
    {"abcd and CR LF", "abcd\r\n", {{0, 5}, {0, 4}, {1, 5}}},
    {"three single-byte characters", "abc\n", {}},
    {"two double-byte characters", "\x82\xa0\x82\xa2\r\n", {{0, 5}, {0, 4}}},
    {"no candidate splits a double-byte character", "a\x82\xa0" "bc\r\n", {{0, 6}, {0, 5}, {1, 6}, {0, 4}, {1, 5}}},
    {"starts stop at the first CR", "abc\rdefg\r\n", {{0, 9}, {0, 8}, {1, 9}, {0, 7}, {1, 8}, {2, 9}, {0, 6}, {1, 7}, {2, 8}, {0, 5}, {1, 6}, {2, 7}, {0, 4}, {1, 5}, {2, 6}}},
    {"a lead byte takes the CR after it", "ab\x82\rcd\r\n", {{0, 7}, {0, 6}, {1, 7}, {0, 5}, {1, 6}, {2, 7}, {0, 4}, {1, 5}, {2, 6}}},
    {"without a line end the last character counts", "abcde", {{0, 5}, {0, 4}, {1, 5}}},
    {"an empty line", "\r\n", {}},
};

class ListingTest : public ::testing::TestWithParam<ListingCase> {};

TEST_P(ListingTest, ListsEveryCandidateOnce)
{
    const ListingCase& c = GetParam();
    const std::vector<kl::SubstringCandidate> all = kltest::AllCandidates(c.text);
    EXPECT_EQ(Ranges(all), c.sorted);
    EXPECT_EQ(kl::CountCandidates(c.text), static_cast<std::int64_t>(c.sorted.size()));
    for (const kl::SubstringCandidate& candidate : all) {
        EXPECT_EQ(candidate.matchLength, -1);
        EXPECT_EQ(candidate.counterpart, kl::kNoCandidate);
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, ListingTest, ::testing::ValuesIn(kListingCases), kltest::CaseName());

TEST(CandidateCount, LimitStartsAbove18000Candidates)
{
    const struct {
        int characters;
        std::int64_t count;
        std::int64_t limit;
    } cases[] = {{191, 17955, -1}, {192, 18145, 4536}, {200, 19701, 4925}};
    for (const auto& c : cases) {
        const std::string line = std::string(static_cast<std::size_t>(c.characters), 'q') + "\r\n";
        EXPECT_EQ(kl::CountCandidates(line), c.count) << c.characters;
        EXPECT_EQ(kl::PairingLimit(kl::CountCandidates(line)), c.limit) << c.characters;
    }
    EXPECT_EQ(static_cast<std::int64_t>(kltest::AllCandidates(std::string(192, 'q') + "\r\n").size()), 18145);
}

struct LineEndCase {
    std::string text;
    std::size_t lineEnd;
    std::size_t endLimit;
};

TEST(LineEnd, CountsCharactersNotBytes)
{
    const LineEndCase cases[] = {
        {"ab\r\n", 2, 3}, {"ab\n", 1, 2}, {"ab\r", 1, 2}, {"ab", 0, 2}, {"", 0, 0},
        {"\r\n", 2, 1}, {"a\x82\n", 0, 3}, {"a\x82\r\n", 1, 3}, {"\x82", 0, 1},
    };
    for (const LineEndCase& c : cases) {
        EXPECT_EQ(kl::LineEndLength(c.text), c.lineEnd) << testing::PrintToString(c.text);
        EXPECT_EQ(kl::CandidateEndLimit(c.text), c.endLimit) << testing::PrintToString(c.text);
    }
}

kl::SubstringCandidate Candidate(int start, int end, int counterpart = kl::kNoCandidate)
{
    kl::SubstringCandidate c;
    c.start = start;
    c.end = end;
    c.counterpart = counterpart;
    return c;
}

struct AcceptCase {
    const char* name;
    kl::SubstringCandidate candidate;
    std::vector<kl::SubstringCandidate> accepted;
    bool expected;
};

// Counterparts index this list of the other line: 0 = [10, 14), 1 = [10, 14) again as
// an equal range, 2 = [20, 24).
const std::vector<kl::SubstringCandidate> kOtherLine = {Candidate(10, 14), Candidate(10, 14), Candidate(20, 24)};

const AcceptCase kAcceptCases[] = {
    {"empty list", Candidate(0, 4), {}, true},
    {"inside an accepted entry", Candidate(2, 6), {Candidate(0, 8)}, false},
    {"equal to an accepted range", Candidate(2, 6), {Candidate(2, 6)}, false},
    {"overlapping only", Candidate(2, 10), {Candidate(0, 8)}, true},
    {"inside a later entry", Candidate(2, 6), {Candidate(9, 12), Candidate(1, 7)}, false},
    {"same counterpart range, entry starts after: accepted at once", Candidate(2, 6, 0),
     {Candidate(3, 7, 1), Candidate(0, 8)}, true},
    {"same counterpart range, entry starts before", Candidate(4, 8, 0), {Candidate(3, 7, 1), Candidate(0, 8)}, false},
    {"other counterpart range", Candidate(2, 6, 0), {Candidate(3, 7, 2), Candidate(0, 8)}, false},
    {"containment found before the early acceptance", Candidate(2, 6, 0), {Candidate(0, 8), Candidate(3, 7, 1)}, false},
    {"candidate without counterpart", Candidate(2, 6), {Candidate(3, 7, 1), Candidate(0, 8)}, false},
};

class AcceptTest : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(AcceptTest, Decides)
{
    const AcceptCase& c = GetParam();
    EXPECT_EQ(kl::AcceptCandidate(c.candidate, c.accepted, kOtherLine), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, AcceptTest, ::testing::ValuesIn(kAcceptCases), kltest::CaseName());

TEST(AcceptCandidate, RefusesWhileAStopIsRequested)
{
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(kl::AcceptCandidate(Candidate(20, 24), {Candidate(0, 4)}, kOtherLine, stop.get_token()));
    EXPECT_TRUE(kl::AcceptCandidate(Candidate(20, 24), {}, kOtherLine, stop.get_token()));
}

kl::LineSegment CommonSegment(int start, int end)
{
    kl::LineSegment s;
    s.start = start;
    s.end = end;
    s.matchLength = end - start;
    s.source = 0;
    return s;
}

struct GapCase {
    const char* name;
    std::string text;
    std::vector<kl::LineSegment> common;
    std::vector<ExpectedRun> cover;
};

const GapCase kGapCases[] = {
    {"no common run", "abcdef\r\n", {}, {Diff(0, 8)}},
    {"no common run, empty line", "\r\n", {}, {}},
    {"common run up to the CR", "abcdef\r\n", {CommonSegment(0, 7)}, {Common(0, 7)}},
    {"gaps before, between and after", "abcdefghij\r\n", {CommonSegment(2, 4), CommonSegment(6, 8)},
     {Diff(0, 2), Common(2, 4), Diff(4, 6), Common(6, 8), Diff(8, 12)}},
    {"overlapping runs", "abcdefghij\r\n", {CommonSegment(0, 6), CommonSegment(4, 10)}, {Common(0, 6), Common(4, 10)}},
    {"a nested run does not move the position back", "abcdefghij\r\n",
     {CommonSegment(0, 8), CommonSegment(2, 5), CommonSegment(9, 10)},
     {Common(0, 8), Common(2, 5), Diff(8, 9), Common(9, 10)}},
    {"last character before LF", "abcdeX\n", {CommonSegment(0, 5)}, {Common(0, 5), Diff(5, 7)}},
    {"last characters without a line end", "abcdeXY", {CommonSegment(0, 5)}, {Common(0, 5), Diff(5, 7)}},
};

class FillGapsTest : public ::testing::TestWithParam<GapCase> {};

TEST_P(FillGapsTest, CoversTheLine)
{
    std::vector<kl::LineSegment> segments = GetParam().common;
    kl::FillGaps(segments, GetParam().text);
    EXPECT_EQ(Runs(segments), GetParam().cover);
    for (const kl::LineSegment& s : segments) {
        if (s.isDifference != 0) {
            EXPECT_EQ(s.matchLength, 0);
            EXPECT_EQ(s.source, kl::kNoCandidate);
            EXPECT_EQ(s.counterpart, kl::kNoCandidate);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Covers, FillGapsTest, ::testing::ValuesIn(kGapCases), kltest::CaseName());

}  // namespace
