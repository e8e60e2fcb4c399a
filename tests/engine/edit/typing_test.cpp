#include <gtest/gtest.h>

#include "engine/document/text_loader.h"
#include "engine/edit/typing.h"

namespace {

kl::Text Sjis(const std::string& bytes) { return kl::SplitLines(bytes, false, kl::EncodingChoice::ShiftJis); }

TEST(Typing, BackspaceAndDeleteTakeACharacterOrAWholeLineEnd)
{
    struct Case {
        std::string text;
        std::int64_t pos;
        std::pair<std::int64_t, std::int64_t> backspace, del;
    };
    const Case cases[] = {
        {"ab\r\ncd", 4, {2, 4}, {4, 5}},           // CR LF at a line start / before c
        {"ab\r\ncd", 2, {1, 2}, {2, 4}},           // at the line end: both bytes go
        {"ab\ncd", 3, {2, 3}, {3, 4}},
        {"ab\rcd", 3, {2, 3}, {3, 4}},
        {"ab\rcd", 2, {1, 2}, {2, 3}},
        {"\x82\xa0\x82\xa2\n", 2, {0, 2}, {2, 4}},  // double-byte characters
        {"\x82\xa0\x82\xa2\n", 4, {2, 4}, {4, 5}},
        {"x", 0, {0, 0}, {0, 1}},
        {"x", 1, {0, 1}, {1, 1}},
    };
    for (const Case& c : cases) {
        const kl::Text text = Sjis(c.text);
        const kl::TextEdit back = kl::BackspaceEdit(text, 0, c.pos);
        const kl::TextEdit del = kl::DeleteEdit(text, 0, c.pos);
        EXPECT_EQ(std::pair(back.begin, back.end), c.backspace) << c.text << " " << c.pos;
        EXPECT_EQ(std::pair(del.begin, del.end), c.del) << c.text << " " << c.pos;
    }
}

TEST(Typing, EnterTakesTheMostCommonLineEnd)
{
    EXPECT_EQ(kl::DominantNewline(Sjis("a\nb\r\nc\n")), "\n");
    EXPECT_EQ(kl::DominantNewline(Sjis("a\rb\rc\r\n")), "\r");
    EXPECT_EQ(kl::DominantNewline(Sjis("a\r\nb\n")), "\r\n");
    EXPECT_EQ(kl::DominantNewline(Sjis("")), "\r\n");
    EXPECT_EQ(kl::WithNewlines("a\r\nb\nc\r", "\r\n"), "a\r\nb\r\nc\r\n");
}

TEST(Typing, CharactersGoInTheTextsEncodingOrTheTextBecomesUtf8)
{
    const kl::Text sjis = Sjis("\x82\xa0\r\nx\r\n");  // "あ", "x"
    const kl::PreparedEdit kana = kl::TypingEdit(sjis, 0, 2, 2, "\xe3\x81\x84");  // "い"
    EXPECT_FALSE(kana.base);
    EXPECT_EQ(kana.edit.inserted, "\x82\xa2");

    const kl::PreparedEdit accent = kl::TypingEdit(sjis, 0, 4, 4, "\xc3\xa9");  // "é" before "x"
    ASSERT_TRUE(accent.base);
    EXPECT_EQ(accent.base->encoding, kl::TextEncoding::Utf8);
    EXPECT_TRUE(accent.base->converted);
    EXPECT_EQ(accent.edit.begin, 5);  // after "あ\r\n" in UTF-8
    EXPECT_EQ(kl::ApplyEdit(*accent.base, accent.edit)->bytes(), "\xe3\x81\x82\r\n\xc3\xa9x\r\n");
    EXPECT_EQ(kl::LineLength(*accent.base, 0), 4);  // the file's line length stays

    const kl::Text utf8 = kl::SplitLines("\xe3\x81\x82\n", false, kl::EncodingChoice::Utf8);
    EXPECT_EQ(kl::TypingEdit(utf8, 1, 0, 0, "\xc3\xa9").edit.inserted, "\xc3\xa9");
}

}  // namespace
