// The character comparison of a code page 932 line pair and of the same pair in UTF-8:
// the runs, their kinds and the links between them must cover the same characters.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/linedetail/line_compare.h"
#include "tests/support/test_scale.h"

namespace {

struct Piece {
    std::string cp932;
    std::string utf8;
};

// Characters of one and two cells, a full-width space, and the ASCII that repeats.
const std::vector<Piece> kPieces = {
    {"a", "a"}, {"b", "b"}, {"ab", "ab"}, {" ", " "}, {"\t", "\t"},
    {"\x82\xa0", "\xE3\x81\x82"},  // あ
    {"\x82\xa2", "\xE3\x81\x84"},  // い
    {"\x88\x9f", "\xE4\xBA\x9C"},  // 亜
    {"\xb1", "\xEF\xBD\xB1"},      // half-width ｱ
    {"\x83\x9f", "\xCE\x91"},      // Α
    {"\x81\x40", "\xE3\x80\x80"},  // full-width space
};
const std::vector<std::string> kLineEnds = {"\r\n", "\n", "\r", ""};

struct EncodedLine {
    std::string cp932;
    std::string utf8;
};

EncodedLine Render(const std::vector<std::size_t>& pieces, const std::string& lineEnd)
{
    EncodedLine line;
    for (std::size_t p : pieces) {
        line.cp932 += kPieces[p].cp932;
        line.utf8 += kPieces[p].utf8;
    }
    line.cp932 += lineEnd;
    line.utf8 += lineEnd;
    return line;
}

// Byte offset → character number, for every character boundary of the line.
std::map<int, int> CharacterNumbers(const std::string& text, kl::TextEncoding encoding)
{
    std::map<int, int> numbers;
    int number = 0;
    for (std::size_t pos = 0; pos < text.size(); pos = kl::NextCharIn(encoding, text, pos))
        numbers[static_cast<int>(pos)] = number++;
    numbers[static_cast<int>(text.size())] = number;
    return numbers;
}

// kind, first character, end character, counterpart's first and end character (-1 without)
using RunKey = std::tuple<int, int, int, int, int>;

std::vector<RunKey> RunsInCharacters(const std::vector<kl::LineSegment>& runs, const std::vector<kl::SubstringCandidate>& other,
                                     const std::string& own, const std::string& otherText, kl::TextEncoding encoding)
{
    const std::map<int, int> ownNumbers = CharacterNumbers(own, encoding);
    const std::map<int, int> otherNumbers = CharacterNumbers(otherText, encoding);
    std::vector<RunKey> keys;
    for (const kl::LineSegment& s : runs) {
        int partnerStart = -1;
        int partnerEnd = -1;
        if (s.counterpart != kl::kNoCandidate) {
            const kl::SubstringCandidate& c = other.at(static_cast<std::size_t>(s.counterpart));
            partnerStart = otherNumbers.at(c.start);
            partnerEnd = otherNumbers.at(c.end);
        }
        keys.emplace_back(s.isDifference, ownNumbers.at(s.start), ownNumbers.at(s.end), partnerStart, partnerEnd);
    }
    return keys;
}

TEST(LineEncodingEquivalence, Cp932AndUtf8CoverTheSameCharacters)
{
    std::mt19937 random(97531);
    for (int round = 0; round < kltest::ScaledCases(400); ++round) {
        std::vector<std::size_t> pieces1(random() % 40);
        for (std::size_t& p : pieces1)
            p = random() % kPieces.size();
        std::vector<std::size_t> pieces2 = pieces1;
        for (int edits = static_cast<int>(random() % 5); edits > 0 && !pieces2.empty(); --edits) {
            const std::size_t at = random() % pieces2.size();
            if (random() % 2 == 0)
                pieces2[at] = random() % kPieces.size();
            else
                pieces2.erase(pieces2.begin() + static_cast<std::ptrdiff_t>(at));
        }
        const std::string& lineEnd = kLineEnds[random() % kLineEnds.size()];
        const EncodedLine line1 = Render(pieces1, lineEnd);
        const EncodedLine line2 = Render(pieces2, lineEnd);
        SCOPED_TRACE(testing::PrintToString(line1.cp932) + " / " + testing::PrintToString(line2.cp932));

        const kl::LinePairResult sjis = kl::CompareLinePair(line1.cp932, line2.cp932, {}, {}, kl::TextEncoding::Cp932);
        const kl::LinePairResult utf8 = kl::CompareLinePair(line1.utf8, line2.utf8, {}, {}, kl::TextEncoding::Utf8);
        EXPECT_EQ(RunsInCharacters(sjis.segments1, sjis.candidates2, line1.cp932, line2.cp932, kl::TextEncoding::Cp932),
                  RunsInCharacters(utf8.segments1, utf8.candidates2, line1.utf8, line2.utf8, kl::TextEncoding::Utf8));
        EXPECT_EQ(RunsInCharacters(sjis.segments2, sjis.candidates1, line2.cp932, line1.cp932, kl::TextEncoding::Cp932),
                  RunsInCharacters(utf8.segments2, utf8.candidates1, line2.utf8, line1.utf8, kl::TextEncoding::Utf8));
        EXPECT_EQ(kl::CountCandidates(line1.cp932, kl::TextEncoding::Cp932),
                  kl::CountCandidates(line1.utf8, kl::TextEncoding::Utf8));
        if (HasFailure())
            return;
    }
}

}  // namespace
