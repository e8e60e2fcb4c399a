#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/document/file_bytes.h"
#include "engine/document/text_loader.h"
#include "tests/support/test_scale.h"

namespace {

using kl::EncodingChoice;
using kl::FileEncoding;

// Reads bytes as the program reads a file and writes the text back in the encoding it was
// read in.
std::string SavedUnedited(const kl::Text& text)
{
    const kl::FileBytes file = kl::EncodeForFile(text, text.origin.encoding);
    EXPECT_FALSE(file.unencodable);
    return std::string(file.bytes(text));
}

TEST(FileBytesTest, AnUneditedTextIsWrittenBackByteForByte)
{
    const struct {
        const char* name;
        std::string bytes;
        bool eucChg;
        EncodingChoice choice;
        FileEncoding read;
    } cases[] = {
        {"Shift_JIS", "\x8a\xbf\x8e\x9a\r\n\xb6\xc5\nabc\r\x80\xff\x81", false, EncodingChoice::Auto,
         FileEncoding::ShiftJis},
        {"EUC-JP", "\xb4\xc1\xbb\xfa\r\n\x8e\xb6 kana\nabc\r\xa4\xa2", true, EncodingChoice::Auto, FileEncoding::EucJp},
        // Lines the conversion leaves alone or cuts short come back as they were read.
        {"EUC-JP, odd lines", "\xb4\xc1\n\x8e\xb6\xa4\xa2\n\xa4\xa2\xa1\n\xb4\xc1\xff", true, EncodingChoice::Auto,
         FileEncoding::EucJp},
        {"EUC-JP chosen, ASCII only", "abc\n", false, EncodingChoice::EucJp, FileEncoding::EucJp},
        // Shift_JIS with one line that looks like EUC-JP: the file stays Shift_JIS.
        {"Shift_JIS read with the EUC-JP switch", "\x8a\xbf\n\x8e\x9a\n\xb6\xc5\x8a\xbf\n", true, EncodingChoice::Auto,
         FileEncoding::ShiftJis},
        {"UTF-8", "\xe6\xbc\xa2\xe5\xad\x97\r\n\xf0\x9f\x98\x80\n", false, EncodingChoice::Auto, FileEncoding::Utf8},
        {"UTF-8 with BOM", "\xef\xbb\xbf\xe6\xbc\xa2\n", false, EncodingChoice::Auto, FileEncoding::Utf8Bom},
        {"UTF-16LE", std::string("\xff\xfe\x22\x6f\x0d\x00\x0a\x00\x3d\xd8\x00\xde\x0d\x00", 14), false,
         EncodingChoice::Auto, FileEncoding::Utf16Le},
        {"UTF-16BE", std::string("\xfe\xff\x6f\x22\x00\x0a\x00\x41", 8), false, EncodingChoice::Auto,
         FileEncoding::Utf16Be},
        // A lone surrogate and an odd last byte are no characters, yet come back.
        {"UTF-16LE, broken", std::string("\xff\xfe\x00\xd8\x0a\x00\x41\x00\x0a\x00\x00\xd8\x41", 13), false,
         EncodingChoice::Auto, FileEncoding::Utf16Le},
        {"empty", "", false, EncodingChoice::Auto, FileEncoding::ShiftJis},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const kl::Text text = kl::SplitLines(c.bytes, c.eucChg, c.choice);
        EXPECT_EQ(text.origin.encoding, c.read);
        EXPECT_EQ(SavedUnedited(text), c.bytes);
    }
}

TEST(FileBytesTest, AShiftJisTextHeldAsUtf8IsWrittenBackByteForByte)
{
    // A character with two codes (NEC and IBM ¬), stray bytes and a half-width kana.
    const std::string file = "\xfa\x54\x81\xca\n\xee\xf9\x80\n\xb6\x8a\xbf\xff\n";
    const kl::Text utf8 = kl::ConvertedToUtf8(kl::SplitLines(file, false));
    ASSERT_EQ(utf8.encoding, kl::TextEncoding::Utf8);
    EXPECT_EQ(SavedUnedited(utf8), file);
    const kl::Text fromEuc = kl::ConvertedToUtf8(kl::SplitLines("\xb4\xc1\n\x8e\xb6\xa4\xa2\n", true));
    EXPECT_EQ(SavedUnedited(fromEuc), "\xb4\xc1\n\x8e\xb6\xa4\xa2\n");
}

// Whatever bytes a file holds, reading and saving it gives them back.
TEST(FileBytesTest, RandomFilesComeBackAsTheyWereRead)
{
    std::mt19937 random(23);
    const std::string alphabet("\r\na \x80\x81\x8a\x8e\x9f\xa0\xa1\xb4\xc1\xdf\xe0\xea\xed\xf0\xfa\xfc\xfd\xff\x40\xa4", 25);
    for (int n = 0; n < kltest::ScaledCases(400); ++n) {
        std::string bytes(random() % 40, ' ');
        for (char& c : bytes)
            c = alphabet[random() % alphabet.size()];
        if (n % 4 == 3)
            bytes.insert(0, n % 8 == 3 ? "\xff\xfe" : "\xfe\xff");
        for (const bool eucChg : {false, true}) {
            SCOPED_TRACE(testing::PrintToString(bytes) + (eucChg ? " EUC" : ""));
            const kl::Text text = kl::SplitLines(bytes, eucChg);
            ASSERT_EQ(SavedUnedited(text), bytes);
            if (text.encoding == kl::TextEncoding::Cp932) {
                ASSERT_EQ(SavedUnedited(kl::ConvertedToUtf8(text)), bytes);
            }
        }
    }
}

TEST(FileBytesTest, EditedLinesAreEncodedIntoTheFilesEncoding)
{
    // 漢 typed into texts of every encoding (each text as the editor would hold it).
    const struct {
        FileEncoding encoding;
        kl::TextEncoding held;
        std::string line;
        std::string written;
    } cases[] = {
        {FileEncoding::ShiftJis, kl::TextEncoding::Utf8, "\xe6\xbc\xa2\n", "\x8a\xbf\n"},
        {FileEncoding::EucJp, kl::TextEncoding::Cp932, "\x8a\xbf\xb6\n", "\xb4\xc1\x8e\xb6\n"},
        {FileEncoding::EucJp, kl::TextEncoding::Utf8, "\xe6\xbc\xa2\n", "\xb4\xc1\n"},
        {FileEncoding::Utf8Bom, kl::TextEncoding::Utf8, "\xe6\xbc\xa2\n", "\xef\xbb\xbf\xe6\xbc\xa2\n"},
        {FileEncoding::Utf8, kl::TextEncoding::Cp932, "\x8a\xbf\n", "\xe6\xbc\xa2\n"},
        {FileEncoding::Utf16Be, kl::TextEncoding::Utf8, "\xe6\xbc\xa2\n", std::string("\xfe\xff\x6f\x22\x00\x0a", 6)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(kl::FileEncodingName(c.encoding)));
        kl::Text text = kl::TextFromLines({c.line});
        text.encoding = c.held;
        const kl::FileBytes file = kl::EncodeForFile(text, c.encoding);
        ASSERT_FALSE(file.unencodable);
        EXPECT_EQ(file.bytes(text), c.written);
    }
}

TEST(FileBytesTest, TheFirstCharacterTheEncodingCannotHoldIsNamed)
{
    const struct {
        FileEncoding encoding;
        kl::TextEncoding held;
        std::vector<std::string_view> lines;
        kl::Unencodable first;
    } cases[] = {
        // 😀 and 𠮷 have no Shift_JIS code; the IBM ⅰ (FA 40) lies past the rows EUC-JP has.
        {FileEncoding::ShiftJis, kl::TextEncoding::Utf8, {"ab\n", "c\xf0\x9f\x98\x80\xf0\xa0\xae\xb7\n"}, {1, 1, 0x1F600}},
        {FileEncoding::EucJp, kl::TextEncoding::Cp932, {"\xfa\x40"}, {0, 0, 0x2170}},
        {FileEncoding::EucJp, kl::TextEncoding::Utf8, {"x\xe2\x85\xb0"}, {0, 1, 0x2170}},
        // Bytes that are no character cannot go to another encoding.
        {FileEncoding::Utf8, kl::TextEncoding::Cp932, {"a\x80"}, {0, 1, 0xFFFD}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(kl::FileEncodingName(c.encoding)));
        kl::Text text = kl::TextFromLines(c.lines);
        text.encoding = c.held;
        const kl::FileBytes file = kl::EncodeForFile(text, c.encoding);
        ASSERT_TRUE(file.unencodable);
        EXPECT_EQ(file.unencodable->line, c.first.line);
        EXPECT_EQ(file.unencodable->offset, c.first.offset);
        EXPECT_EQ(file.unencodable->character, c.first.character);
        EXPECT_TRUE(file.encoded.find('?') == std::string::npos);
    }
}

}  // namespace
