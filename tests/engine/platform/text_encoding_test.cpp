// Encodings: what a file's bytes are taken for, character stepping and decoding per
// encoding, and UTF-16 held as UTF-8.
#include "engine/platform/text_encoding.h"

#include <gtest/gtest.h>
#include <string>

#include "engine/platform/cp932.h"

namespace {

using kl::DetectedEncoding;
using kl::TextEncoding;

TEST(TextEncoding, FilesAreTakenForWhatTheirBytesSay)
{
    const std::string japanese = "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\r\n";  // 日本語 in UTF-8
    const struct {
        const char* name;
        std::string bytes;
        DetectedEncoding expected;
    } cases[] = {
        {"ASCII stays code page 932", "plain text\r\n", DetectedEncoding::Cp932},
        {"empty", "", DetectedEncoding::Cp932},
        {"UTF-8 Japanese", "abc " + japanese, DetectedEncoding::Utf8},
        {"UTF-8 mark", "\xEF\xBB\xBF" "abc\n", DetectedEncoding::Utf8Bom},
        {"UTF-16 LE with CR LF", std::string("\xFF\xFE" "a\0\r\0\n\0", 8), DetectedEncoding::Utf16Le},
        {"UTF-16 BE", std::string("\xFE\xFF\0a", 4), DetectedEncoding::Utf16Be},
        {"code page 932 Japanese", kl::Utf8ToCp932("日本語\r\n"), DetectedEncoding::Cp932},
        {"UTF-8 with one stray byte", japanese + "\x82", DetectedEncoding::Cp932},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kl::DetectEncoding(c.bytes), c.expected);
    }
    EXPECT_EQ(kl::ByteOrderMarkLength(DetectedEncoding::Utf8Bom), 3u);
    EXPECT_EQ(kl::ByteOrderMarkLength(DetectedEncoding::Utf16Le), 2u);
    EXPECT_EQ(kl::ByteOrderMarkLength(DetectedEncoding::Utf8), 0u);
}

TEST(TextEncoding, SteppingNeverSplitsACharacter)
{
    const std::string utf8 = "a\xE3\x80\x80\xF0\x9F\x98\x80z\x80";  // a, U+3000, U+1F600, z, stray byte
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < utf8.size(); pos = kl::NextCharIn(TextEncoding::Utf8, utf8, pos))
        starts.push_back(pos);
    EXPECT_EQ(starts, (std::vector<std::size_t>{0, 1, 4, 8, 9}));
    EXPECT_EQ(kl::NextCharIn(TextEncoding::Utf8, utf8, utf8.size()), utf8.size());
    EXPECT_TRUE(kl::IsWideSpaceIn(TextEncoding::Utf8, utf8, 1));
    EXPECT_FALSE(kl::IsWideSpaceIn(TextEncoding::Utf8, utf8, 0));

    const std::string cp932 = kl::Utf8ToCp932("　あ");
    EXPECT_TRUE(kl::IsWideSpaceIn(TextEncoding::Cp932, cp932, 0));
    EXPECT_EQ(kl::NextCharIn(TextEncoding::Cp932, cp932, 0), 2u);
}

TEST(TextEncoding, DecodingFollowsTheEncoding)
{
    const std::string utf8 = "\xE6\x97\xA5\xF0\x9F\x98\x80\xFF";
    EXPECT_EQ(kl::DecodeToUtf16(TextEncoding::Utf8, utf8), std::u16string(u"日\U0001F600\uFFFD"));
    EXPECT_EQ(kl::DecodeToUtf8(TextEncoding::Utf8, utf8), "\xE6\x97\xA5\xF0\x9F\x98\x80\xEF\xBF\xBD");
    EXPECT_EQ(kl::DecodeToUtf8(TextEncoding::Cp932, kl::Utf8ToCp932("日本")), "日本");
}

TEST(TextEncoding, Utf16BecomesUtf8)
{
    // 日 a CR LF, then U+1F600 as a surrogate pair, in both byte orders.
    const std::string le("\xE5\x65" "a\0\r\0\n\0" "\x3D\xD8\x00\xDE", 12);
    EXPECT_EQ(kl::Utf16ToUtf8(le, false), "\xE6\x97\xA5" "a\r\n\xF0\x9F\x98\x80");
    const std::string be("\x65\xE5\0a", 4);
    EXPECT_EQ(kl::Utf16ToUtf8(be, true), "\xE6\x97\xA5" "a");
    // An unpaired surrogate and an odd last byte each become U+FFFD.
    EXPECT_EQ(kl::Utf16ToUtf8(std::string("\x3D\xD8" "a\0" "b", 5), false), "\xEF\xBF\xBD" "a\xEF\xBF\xBD");
}

}  // namespace
