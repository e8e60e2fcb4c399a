#include "engine/compare/lines_equal.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using kl::CompareOptions;
using kl::LinesEqual;

// Code page 932 bytes used below.
const std::string kWideSpace = "\x81\x40";  // full-width space
const std::string kKanji = "\x88\x9f";      // 亜
const std::string kSo = "\x83\x5c";         // ソ: its trail byte is a backslash
const std::string kLoneLead = "\x88";       // a lead byte without its trail byte

enum Switch : unsigned {
    kNewline = 1, kSpaceTab = 2, kWide = 4, kTrailing = 8, kMethod1 = 16,
};

CompareOptions Options(unsigned switches, char delimiter = ':')
{
    CompareOptions options;
    options.method = (switches & kMethod1) ? 1 : 0;
    options.delimiter = delimiter;
    options.ignoreNewline = (switches & kNewline) != 0;
    options.ignoreSpaceTab = (switches & kSpaceTab) != 0;
    options.wideSpaceAsTwo = (switches & kWide) ? 1 : 0;
    options.ignoreTrailingSpaces = (switches & kTrailing) ? 1 : 0;
    return options;
}

struct EqualityCase {
    const char* label;
    std::string first;
    std::string second;
    unsigned switches;
    bool equal;
    char delimiter = ':';
};

void PrintTo(const EqualityCase& c, std::ostream* os) { *os << c.label; }

class LinesEqualTable : public ::testing::TestWithParam<EqualityCase> {};

TEST_P(LinesEqualTable, GivesExpectedResult)
{
    const EqualityCase& c = GetParam();
    const int result = LinesEqual(c.first, c.second, Options(c.switches, c.delimiter));
    EXPECT_EQ(result == 0, c.equal) << c.label;
}

// A line of exactly `total` bytes: filler x's, then tail.
std::string LongLine(std::size_t total, const std::string& tail)
{
    return std::string(total - tail.size(), 'x') + tail;
}

const std::string k254 = LongLine(254, "abc\r\n");
const std::string k300 = LongLine(300, "abc\r\n");

INSTANTIATE_TEST_SUITE_P(LineEnds, LinesEqualTable, ::testing::Values(
    EqualityCase{"crlf vs lf, no option", "abc\r\n", "abc\n", 0, false},
    EqualityCase{"crlf vs lf, ignoreNewline", "abc\r\n", "abc\n", kNewline, true},
    EqualityCase{"lone cr vs crlf, ignoreNewline", "abc\r", "abc\r\n", kNewline, true},
    EqualityCase{"no line end first, ignoreNewline", "abc", "abc\r\n", kNewline, false},
    EqualityCase{"no line end second, ignoreNewline", "abc\r\n", "abc", kNewline, true},
    EqualityCase{"different content, ignoreNewline", "abd\r\n", "abc\n", kNewline, false},
    EqualityCase{"different lengths, ignoreNewline", "abcd\r\n", "abc\n", kNewline, false},
    EqualityCase{"equal lengths settled by a later option", "a" + kWideSpace + "b\n", "a  b\r\n",
                 kNewline | kWide, true},
    EqualityCase{"lf after a lead byte still ends the line", "ab" + kLoneLead + "\n",
                 "ab" + kLoneLead + "\r\n", kNewline, true},
    EqualityCase{"cr after a lead byte still ends the line", "ab" + kLoneLead + "\r\n",
                 "ab" + kLoneLead + "\n", kNewline, true}));

INSTANTIATE_TEST_SUITE_P(SpacesAndTabs, LinesEqualTable, ::testing::Values(
    EqualityCase{"space and tab, no option", "a b\tc\r\n", "abc\r\n", 0, false},
    EqualityCase{"space and tab dropped", "a b\tc\r\n", "abc\r\n", kSpaceTab, true},
    EqualityCase{"line ends still count", "a b\tc\r\n", "abc\n", kSpaceTab, false},
    EqualityCase{"with ignoreNewline", "a b\tc\r\n", "abc\n", kSpaceTab | kNewline, true},
    EqualityCase{"full-width space kept", "a" + kWideSpace + "bc\r\n", "abc\r\n", kSpaceTab, false},
    EqualityCase{"tab as trail byte kept", "a" + kLoneLead + "\tb\n", "a" + kLoneLead + "b\n",
                 kSpaceTab, false},
    EqualityCase{"lead byte at window end is one byte", "a b" + kLoneLead + "\r\n",
                 "ab" + kLoneLead + "\n", kSpaceTab | kNewline, true},
    EqualityCase{"space/tab stripping wins over wideSpaceAsTwo", "a" + kWideSpace + "b\n", "a  b\n",
                 kSpaceTab | kWide, false},
    EqualityCase{"stripping with trailing spaces on", "ab \n", "a b\n", kSpaceTab | kTrailing,
                 true}));

