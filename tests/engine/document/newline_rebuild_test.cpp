#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/document/newline_rebuild.h"
#include "engine/document/text_loader.h"

namespace {

using namespace std::string_literals;

TEST(RebuildNewlines, LineEndsBecomeCrLf)
{
    const struct {
        const char* name;
        std::string file;
        std::optional<std::string> rebuilt;  // nullopt: nothing to repair
    } cases[] = {
        {"all CR LF", "a\r\nb\r\n", std::nullopt},
        {"last line without line end", "a\r\nb", std::nullopt},
        {"empty", "", std::nullopt},
        {"LF alone", "a\nb\n", "a\r\nb\r\n"s},
        {"CR alone", "a\rb\r", "a\r\nb\r\n"s},
        {"empty lines", "\n\r\r\n", "\r\n\r\n\r\n"s},
        {"CR CR LF", "x\r\r\n", "x\r\n\r\n"s},
        {"mixed, last line kept", "x\r\ny\nz\rw", "x\r\ny\r\nz\r\nw"s},
        {"NUL and Shift_JIS bytes kept", "\x82\xa0\0\n\x93\xfa"s, "\x82\xa0\0\r\n\x93\xfa"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const kl::Text text = kl::SplitLines(c.file, false);
        const std::optional<kl::Text> rebuilt = kl::RebuildNewlines(text);
        ASSERT_EQ(rebuilt.has_value(), c.rebuilt.has_value());
        if (!rebuilt)
            continue;
        EXPECT_EQ(rebuilt->bytes(), *c.rebuilt);
        // Lines stay lines: the rebuilt bytes split into as many lines, each ending in CR LF
        // unless it had no line end.
        ASSERT_EQ(rebuilt->count(), text.count());
        EXPECT_EQ(rebuilt->starts, kl::SplitLines(*c.rebuilt, false).starts);
        for (int i = 0; i < rebuilt->count(); ++i)
            EXPECT_EQ(kl::NewlineKind(*rebuilt, i), kl::NewlineKind(text, i) == 0 ? 0 : 2) << i;
    }
}

TEST(RebuildNewlines, LinesAFileCannotGiveAreHandledToo)
{
    // A line ending in CR CR, a line without line end in the middle, an empty line.
    const kl::Text text = kl::TextFromLines({"x\r\r", "mid", "", "\r\r", "y\n"});
    const std::optional<kl::Text> rebuilt = kl::RebuildNewlines(text);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(rebuilt->text(0), "x\r\n");
    EXPECT_EQ(rebuilt->text(1), "mid");
    EXPECT_EQ(rebuilt->text(2), "");
    EXPECT_EQ(rebuilt->text(3), "\r\n");
    EXPECT_EQ(rebuilt->text(4), "y\r\n");
}

TEST(RebuildNewlines, TheLongestLineIsFoundAgain)
{
    // 3 and 3 bytes (the first wins) become 3 and 4.
    const kl::Text text = kl::SplitLines("a\r\nbc\n", false);
    ASSERT_EQ(text.longestLine, 0);
    EXPECT_EQ(kl::RebuildNewlines(text)->longestLine, 1);
}

TEST(RebuildNewlines, AConvertedTextKeepsItsReadLengths)
{
    // EUC-JP: a line with half-width katakana (5 bytes read, 4 stored) and an LF alone,
    // then a kanji line with CR LF.
    const kl::Text text = kl::SplitLines("\xa5\xa2\x8e\xb1\n\xc6\xfc\r\n", true);
    ASSERT_TRUE(text.converted);
    ASSERT_EQ(kl::LineLength(text, 0), 5);

    const std::optional<kl::Text> rebuilt = kl::RebuildNewlines(text);
    ASSERT_TRUE(rebuilt);
    EXPECT_TRUE(rebuilt->converted);
    EXPECT_EQ(rebuilt->text(0), "\x83\x41\xb1\r\n");
    EXPECT_EQ(kl::LineLength(*rebuilt, 0), 6);
    EXPECT_EQ(kl::ContentLength(*rebuilt, 0), 4);
    EXPECT_EQ(kl::LineLength(*rebuilt, 1), 4);
    EXPECT_EQ(rebuilt->longestLine, 0);
}

TEST(RebuildDocumentNewlines, NamesTheRepairedTextsAndKeepsTheResult)
{
    const struct {
        const char* name;
        const char* a;
        const char* b;  // nullptr: DocB not loaded
        kl::RepairedTexts repaired;
    } cases[] = {
        {"none", "a\r\n", "b\r\n", kl::RepairedTexts::None},
        {"DocA", "a\n", "b\r\n", kl::RepairedTexts::DocA},
        {"DocB", "a\r\n", "b\r", kl::RepairedTexts::DocB},
        {"both", "a\n", "b\r", kl::RepairedTexts::Both},
        {"DocA alone loaded", "a\n", nullptr, kl::RepairedTexts::DocA},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        kl::TextDocument doc;
        doc.texts[0] = std::make_shared<const kl::Text>(kl::SplitLines(c.a, false));
        if (c.b)
            doc.texts[1] = std::make_shared<const kl::Text>(kl::SplitLines(c.b, false));
        auto result = std::make_shared<kl::CompareResult>();
        result->texts = doc.texts;
        doc.result = result;
        const kl::TextPair before = doc.texts;

        EXPECT_EQ(kl::RebuildDocumentNewlines(doc), c.repaired);
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(doc.texts[k] != before[k], kl::Repaired(c.repaired, k)) << k;
            if (doc.texts[k]) {
                EXPECT_FALSE(kl::RebuildNewlines(*doc.texts[k])) << k;
            }
        }
        EXPECT_EQ(doc.result, result);
        EXPECT_EQ(doc.result->texts, before);
    }
}

}  // namespace

TEST(NewlineRebuildEncoding, ARebuiltTextKeepsItsEncodingAndConversion)
{
    const kl::Text utf16 = kl::SplitLines(std::string("\xFF\xFE" "a\0\n\0", 6), false);
    const std::optional<kl::Text> rebuilt = kl::RebuildNewlines(utf16);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(rebuilt->encoding, kl::TextEncoding::Utf8);
    EXPECT_EQ(rebuilt->conversion, kl::Text::Conversion::FromUtf16);
    EXPECT_TRUE(rebuilt->converted);
}
