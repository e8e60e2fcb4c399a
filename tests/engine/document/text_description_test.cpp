// What the file tree says of a loaded text: encoding, conversion and line ends, and
// whether it looks like no text at all.
#include "engine/document/text_description.h"

#include <gtest/gtest.h>
#include <string>

#include "engine/document/text_loader.h"

namespace {

TEST(TextDescription, NamesEncodingConversionAndLineEnds)
{
    const struct {
        std::string bytes;
        bool euc;
        const char* expected;
    } cases[] = {
        {"abc\r\ndef\r\n", false, "Shift_JIS CRLF"},
        {"\xE6\x97\xA5\nx\n", false, "UTF-8 LF"},
        {"a\r\nb\nc\rd", false, "Shift_JIS CRLF+LF+CR"},
        {std::string("\xFF\xFE" "a\0\r\0\n\0", 8), false, "UTF-16\xE2\x86\x92UTF-8 CRLF"},
        {"\xC6\xFC\xCB\xDC\n", true, "EUC-JP\xE2\x86\x92Shift_JIS LF"},  // 日本 in EUC-JP
        {"no line end", false, "Shift_JIS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(kl::TextDescription(kl::SplitLines(c.bytes, c.euc)), c.expected);
    }
}

TEST(TextDescription, ANulInTheFirstEightKilobytesLooksBinary)
{
    EXPECT_TRUE(kl::LooksBinary(kl::SplitLines(std::string("ab\0c\n", 5), false)));
    EXPECT_FALSE(kl::LooksBinary(kl::SplitLines(std::string(9000, 'a') + std::string(1, '\0'), false)));
    EXPECT_FALSE(kl::LooksBinary(kl::SplitLines("", false)));
}

}  // namespace