INSTANTIATE_TEST_SUITE_P(WideAndTrailingSpaces, LinesEqualTable, ::testing::Values(
    EqualityCase{"full-width space, no option", "a" + kWideSpace + "b\r\n", "a  b\r\n", 0, false},
    EqualityCase{"full-width space as two", "a" + kWideSpace + "b\r\n", "a  b\r\n", kWide, true},
    EqualityCase{"full-width space is not one space", "a" + kWideSpace + "b\r\n", "a b\r\n", kWide,
                 false},
    EqualityCase{"only 81 40 widens", "a" + kKanji + "b\r\n", "a  b\r\n", kWide, false},
    EqualityCase{"trailing spaces, no option", "abc   \r\n", "abc\r\n", 0, false},
    EqualityCase{"trailing spaces crlf", "abc   \r\n", "abc\r\n", kTrailing, true},
    EqualityCase{"trailing spaces lf", "abc  \n", "abc\n", kTrailing, true},
    EqualityCase{"trailing spaces lone cr", "abc \r", "abc\r", kTrailing, true},
    EqualityCase{"trailing spaces, no line end", "abc  ", "abc", kTrailing, true},
    EqualityCase{"trailing spaces on both sides", "abc \r\n", "abc    \r\n", kTrailing, true},
    EqualityCase{"line end kept after the run", "abc  \r\n", "abc\n", kTrailing, false},
    EqualityCase{"trailing spaces with ignoreNewline", "abc   \r\n", "abc\r\n",
                 kTrailing | kNewline, true},
    EqualityCase{"trailing spaces with ignoreNewline, other line end", "abc   \r\n", "abc\n",
                 kTrailing | kNewline, true},
    EqualityCase{"inner spaces count", "a  b\r\n", "a b\r\n", kTrailing, false},
    EqualityCase{"tab ends the run", "abc \t\n", "abc\n", kTrailing, false},
    EqualityCase{"spaces before a tab count", "abc \t \n", "abc\t\n", kTrailing, false},
    EqualityCase{"space as trail byte is no trailing space", "x" + kLoneLead + " \n",
                 "x" + kLoneLead + "\n", kTrailing, false},
    EqualityCase{"widened full-width space is not trailing", "abc" + kWideSpace + "\r\n", "abc\r\n",
                 kWide | kTrailing, false},
    EqualityCase{"widened full-width space is not trailing, ignoreNewline",
                 "abc" + kWideSpace + "\r\n", "abc\r\n", kWide | kTrailing | kNewline, false},
    EqualityCase{"trailing spaces after a full-width space", "abc" + kWideSpace + "  \r\n",
                 "abc" + kWideSpace + "\r\n", kWide | kTrailing, true},
    EqualityCase{"widened full-width space stays before trailing spaces",
                 "abc" + kWideSpace + "  \r\n", "abc  \r\n", kWide | kTrailing, false}));

INSTANTIATE_TEST_SUITE_P(DelimiterMethod, LinesEqualTable, ::testing::Values(
    EqualityCase{"middle differs", "key:x:value\r\n", "key:yy:value\r\n", kMethod1, true},
    EqualityCase{"head differs", "key:x:value\r\n", "kex:x:value\r\n", kMethod1, false},
    EqualityCase{"tail differs", "key:x:value\r\n", "key:x:valve\r\n", kMethod1, false},
    EqualityCase{"line ends differ", "key:x:value\r\n", "key:yy:value\n", kMethod1, false},
    EqualityCase{"line ends ignored", "key:x:value\r\n", "key:yy:value\n", kMethod1 | kNewline, true},
    EqualityCase{"no delimiter in first: plain, equal", "keyxvalue\n", "keyxvalue\n", kMethod1, true},
    EqualityCase{"no delimiter in first: plain, different", "keyxvalue\n", "keyyvalue\n", kMethod1,
                 false},
    EqualityCase{"no delimiter in first, one in second", "abc\n", "a:c\n", kMethod1, false},
    EqualityCase{"second shorter than the head", "key:v", "ke", kMethod1, false},
    EqualityCase{"second exactly the head", "key:", "key", kMethod1, true},
    EqualityCase{"walk compares position 0", ":b", "a", kMethod1, false},
    EqualityCase{"walk ends when second runs out", ":a", "a", kMethod1, true},
    EqualityCase{"walk stops at the delimiter of second", "k:abc", "k:zz:bc", kMethod1, true},
    EqualityCase{"head of second need not hold the delimiter", "k:v", "kv", kMethod1, true},
    EqualityCase{"after space stripping", "k e y:1:v a l\n", "key:22:val\n",
                 kMethod1 | kSpaceTab, true},
    EqualityCase{"after trailing spaces", "key:1:val  \n", "key:22:val\n", kMethod1 | kTrailing, true},
    EqualityCase{"delimiter found as a trail byte", kSo + "ab", kSo + "xyab", kMethod1, true, '\\'},
    EqualityCase{"NUL delimiter never matches", std::string("a\0b", 3), std::string("a\0\0b", 4),
                 kMethod1, false, '\0'}));

