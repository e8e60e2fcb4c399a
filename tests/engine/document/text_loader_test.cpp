#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/document/text_loader.h"

namespace {

using namespace std::string_literals;

struct ExpectedLine {
    std::string text;
    int length;
    int contentLength;
    int kind;
};

struct SplitCase {
    const char* name;
    std::string input;
    std::vector<ExpectedLine> lines;
};

std::vector<SplitCase> SplitCases()
{
    const std::string longLine(300, 'q');
    const std::string to253(253, 'a');  // CR at 253, LF at 254
    const std::string to254(254, 'a');  // CR at 254, LF at 255
    return {
        {"Empty", "", {}},
        {"MixedEnds", "x\r\ny\nz\rw", {{"x\r\n", 3, 1, 2}, {"y\n", 2, 1, 1}, {"z\r", 2, 1, 1}, {"w", 1, 1, 0}}},
        {"CrThenCrLf", "x\r\r\n", {{"x\r", 2, 1, 1}, {"\r\n", 2, 0, 2}}},
        {"LoneCrAtEnd", "abc\r", {{"abc\r", 4, 3, 1}}},
        {"OnlyCr", "\r", {{"\r", 1, 0, 1}}},
        {"OnlyCrLf", "\r\n", {{"\r\n", 2, 0, 2}}},
        {"LfThenCr", "\n\r", {{"\n", 1, 0, 1}, {"\r", 1, 0, 1}}},
        {"NoLineEnd", "abc", {{"abc", 3, 3, 0}}},
        {"EmptyLines", "\n\n", {{"\n", 1, 0, 1}, {"\n", 1, 0, 1}}},
        {"NulBytesKept", "a\0b\nc\0"s, {{"a\0b\n"s, 4, 3, 1}, {"c\0"s, 2, 2, 0}}},
        {"NulBeforeCr", "\0\r\n\0"s, {{"\0\r\n"s, 3, 1, 2}, {"\0"s, 1, 1, 0}}},
        {"LongLine", longLine + "\r\nz", {{longLine + "\r\n", 302, 300, 2}, {"z", 1, 1, 0}}},
        {"CrLfAt253", to253 + "\r\nb", {{to253 + "\r\n", 255, 253, 2}, {"b", 1, 1, 0}}},
        {"CrLfAt254", to254 + "\r\nb", {{to254 + "\r\n", 256, 254, 2}, {"b", 1, 1, 0}}},
        {"CrLastOfLongLine", to253 + "\r", {{to253 + "\r", 254, 253, 1}}},
        {"ShiftJisBytes", "\x93\xfa\x96\x7b\r\n\x82\xa0\n", {{"\x93\xfa\x96\x7b\r\n", 6, 4, 2}, {"\x82\xa0\n", 3, 2, 1}}},
    };
}

void ExpectLines(const kl::Text& text, const std::vector<ExpectedLine>& expected)
{
    ASSERT_EQ(text.count(), static_cast<int>(expected.size()));
    std::int64_t offset = 0;
    for (int i = 0; i < text.count(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i));
        const ExpectedLine& e = expected[i];
        EXPECT_EQ(text.text(i), e.text);
        EXPECT_EQ(kl::LineLength(text, i), e.length);
        EXPECT_EQ(kl::ContentLength(text, i), e.contentLength);
        EXPECT_EQ(kl::NewlineKind(text, i), e.kind);
        EXPECT_EQ(text.starts[i], offset) << "texts lie back to back";
        offset += static_cast<std::int64_t>(text.text(i).size());
    }
    EXPECT_EQ(static_cast<std::int64_t>(text.size), offset);
}

// A fresh buffer holding a copy of bytes, as the file reader hands it over.
std::unique_ptr<char[]> OwnedCopy(const std::string& bytes)
{
    auto storage = std::make_unique<char[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), storage.get());
    return storage;
}

TEST(SplitLines, Cases)
{
    for (const SplitCase& c : SplitCases()) {
        SCOPED_TRACE(c.name);
        ExpectLines(kl::SplitLines(c.input, false), c.lines);
        // Taking over the buffer gives the same text.
        ExpectLines(kl::SplitLinesOwned(OwnedCopy(c.input), c.input.size(), false), c.lines);
    }
}

TEST(SplitLines, ManyLinesKeepEveryByte)
{
    std::string input;
    const char* ends[] = {"\n", "\r\n", "\r"};
    for (int i = 0; i < 5000; ++i)
        input += "line " + std::to_string(i) + ends[i % 3];
    const kl::Text text = kl::SplitLines(input, false);
    ASSERT_EQ(text.count(), 5000);
    EXPECT_EQ(text.bytes(), input);
    EXPECT_EQ(kl::NewlineKind(text, 4999), 2);
    EXPECT_EQ(text.text(4998), "line 4998\n");
}

