// CompareLinePair against a plain reference version of the comparison
// (reference_line_compare.h) on many generated line pairs: the runs, the links and the
// state of every candidate that took part in a pairing must be the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/linedetail/line_compare.h"
#include "reference_line_compare.h"
#include "tests/support/test_scale.h"

namespace {

// start, end, isDifference, matchLength, counterpart range, source range
using SegmentKey = std::tuple<int, int, int, int, int, int, int, int>;
// start, end, matchLength, counterpart range
using CandidateKey = std::tuple<int, int, int, int, int>;

std::pair<int, int> RangeAt(const std::vector<kl::SubstringCandidate>& list, std::int32_t index)
{
    if (index == kl::kNoCandidate)
        return {-1, -1};
    const kl::SubstringCandidate& c = list.at(static_cast<std::size_t>(index));
    return {c.start, c.end};
}

std::vector<SegmentKey> SegmentKeys(const std::vector<kl::LineSegment>& segments, const std::vector<kl::SubstringCandidate>& own,
                                    const std::vector<kl::SubstringCandidate>& other)
{
    std::vector<SegmentKey> keys;
    for (const kl::LineSegment& s : segments) {
        const auto [cs, ce] = RangeAt(other, s.counterpart);
        const auto [ss, se] = RangeAt(own, s.source);
        keys.emplace_back(s.start, s.end, s.isDifference, s.matchLength, cs, ce, ss, se);
    }
    return keys;
}

// The candidates whose fields a pairing changed, in a fixed order.
std::vector<CandidateKey> TouchedCandidates(const std::vector<kl::SubstringCandidate>& own, const std::vector<kl::SubstringCandidate>& other)
{
    std::vector<CandidateKey> keys;
    for (const kl::SubstringCandidate& c : own) {
        if (c.matchLength == -1 && c.counterpart == kl::kNoCandidate)
            continue;
        const auto [cs, ce] = RangeAt(other, c.counterpart);
        keys.emplace_back(c.start, c.end, c.matchLength, cs, ce);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

void ExpectSameAsReference(const std::string& line1, const std::string& line2,
                           kl::TextEncoding encoding = kl::TextEncoding::Cp932)
{
    SCOPED_TRACE(testing::PrintToString(line1) + " / " + testing::PrintToString(line2));
    const kl::LinePairResult fast = kl::CompareLinePair(line1, line2, {}, {}, encoding);
    const kltest::ReferenceResult ref = kltest::ReferenceCompare(line1, line2, encoding);
    ASSERT_FALSE(fast.aborted);
    EXPECT_EQ(SegmentKeys(fast.segments1, fast.candidates1, fast.candidates2),
              SegmentKeys(ref.segments1, ref.candidates1, ref.candidates2));
    EXPECT_EQ(SegmentKeys(fast.segments2, fast.candidates2, fast.candidates1),
              SegmentKeys(ref.segments2, ref.candidates2, ref.candidates1));
    EXPECT_EQ(TouchedCandidates(fast.candidates1, fast.candidates2), TouchedCandidates(ref.candidates1, ref.candidates2));
    EXPECT_EQ(TouchedCandidates(fast.candidates2, fast.candidates1), TouchedCandidates(ref.candidates2, ref.candidates1));
    // Only candidates that took part in a pairing are stored.
    EXPECT_EQ(TouchedCandidates(fast.candidates1, fast.candidates2).size(), fast.candidates1.size());
    EXPECT_EQ(TouchedCandidates(fast.candidates2, fast.candidates1).size(), fast.candidates2.size());
}

// Pieces the generated lines are made of: few distinct ones, so that substrings repeat.
// Double-byte characters, a lone lead byte, tabs and a CR in the middle are among them.
const std::vector<std::string> kLinePieces = {"a", "b", "c", "a", "b", " ", "\t", "\x82\xa0", "\x82\xa2", "\x88\x9f",
                                          "\x82", "\xb1", "ab", "abc"};
const std::vector<std::string> kLineEndings = {"\r\n", "\r\n", "\n", "\r", ""};

// UTF-8 pieces: characters of one and two cells in one to four bytes (half-width
// katakana is one cell in three bytes), and a stray byte.
const std::vector<std::string> kUtf8Pieces = {"a", "b", "a", " ", "\t", "\xE3\x81\x82", "\xE3\x81\x84", "\xEF\xBD\xB1",
                                              "\xCE\xB1", "\xF0\x9F\x98\x80", "\xE3\x80\x80", "\x82", "ab"};

std::string RandomLine(std::mt19937& random, int pieces, const std::vector<std::string>& from = kLinePieces)
{
    std::string line;
    for (int i = 0; i < pieces; ++i)
        line += from[random() % from.size()];
    return line;
}

// A copy of the line with a few pieces replaced, inserted or removed. Edits may cut a
// multi-byte character, leaving stray bytes.
std::string Edit(std::mt19937& random, std::string line, const std::vector<std::string>& from = kLinePieces)
{
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < edits && !line.empty(); ++i) {
        const std::size_t at = random() % line.size();
        switch (random() % 3) {
        case 0: line.replace(at, 1, from[random() % from.size()]); break;
        case 1: line.insert(at, from[random() % from.size()]); break;
        default: line.erase(at, 1 + random() % 3); break;
        }
    }
    return line;
}

TEST(ReferenceEquivalence, ShortGeneratedLines)
{
    std::mt19937 random(12345);
    for (int round = 0; round < kltest::ScaledCases(1500); ++round) {
        const std::string body1 = RandomLine(random, static_cast<int>(random() % 24));
        const std::string body2 = random() % 2 == 0 ? Edit(random, body1) : RandomLine(random, static_cast<int>(random() % 24));
        const std::string& end1 = kLineEndings[random() % kLineEndings.size()];
        const std::string& end2 = random() % 3 == 0 ? kLineEndings[random() % kLineEndings.size()] : end1;
        ExpectSameAsReference(body1 + end1, body2 + end2);
        if (HasFailure())
            return;
    }
}

TEST(ReferenceEquivalence, ShortGeneratedUtf8Lines)
{
    std::mt19937 random(2468);
    for (int round = 0; round < kltest::ScaledCases(800); ++round) {
        const std::string body1 = RandomLine(random, static_cast<int>(random() % 20), kUtf8Pieces);
        const std::string body2 = random() % 2 == 0 ? Edit(random, body1, kUtf8Pieces)
                                                    : RandomLine(random, static_cast<int>(random() % 20), kUtf8Pieces);
        const std::string& end1 = kLineEndings[random() % kLineEndings.size()];
        ExpectSameAsReference(body1 + end1, body2 + end1, kl::TextEncoding::Utf8);
        if (HasFailure())
            return;
    }
}

// Above the candidate limit the pairing steps stop early; line 1 has around 190 to 230
// single-byte characters.
TEST(ReferenceEquivalence, LinesAroundTheCandidateLimit)
{
    std::mt19937 random(777);
    for (int round = 0; round < kltest::ScaledCases(12); ++round) {
        std::string body1;
        const std::size_t target = 188 + random() % 40;
        while (body1.size() < target)
            body1 += "abcab "[random() % 6];
        const std::string body2 = Edit(random, Edit(random, body1));
        ExpectSameAsReference(body1 + "\r\n", body2 + "\r\n");
        ExpectSameAsReference(body2 + "\r\n", body1 + "\n");
        if (HasFailure())
            return;
    }
}

}  // namespace