INSTANTIATE_TEST_SUITE_P(LongLines, LinesEqualTable, ::testing::Values(
    EqualityCase{"254 bytes, equal", k254, k254, 0, true},
    EqualityCase{"300 bytes, equal", k300, k300, 0, true},
    EqualityCase{"254 bytes, last byte differs", k254, LongLine(254, "abc\r\r"), 0, false},
    EqualityCase{"254 bytes, ignoreNewline", k254, LongLine(253, "abc\n"), kNewline, true},
    EqualityCase{"300 bytes, ignoreNewline", k300, LongLine(299, "abc\n"), kNewline, true},
    EqualityCase{"254 bytes, trailing spaces", LongLine(254, "abc   \r\n"), LongLine(251, "abc\r\n"),
                 kTrailing, true},
    EqualityCase{"300 bytes, trailing spaces", LongLine(300, "abc   \r\n"), LongLine(297, "abc\r\n"),
                 kTrailing, true},
    EqualityCase{"300 bytes, trailing spaces and ignoreNewline", LongLine(300, "abc   \r\n"),
                 LongLine(296, "abc\n"), kTrailing | kNewline, true},
    EqualityCase{"300 bytes, spaces and tabs", LongLine(300, "a b\tc\r\n"), LongLine(298, "abc\r\n"),
                 kSpaceTab, true},
    EqualityCase{"300 bytes, spaces and tabs, differing", LongLine(300, "a b\tc\r\n"),
                 LongLine(298, "abd\r\n"), kSpaceTab, false},
    EqualityCase{"300 bytes, full-width space", LongLine(300, "a" + kWideSpace + "b\r\n"),
                 LongLine(300, "a  b\r\n"), kWide, true},
    EqualityCase{"254 bytes, delimiter method", "key:" + LongLine(250, ":value"), "key:yy:value",
                 kMethod1, true},
    EqualityCase{"300 bytes, delimiter method", "key:" + LongLine(296, ":value"),
                 "key:" + LongLine(290, ":valve"), kMethod1, false}));

// The head test must not look past the end of a short second line, even when the bytes
// that happen to follow it in memory would match.
// In UTF-8 a widened full-width space (three bytes) is shorter than before, so lengths that
// differ can still be equal when line ends are ignored.
TEST(LinesEqual, Utf8FullWidthSpaceAsTwo)
{
    for (const unsigned switches : {unsigned{kWide}, unsigned{kWide | kNewline}}) {
        CompareOptions options = Options(switches);
        options.encoding = kl::TextEncoding::Utf8;
        EXPECT_EQ(LinesEqual("\xE3\x80\x80z\r\n", "  z\r\n", options), 0) << switches;
        EXPECT_EQ(LinesEqual("  z\r\n", "\xE3\x80\x80z\r\n", options), 0) << switches;
        EXPECT_NE(LinesEqual("\xE3\x80\x80z\r\n", " z\r\n", options), 0) << switches;
    }
    CompareOptions options = Options(kWide | kNewline);
    options.encoding = kl::TextEncoding::Utf8;
    EXPECT_EQ(LinesEqual("\xE3\x80\x80z\n", "  z\r\n", options), 0);
}

TEST(LinesEqual, SecondShorterThanTheHeadDiffers)
{
    const std::string backing = "bb";
    const std::string_view second(backing.data(), 1);
    EXPECT_NE(LinesEqual("bb:b", second, Options(kMethod1)), 0);
}