TEST(LongestLineIndex, GreatestLengthFirstOnTies)
{
    EXPECT_EQ(kl::LongestLineIndex(kl::SplitLines("", false)), 0);
    EXPECT_EQ(kl::LongestLineIndex(kl::SplitLines("ab\ncd\nxyz\nuvw\n", false)), 2);
    // The line end counts: "abc\n" and "ab\r\n" are both 4 bytes, the first wins.
    EXPECT_EQ(kl::LongestLineIndex(kl::SplitLines("abc\nab\r\n", false)), 0);
    EXPECT_EQ(kl::LongestLineIndex(kl::SplitLines("a\nbb\ncccc", false)), 2);
    EXPECT_EQ(kl::LongestLineIndex(kl::SplitLines("a\nbb\nccc", false)), 1);
}

TEST(IsEucLine, Classification)
{
    struct Case {
        const char* name;
        std::string line;
        int expected;
    };
    const Case cases[] = {
        {"Ascii", "abc\r\n", -1},
        {"EmptyLine", "", -1},
        {"HalfWidthKatakanaByte", "ab\xb1\n", 1},
        {"EucKanji", "\xc6\xfc\xcb\xdc\r\n", 1},
        {"ShiftJisLead", "a\x82\xa0\n", 0},
        {"ShiftJisLead9F", "\x9f\xa1", 0},
        {"HighByteThenLowByte", "\xe0\xa0", 0},
        {"HighByteThenAscii", "\xfe" "a", 0},
        {"HighByteThenHighByte", "\xe0\xa1", 1},  // the scan goes on with 0xA1
        {"ChainOfHighBytes", "\xf0\xf0\xf0\n", 0},
        {"HighByteAtEnd", "ab\xe5", 0},  // the byte after the last one counts as 0
        {"Byte80", "\x80\xff\x41", 0},
        {"NulInside", "a\0b"s, -1},
        {"LeadingKatakanaPrefix8E", "\x8e\xb1", 0},  // 0x8E is a Shift_JIS lead byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(kl::IsEucLine(c.line), c.expected) << c.name;
}

TEST(EucToSjis, Conversion)
{
    struct Case {
        const char* name;
        std::string euc;
        std::string sjis;
    };
    const Case cases[] = {
        {"Kanji", "\xc6\xfc\xcb\xdc", "\x93\xfa\x96\x7b"},            // 日本
        {"OddLeadHighTrail", "\xbb\xfa", "\x8e\x9a"},                  // 字
        {"EvenLead", "\xb0\xf3\xcc\xdb", "\x88\xf1\x96\xd9"},          // 鰯黙
        {"LeadFromDF", "\xdf\xa1\xdf\xfe\xe1\xe5", "\xe0\x40\xe0\x9e\xe1\x85"},
        {"EvenLeadFromE0", "\xe0\xfe\xf4\xa6", "\xe0\xfc\xea\xa4"},    // ..., 熙
        {"HalfWidthKatakana", "\x8e\xb1\x8e\xb2\x8e\xdf", "\xb1\xb2\xdf"},
        {"MixedWithAsciiAndLineEnd", "a\xa5\xa2 b\r\n", "a\x83\x41 b\r\n"},
        {"LoneHighByteDropped", "ab\xc6", "ab"},
        {"Lone8EDropped", "ab\x8e", "ab"},
        {"Lone8DKept", "ab\x8d", "ab\x8d"},
        {"HighByteBeforeLineEnd", "\xc6\n", "\xc6\n"},
        {"Empty", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kl::EucToSjis(c.euc), c.sjis) << c.name;
}

TEST(SplitLines, EucConversionPerLine)
{
    // An EUC-JP line; one with half-width katakana that shrinks; a line whose first high
    // byte is 0x8E (taken for Shift_JIS, left alone); a Shift_JIS line starting with a
    // half-width katakana byte (taken for EUC-JP and converted); a Shift_JIS line starting
    // with 0x82 (left alone); an ASCII line.
    const std::string input =
        "\xc6\xfc\xcb\xdc\r\n"
        "\xc6\xfc\x8e\xb1\x8e\xb2\n"
        "\x8e\xb1\n"
        "\xb1\xb2\n"
        "\x82\xa0\xb1\xb2\n"
        "x";
    const kl::Text text = kl::SplitLines(input, true);
    ExpectLines(text, {
                           {"\x93\xfa\x96\x7b\r\n", 6, 4, 2},
                           {"\x93\xfa\xb1\xb2\n", 7, 6, 1},
                           {"\x8e\xb1\n", 3, 2, 1},
                           {"\x89\x51\n", 3, 2, 1},
                           {"\x82\xa0\xb1\xb2\n", 5, 4, 1},
                           {"x", 1, 1, 0},
                       });
    EXPECT_EQ(text.text(1).size(), 5u);

    // Without the switch nothing is converted.
    const kl::Text raw = kl::SplitLines(input, false);
    EXPECT_EQ(raw.bytes(), input);
    EXPECT_EQ(raw.text(1), "\xc6\xfc\x8e\xb1\x8e\xb2\n");
}

// A text whose bytes a conversion changed may not be written back as if it were the file.
TEST(SplitLines, MarksATextWhoseBytesWereConverted)
{
    const struct {
        const char* name;
        std::string file;
        bool eucChg;
        bool converted;
    } cases[] = {
        {"EUC-JP kanji keep their length", "\xc6\xfc\xcb\xdc\r\n", true, true},
        {"EUC-JP half-width katakana", "a\n\xa5\xa2\x8e\xb1\n", true, true},
        {"a lone high byte at the end is dropped", "\xa1\xa1\xb0", true, true},
        {"Shift_JIS katakana classified as EUC-JP, left as it was", "\xb1 \xb2\r\n", true, false},
        {"Shift_JIS kanji", "\x93\xfa\r\n", true, false},
        {"no conversion asked", "\xc6\xfc\r\n", false, false},
    };
    for (const auto& c : cases) {
        const kl::Text text = kl::SplitLines(c.file, c.eucChg);
        EXPECT_EQ(text.converted, c.converted) << c.name;
        if (!c.converted) {
            EXPECT_EQ(text.bytes(), c.file) << c.name;
        }
    }
}

class FormatFileInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* tz = std::getenv("TZ"))
            savedTz_ = tz;
        SetTimeZone("UTC");
    }
    void TearDown() override { SetTimeZone(savedTz_ ? savedTz_->c_str() : nullptr); }

