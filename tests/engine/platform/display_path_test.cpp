// Paths in messages: whatever the bytes, the text is valid UTF-8 and shows every byte.
#include <gtest/gtest.h>

#include <string>

#include "engine/platform/cp932.h"
#include "engine/platform/display_path.h"

namespace {

TEST(DisplayPath, KeepsUtf8AndEscapesEveryOtherByte)
{
    struct Case {
        std::string path;
        std::string shown;
    };
    const Case cases[] = {
        {"/home/a/notes.txt", "/home/a/notes.txt"},
        {"/データ/日本語.txt", "/データ/日本語.txt"},
        {"\x83\x65\x83\x4C\x83\x58\x83\x67.txt", "\\x83e\\x83L\\x83X\\x83g.txt"},  // テキスト in code page 932
        {"a\xE3\x81", "a\\xE3\\x81"},            // a character cut short at the end
        {"\xE3\x81" "b", "\\xE3\\x81b"},         // and before another
        {"\xC0\xAF", "\\xC0\\xAF"},              // an overlong form
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},     // a surrogate
        {"two\nlines\t\x7F", "two\\x0Alines\\x09\\x7F"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        const std::string shown = kl::DisplayPath(c.path);
        EXPECT_EQ(shown, c.shown);
        EXPECT_TRUE(kl::IsValidUtf8(shown));
    }
}

}  // namespace
