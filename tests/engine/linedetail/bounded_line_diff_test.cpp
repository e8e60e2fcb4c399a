// The bounded character difference of long lines against a plain reference: with bounds
// it never reaches it finds a longest common subsequence of the characters; with tight
// bounds what it finds is still sound.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/linedetail/bounded_line_diff.h"
#include "engine/linedetail/line_compare.h"
#include "engine/platform/text_encoding.h"
#include "segment_matchers.h"

namespace {

std::vector<std::string> Characters(std::string_view text, kl::TextEncoding encoding)
{
    std::vector<std::string> characters;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t next = kl::NextCharIn(encoding, text, pos);
        characters.emplace_back(text.substr(pos, next - pos));
        pos = next;
    }
    return characters;
}

bool IsBoundary(std::string_view text, std::size_t offset, kl::TextEncoding encoding)
{
    std::size_t pos = 0;
    while (pos < offset)
        pos = kl::NextCharIn(encoding, text, pos);
    return pos == offset;
}

// The length, in characters, of a longest common subsequence.
std::size_t LongestCommonSubsequence(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::vector<std::size_t> row(b.size() + 1, 0);
    for (const std::string& x : a) {
        std::size_t diagonal = 0;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = x == b[j - 1] ? diagonal + 1 : std::max(row[j], row[j - 1]);
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Stretches lie on character boundaries, hold equal bytes, and go forward in both texts
// without overlapping. Returns the characters they cover.
std::size_t ExpectSound(const kl::BoundedDiff& diff, std::string_view a, std::string_view b, kl::TextEncoding encoding)
{
    EXPECT_FALSE(diff.aborted);
    std::size_t characters = 0;
    std::int32_t end1 = 0;
    std::int32_t end2 = 0;
    for (const kl::CommonStretch& s : diff.stretches) {
        EXPECT_GT(s.length, 0);
        EXPECT_GE(s.start1, end1);
        EXPECT_GE(s.start2, end2);
        end1 = s.start1 + s.length;
        end2 = s.start2 + s.length;
        const std::string_view part1 = a.substr(static_cast<std::size_t>(s.start1), static_cast<std::size_t>(s.length));
        EXPECT_EQ(part1, b.substr(static_cast<std::size_t>(s.start2), static_cast<std::size_t>(s.length)));
        for (std::size_t offset : {static_cast<std::size_t>(s.start1), static_cast<std::size_t>(end1)})
            EXPECT_TRUE(IsBoundary(a, offset, encoding));
        for (std::size_t offset : {static_cast<std::size_t>(s.start2), static_cast<std::size_t>(end2)})
            EXPECT_TRUE(IsBoundary(b, offset, encoding));
        characters += Characters(part1, encoding).size();
    }
    return characters;
}

TEST(BoundedLineDiff, MatchesTheReferenceWithinItsBoundsAndStaysSoundBeyondThem)
{
    struct Alphabet {
        kl::TextEncoding encoding;
        std::vector<std::string> characters;
    };
    const Alphabet alphabets[] = {
        {kl::TextEncoding::Cp932, {"a", "b"}},
        {kl::TextEncoding::Cp932, {"a", "b", "c", "d", "e", "\x82\xa0", "\x82\xa2"}},  // あ, い
        {kl::TextEncoding::Utf8, {"a", "\xE3\x81\x82", "\xE3\x81\x84", "\xF0\x9F\x98\x80"}},
    };
    const kl::BoundedDiffLimits unbounded{1'000'000, 1'000'000'000};
    const kl::BoundedDiffLimits tight[] = {{1, 1'000'000}, {2, 40}, {3, 0}};
    std::mt19937 random(27);
    for (int round = 0; round < 600; ++round) {
        const Alphabet& alphabet = alphabets[round % std::size(alphabets)];
        const auto make = [&](std::size_t length) {
            std::string text;
            for (std::size_t k = 0; k < length; ++k)
                text += alphabet.characters[random() % alphabet.characters.size()];
            return text;
        };
        const std::string a = make(random() % 40);
        std::string b = a;
        // Edits of the first text, or an unrelated second one.
        if (round % 5 == 0) {
            b = make(random() % 40);
        } else {
            for (int edits = static_cast<int>(random() % 6); edits > 0 && !b.empty(); --edits) {
                const std::vector<std::string> characters = Characters(b, alphabet.encoding);
                const std::size_t at = random() % characters.size();
                std::string rebuilt;
                for (std::size_t k = 0; k < characters.size(); ++k)
                    rebuilt += k == at ? make(random() % 3) : characters[k];
                b = rebuilt;
            }
        }
        SCOPED_TRACE(testing::PrintToString(a) + " / " + testing::PrintToString(b));
        const std::size_t longest = LongestCommonSubsequence(Characters(a, alphabet.encoding), Characters(b, alphabet.encoding));
        EXPECT_EQ(ExpectSound(kl::DiffLongLines(a, b, alphabet.encoding, {}, unbounded), a, b, alphabet.encoding), longest);
        for (const kl::BoundedDiffLimits& limits : tight)
            EXPECT_LE(ExpectSound(kl::DiffLongLines(a, b, alphabet.encoding, {}, limits), a, b, alphabet.encoding), longest);
    }
}

// Lines over the limit are compared this way, say so, and give a cover whose common runs
// link to each other; lines at the limit still get the full comparison.
TEST(BoundedLineDiff, TakesOverAboveTheCharacterLimit)
{
    using kltest::Common;
    using kltest::Diff;
    for (const std::int64_t length : {kl::kFullCompareCharacterLimit, kl::kFullCompareCharacterLimit + 1}) {
        SCOPED_TRACE(length);
        const auto half = static_cast<std::size_t>(length / 2);
        std::string body;
        for (std::size_t k = 0; body.size() < half; ++k)
            body += std::to_string(k % 97) + ",";
        body.resize(half);
        const std::string tail(static_cast<std::size_t>(length) - half - 1, 'z');
        const std::string line1 = body + "X" + tail + "\r\n";
        const std::string line2 = body + "Y" + tail + "\r\n";
        const kl::LinePairResult r = kl::CompareLinePair(line1, line2);
        const bool bounded = length > kl::kFullCompareCharacterLimit;
        EXPECT_EQ(r.method, bounded ? kl::LineCompareMethod::BoundedDiff : kl::LineCompareMethod::GreedyCover);
        EXPECT_EQ(kl::LineCompareMethodNote(r.method).empty(), !bounded);
        if (!bounded)
            continue;
        const int x = static_cast<int>(half);
        const int end = static_cast<int>(line1.size());
        const std::vector<kltest::ExpectedRun> runs = {Common(0, x), Diff(x, x + 1), Common(x + 1, end - 2)};
        EXPECT_EQ(kltest::Runs(r.segments1), runs);
        EXPECT_EQ(kltest::Runs(r.segments2), runs);
        for (const auto& [segments, other] : {std::pair(&r.segments1, &r.candidates2), std::pair(&r.segments2, &r.candidates1)}) {
            for (const kl::LineSegment& s : *segments) {
                if (s.isDifference != 0)
                    continue;
                const kl::SubstringCandidate& partner = other->at(static_cast<std::size_t>(s.counterpart));
                EXPECT_EQ(partner.end - partner.start, s.end - s.start);
            }
        }
    }
}

}  // namespace
