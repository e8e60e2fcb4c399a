// Text put into a report never becomes markup and never hides a character.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/platform/cp932.h"
#include "engine/report/html_text.h"
#include "tests/support/test_scale.h"

namespace {

using kl::TextEncoding;

std::string Html(TextEncoding encoding, std::string_view bytes, int tabSize = 4)
{
    std::string out;
    int cells = 0;
    kl::AppendHtmlText(out, encoding, bytes, tabSize, cells);
    return out;
}

TEST(HtmlText, EscapesMarkupAndShowsWhatCannotBeSeen)
{
    struct Case {
        TextEncoding encoding;
        std::string bytes;
        std::string html;
    };
    const Case cases[] = {
        {TextEncoding::Utf8, "<script>alert('x')</script>", "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"},
        {TextEncoding::Cp932, "<img src=x onerror=\"f()\">", "&lt;img src=x onerror=&quot;f()&quot;&gt;"},
        {TextEncoding::Utf8, "a&amp;b", "a&amp;amp;b"},
        {TextEncoding::Utf8, std::string("\x00\x01\x1b\x7f", 4), "\u2400\u2401\u241b\u2421"},
        {TextEncoding::Utf8, "\xff" "a\xc3", "\ufffd" "a\ufffd"},
        {TextEncoding::Cp932, "\x82\xa0\x82", "\u3042\ufffd"},           // あ, then a lone lead byte
        {TextEncoding::Utf8, "a\xe2\x80\xaeZ", "a&lt;U+202E&gt;Z"},      // a direction override
        {TextEncoding::Utf8, "\xc2\x85", "&lt;U+0085&gt;"},               // a C1 control
        {TextEncoding::Cp932, "\x82\xa0\tb", "\u3042  b"},               // あ takes two cells
        {TextEncoding::Utf8, "\xef\xbd\xb1\tb", "\uff71   b"},           // half-width ｱ takes one
        {TextEncoding::Utf8, "\t", "    "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Html(c.encoding, c.bytes), c.html) << c.bytes;
    EXPECT_EQ(Html(TextEncoding::Utf8, "a\tb", 0), "a\u2409b");
}

// Whatever the bytes, the HTML is valid UTF-8 without a character that could open or end
// markup, and each & starts one of the entities the writer uses.
TEST(HtmlText, RandomBytesNeverBecomeMarkup)
{
    std::mt19937 random(26);
    const std::string alphabet = std::string("<>&\"'/=;#\t\r\x01\x7f\x81\x82\xa0\xe3\x80\xc2\xff", 21) + "ab";
    for (int n = kltest::ScaledCases(3000); n > 0; --n) {
        std::string bytes(random() % 24, ' ');
        for (char& c : bytes)
            c = random() % 3 ? alphabet[random() % alphabet.size()] : static_cast<char>(random());
        for (TextEncoding encoding : {TextEncoding::Cp932, TextEncoding::Utf8}) {
            const std::string html = Html(encoding, bytes);
            ASSERT_TRUE(kl::IsValidUtf8(html)) << bytes;
            ASSERT_EQ(html.find_first_of("<>\"'"), std::string::npos) << html;
            for (std::size_t at = html.find('&'); at != std::string::npos; at = html.find('&', at + 1)) {
                const std::string_view rest = std::string_view(html).substr(at);
                ASSERT_TRUE(rest.starts_with("&amp;") || rest.starts_with("&lt;") || rest.starts_with("&gt;") ||
                            rest.starts_with("&quot;") || rest.starts_with("&#39;"))
                    << html;
            }
        }
    }
}

}  // namespace