// The window functions on their own: only the first n bytes take part, walked by character.
TEST(StripSpaceTab, KeepsOnlyTheWindowWithoutSpacesAndTabs)
{
    EXPECT_EQ(kl::StripSpaceTab("a b\tc\r\n", 7), "abc\r\n");
    EXPECT_EQ(kl::StripSpaceTab("a b c", 3), "ab");
    EXPECT_EQ(kl::StripSpaceTab("a b", 99), "ab");
    EXPECT_EQ(kl::StripSpaceTab("a" + kWideSpace + " b", 5), "a" + kWideSpace + "b");
    // A space or tab that is a trail byte belongs to its double-byte character.
    EXPECT_EQ(kl::StripSpaceTab("a" + kLoneLead + " b", 4), "a" + kLoneLead + " b");
    // A lead byte that ends the window is a character of its own and takes nothing with it.
    EXPECT_EQ(kl::StripSpaceTab("a " + kLoneLead + " ", 3), "a" + kLoneLead);
}

TEST(NormaliseSpaces, AppliesTheSpaceRulesInsideTheWindow)
{
    const CompareOptions wide = Options(kWide);
    const CompareOptions trailing = Options(kTrailing);
    const CompareOptions both = Options(kWide | kTrailing);
    EXPECT_EQ(kl::NormaliseSpaces("a" + kWideSpace + "b\n", 5, wide), "a  b\n");
    EXPECT_EQ(kl::NormaliseSpaces("a" + kWideSpace + "b\n", 5, trailing), "a" + kWideSpace + "b\n");
    EXPECT_EQ(kl::NormaliseSpaces("ab  \r\n", 6, trailing), "ab\r\n");
    EXPECT_EQ(kl::NormaliseSpaces("ab  \r\n", 6, wide), "ab  \r\n");
    EXPECT_EQ(kl::NormaliseSpaces("ab  \r\n", 4, trailing), "ab");
    EXPECT_EQ(kl::NormaliseSpaces(" \r\n", 3, trailing), "\r\n");
    EXPECT_EQ(kl::NormaliseSpaces("a" + kWideSpace + "\n", 4, both), "a  \n");
    // The lead byte of a full-width space cut by the window end stays a lone byte.
    EXPECT_EQ(kl::NormaliseSpaces("ab" + kWideSpace, 3, both), "ab\x81");
    // A line-end byte after a lead byte belongs to that character.
    EXPECT_EQ(kl::NormaliseSpaces("a " + kLoneLead + "\n", 4, trailing), "a " + kLoneLead + "\n");
}

// Lines made of whole characters; the result must not change when both lines get the same
// long prefix that holds no space, tab, line end or full-width space (which takes them past
// any short-line storage).
TEST(LinesEqualProperty, LongPrefixDoesNotChangeTheResult)
{
    const std::vector<std::string> pieces = {"a", "b", " ", "\t", kWideSpace, kKanji, kSo, ":"};
    const std::vector<std::string> lineEnds = {"", "\n", "\r\n", "\r"};
    std::mt19937 random(20240611);
    auto pick = [&random](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    auto content = [&]() {
        std::string text;
        const int count = std::uniform_int_distribution<int>(0, 8)(random);
        for (int i = 0; i < count; ++i) text += pick(pieces);
        return text;
    };
    // The second line is often a near copy of the first so that equal results occur.
    auto variant = [&](const std::string& text) {
        switch (std::uniform_int_distribution<int>(0, 3)(random)) {
        case 0: return text;
        case 1: return text + pick({" ", "  ", "\t"});
        case 2: return pick({" ", "\t", kWideSpace, "  "}) + text;
        default: return content();
        }
    };
    std::string prefix;
    while (prefix.size() < 300) prefix += "x" + kKanji + "y";

    int equalCount = 0;
    int differentCount = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::string body = content();
        const std::string first = body + pick(lineEnds);
        const std::string second = variant(body) + pick(lineEnds);
        const unsigned switches = std::uniform_int_distribution<unsigned>(0, 15)(random);
        const CompareOptions options = Options(switches);
        const int shortResult = LinesEqual(first, second, options);
        const int longResult = LinesEqual(prefix + first, prefix + second, options);
        ASSERT_EQ(shortResult == 0, longResult == 0)
            << "switches " << switches << " first '" << first << "' second '" << second << "'";
        (shortResult == 0 ? equalCount : differentCount)++;
    }
    EXPECT_GT(equalCount, 400);
    EXPECT_GT(differentCount, 400);
}

}  // namespace
