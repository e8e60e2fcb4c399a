// Edited texts are written back in their file's encoding, the lines not edited as read.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/document/file_bytes.h"
#include "engine/document/text_loader.h"
#include "engine/edit/typing.h"

namespace {

std::shared_ptr<const kl::Text> Typed(const kl::Text& text, std::int64_t pos, std::string_view utf8)
{
    const kl::PreparedEdit prepared = kl::TypingEdit(text, 0, pos, pos, utf8);
    return kl::ApplyEdit(prepared.base ? *prepared.base : text, prepared.edit);
}

std::string Saved(const kl::Text& text)
{
    const kl::FileBytes file = kl::EncodeForFile(text, text.origin.encoding);
    EXPECT_FALSE(file.unencodable);
    return std::string(file.bytes(text));
}

TEST(SavingEdits, ATypedCharacterIsWrittenInTheFilesEncoding)
{
    const struct {
        const char* name;
        std::string file;
        bool eucChg;
        std::string saved;  // after 漢 typed at the start
    } cases[] = {
        {"Shift_JIS", "a\n\x80y\n", false, "\x8a\xbf" "a\n\x80y\n"},
        {"EUC-JP", "\xa4\xa2\n\x8e\xb6\xa4\xa2\n", true, "\xb4\xc1\xa4\xa2\n\x8e\xb6\xa4\xa2\n"},
        {"UTF-8 with BOM", "\xef\xbb\xbf" "a\n", false, "\xef\xbb\xbf\xe6\xbc\xa2" "a\n"},
        {"UTF-16LE", std::string("\xff\xfe" "a\0\n\0", 6), false, std::string("\xff\xfe\x22\x6f" "a\0\n\0", 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const kl::Text text = kl::SplitLines(c.file, c.eucChg);
        // Past a byte order mark the text holds.
        const std::int64_t start = text.bytes().starts_with("\xef\xbb\xbf") ? 3 : 0;
        EXPECT_EQ(Saved(*Typed(text, start, "\xe6\xbc\xa2")), c.saved);
    }
}

// A character Shift_JIS cannot hold makes the text UTF-8; taken away again, the file's
// bytes come back, a byte that is no character included.
TEST(SavingEdits, ATextMadeUtf8ForACharacterGoesBackToItsBytes)
{
    const std::string file = "a\n\x80y\xfa\x54\n";
    const kl::Text text = kl::SplitLines(file, false);
    const std::shared_ptr<const kl::Text> typed = Typed(text, 0, "\xc3\xa9");  // é
    ASSERT_EQ(typed->encoding, kl::TextEncoding::Utf8);
    EXPECT_TRUE(kl::EncodeForFile(*typed, kl::FileEncoding::ShiftJis).unencodable);
    const std::shared_ptr<const kl::Text> back = kl::ApplyEdit(*typed, kl::BackspaceEdit(*typed, 0, 2));
    EXPECT_EQ(Saved(*back), file);
}

}  // namespace