private:
    // nullptr: the system's own time zone.
    static void SetTimeZone(const char* tz)
    {
#if defined(_WIN32)
        _putenv_s("TZ", tz ? tz : "");
        _tzset();
#else
        if (tz)
            setenv("TZ", tz, 1);
        else
            unsetenv("TZ");
        tzset();
#endif
    }

    std::optional<std::string> savedTz_;
};

TEST_F(FormatFileInfoTest, TimeAndSize)
{
    const std::time_t march5 = 1236243900;  // 2009-03-05 09:05:00 UTC
    EXPECT_EQ(kl::FormatFileInfo(march5, 1534), " [2009/03/05 09:05] 1534 byte");
    EXPECT_EQ(kl::FormatFileInfo(march5 + 59, 0), " [2009/03/05 09:05] 0 byte");
    EXPECT_EQ(kl::FormatFileInfo(0, 5000000000ULL), " [1970/01/01 00:00] 5000000000 byte");
}

}  // namespace

TEST(SplitLinesEncoding, TheBytesDecideTheEncodingAndUtf8IsKeptAsItIs)
{
    // UTF-8 Japanese: kept byte for byte, even with the EUC-JP conversion switched on.
    const std::string utf8 = "\xE6\x97\xA5\xE6\x9C\xAC\r\nabc\n";
    const kl::Text fromUtf8 = kl::SplitLines(utf8, true);
    EXPECT_EQ(fromUtf8.encoding, kl::TextEncoding::Utf8);
    EXPECT_FALSE(fromUtf8.converted);
    EXPECT_EQ(fromUtf8.bytes(), utf8);
    EXPECT_EQ(fromUtf8.count(), 2);

    // UTF-16 with CR LF: held as UTF-8 lines, marked converted.
    const std::string utf16("\xFF\xFE\xE5\x65\r\0\n\0" "a\0", 10);
    const kl::Text fromUtf16 = kl::SplitLines(utf16, false);
    EXPECT_EQ(fromUtf16.encoding, kl::TextEncoding::Utf8);
    EXPECT_TRUE(fromUtf16.converted);
    ASSERT_EQ(fromUtf16.count(), 2);
    EXPECT_EQ(fromUtf16.text(0), "\xE6\x97\xA5\r\n");
    EXPECT_EQ(fromUtf16.text(1), "a");

    // Pure ASCII and code page 932 keep today's path.
    EXPECT_EQ(kl::SplitLines("abc\n", false).encoding, kl::TextEncoding::Cp932);
    EXPECT_EQ(kl::SplitLines("\x93\xfa\x96\x7b\r\n", false).encoding, kl::TextEncoding::Cp932);
}
