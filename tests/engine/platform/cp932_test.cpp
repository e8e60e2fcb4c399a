#include "engine/platform/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using namespace std::string_literals;

std::string Utf8(std::u8string_view s) { return std::string(s.begin(), s.end()); }

std::string Hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 0xF];
        out += ' ';
    }
    return out;
}

std::string Pair(unsigned code) {
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

TEST(Cp932, LeadBytesAreExactlyTheTwoRanges) {
    int count = 0;
    for (int c = 0; c < 256; ++c) {
        const bool expected = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        EXPECT_EQ(kl::IsLeadByte(static_cast<unsigned char>(c)), expected) << c;
        count += kl::IsLeadByte(static_cast<unsigned char>(c));
    }
    EXPECT_EQ(count, 60);
}

struct NextCharCase {
    std::string text;
    std::size_t pos;
    std::size_t next;
};

TEST(Cp932, NextCharStepsWholeCharactersAndStopsAtTheEnd) {
    const NextCharCase cases[] = {
        {"ab", 0, 1},
        {"\x82\xA0" "a", 0, 2},
        {"\x82", 0, 1},          // dangling lead byte at the end
        {"a\x82", 1, 2},         // dangling lead byte after a character
        {"\x82\r\n", 0, 2},      // a lead byte takes CR with it
        {"\x82\n", 0, 2},        // ... and LF
        {"\x82\0x"s, 0, 2},      // ... and NUL
        {"\x81\x40", 0, 2},      // full-width space
        {"\xB1\x82\xA0", 0, 1},  // half-width katakana is one byte
        {"\x80\x41", 0, 1},
        {"\x9F\x41", 0, 2},
        {"\xA0\x41", 0, 1},
        {"\xDF\x41", 0, 1},
        {"\xE0\x41", 0, 2},
        {"\xFC\x41", 0, 2},
        {"\xFD\x41", 0, 1},
        {"ab", 2, 2},            // at the end
        {"ab", 7, 2},            // past the end
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.text) + "at " + std::to_string(c.pos));
        EXPECT_EQ(kl::NextChar(c.text, c.pos), c.next);
        if (c.pos <= c.text.size()) {
            const char* begin = c.text.data();
            const char* end = begin + c.text.size();
            EXPECT_EQ(kl::NextChar(begin + c.pos, end) - begin, static_cast<std::ptrdiff_t>(c.next));
        }
    }
}

TEST(Cp932, NextCharPointerStopsAtAnEndInsideTheText) {
    // The end may lie before the terminating NUL, e.g. a line within a larger buffer.
    const std::string text = "a\x93\xFA\x96\x7B";
    const char* p = text.data();
    EXPECT_EQ(kl::NextChar(p + 1, p + 2), p + 2);
    EXPECT_EQ(kl::NextChar(p + 1, p + 3), p + 3);
}

struct WideSpaceCase {
    std::string text;
    std::size_t pos;
    bool expected;
};

TEST(Cp932, IsWideSpaceAt) {
    const WideSpaceCase cases[] = {
        {"\x81\x40", 0, true},    {"a\x81\x40", 1, true},  {"a\x81\x40", 0, false},
        {"\x81", 0, false},       {"\x81\x41", 0, false},  {"\x82\x40", 0, false},
        {"\x81\x40", 1, false},   {"\x81\x40", 2, false},  {"\x81\x40", 9, false},
        {"  ", 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kl::IsWideSpaceAt(c.text, c.pos), c.expected) << Hex(c.text) << "at " << c.pos;
}

struct DecodeCase {
    std::string bytes;
    std::u16string utf16;
    std::u8string utf8;
};

TEST(Cp932, DecodesMixedTextAndReplacesEachUndecodableByte) {
    const DecodeCase cases[] = {
        {"", u"", u8""},
        {"abc\r\n", u"abc\r\n", u8"abc\r\n"},
        {"\x5C\x7E", u"\\~", u8"\\~"},
        {"a\0b"s, u"a\0b"s, u8"a\0b"s},
        {"\x93\xFA\x96\x7B\x8C\xEA", u"日本語", u8"日本語"},
        {"\x81\x40", u"\u3000", u8"\u3000"},
        {"\xB1\xDF\xA1", u"\uFF71\uFF9F\uFF61", u8"\uFF71\uFF9F\uFF61"},
        {"A\x82\xA0" "B\xB1", u"AあBｱ", u8"AあBｱ"},
        {"\x88\x9F\xEA\xA4\xFC\x4B", u"亜熙黑", u8"亜熙黑"},  // first/last kanji, last IBM
        {"\x87\x40\x87\x54\xFA\x40", u"①Ⅰⅰ", u8"①Ⅰⅰ"},
        {"\xF0\x40\xF9\xFC", u"\uE000\uE757", u8"\uE000\uE757"},  // user-defined area
        // Single bytes without a character.
        {"\x80", u"\uFFFD", u8"\uFFFD"},
        {"\xA0", u"\uFFFD", u8"\uFFFD"},
        {"\xFD\xFE\xFF", u"\uFFFD\uFFFD\uFFFD", u8"\uFFFD\uFFFD\uFFFD"},
        // A dangling lead byte at the end.
        {"a\x82", u"a\uFFFD", u8"a\uFFFD"},
        // Lead byte with a trail byte outside the trail range: the second byte stands alone.
        {"\x82\n", u"\uFFFD\n", u8"\uFFFD\n"},
        {"\x82\x0D\x0A", u"\uFFFD\r\n", u8"\uFFFD\r\n"},
        // Lead byte whose pair is unassigned.
        {"\x81\x7F", u"\uFFFD\x7F", u8"\uFFFD\x7F"},
        {"\x81\xAD", u"\uFFFD\uFF6D", u8"\uFFFD\uFF6D"},
        {"\x85\x40", u"\uFFFD@", u8"\uFFFD@"},
        // The freed trail byte can itself start a pair.
        {"\x85\x82\xA0", u"\uFFFDあ", u8"\uFFFDあ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.bytes));
        EXPECT_EQ(kl::Cp932ToUtf16(c.bytes), c.utf16);
        EXPECT_EQ(kl::Cp932ToUtf8(c.bytes), Utf8(c.utf8));
    }
}

bool HasNoSingleByteCharacter(int c) {
    return kl::IsLeadByte(static_cast<unsigned char>(c)) || c == 0x80 || c == 0xA0 || c >= 0xFD;
}

TEST(Cp932, EachUndecodableByteGivesOneReplacementCharacter) {
    for (int c = 0; c < 256; ++c) {
        const std::u16string text = kl::Cp932ToUtf16(std::string(1, static_cast<char>(c)));
        ASSERT_EQ(text.size(), 1u) << c;
        EXPECT_EQ(text[0] == u'\uFFFD', HasNoSingleByteCharacter(c)) << c;
    }
    // A lead byte either forms a character with the next byte, or gives U+FFFD and the
    // next byte is decoded as if it stood alone.
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!kl::IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0; trail < 256; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string text = kl::Cp932ToUtf16(pair);
            if (text.size() == 1) {
                EXPECT_NE(text[0], u'\uFFFD') << Hex(pair);
            } else {
                EXPECT_EQ(text, u"\uFFFD" + kl::Cp932ToUtf16(pair.substr(1))) << Hex(pair);
            }
        }
    }
}

struct EncodeCase {
    std::u8string utf8;
    std::string cp932;
};

TEST(Cp932, EncodesUtf8) {
    const EncodeCase cases[] = {
        {u8"", ""},
        {u8"abc\r\n", "abc\r\n"},
        {u8"a\0b"s, "a\0b"s},
        {u8"日本語", "\x93\xFA\x96\x7B\x8C\xEA"},
        {u8"\u3000", "\x81\x40"},
        {u8"ｱﾟ｡", "\xB1\xDF\xA1"},
        {u8"\uE000\uE757", "\xF0\x40\xF9\xFC"},
        // Characters with more than one code get the one Windows writes.
        {u8"\u2252", "\x81\xE0"},  // ≒: JIS row 2, not NEC row 13 (0x8790)
        {u8"\uFFE2", "\x81\xCA"},  // ￢: not 0xEEF9 or 0xFA54
        {u8"\u2235", "\x81\xE6"},  // ∵: not 0x879A or 0xFA5B
        {u8"\u2160", "\x87\x54"},  // Ⅰ: NEC row 13, not 0xFA4A
        {u8"\u2116", "\x87\x82"},  // №: not 0xFA59
        {u8"\u3231", "\x87\x8A"},  // ㈱: not 0xFA58
        {u8"\u2170", "\xFA\x40"},  // ⅰ: IBM extension, not NEC-selected 0xEEEF
        {u8"\u7E8A", "\xFA\x5C"},  // 纊: IBM extension, not NEC-selected 0xED40
        // JIS code points that Windows maps onto their code page 932 look-alikes.
        {u8"\u301C", "\x81\x60"},
        {u8"\uFF5E", "\x81\x60"},
        {u8"\u2212", "\x81\x7C"},
        // No code.
        {u8"\u00A5", "?"},
        {u8"\u20AC", "?"},
        {u8"\uFFFD", "?"},
        {u8"\u0080", "?"},
        {u8"\uF8F0", "?"},
        {u8"a\U0001F600b", "a?b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(Utf8(c.utf8)));
        EXPECT_EQ(Hex(kl::Utf8ToCp932(Utf8(c.utf8))), Hex(c.cp932));
    }
}

TEST(Cp932, InvalidUtf8BecomesQuestionMarks) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x80", "?"},
        {"\xFF", "?"},
        {"\xC0\xAF", "??"},              // overlong '/'
        {"\xC3", "?"},                   // truncated at the end
        {"\xE3\x81", "?"},               // truncated: one '?' for the whole prefix
        {"\xE3\x81" "A", "?A"},
        {"\xED\xA0\x80", "???"},         // surrogate
        {"\xF4\x90\x80\x80", "????"},    // above U+10FFFF
        {"\xF0\x9F\x98", "?"},           // truncated 4-byte sequence
        {"\x93\xFA", "??"},              // code page 932 bytes are not UTF-8
    };
    for (const auto& [utf8, cp932] : cases)
        EXPECT_EQ(kl::Utf8ToCp932(utf8), cp932) << Hex(utf8);
}

TEST(Cp932, EncodesUtf16) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"日本語 ｱ", "\x93\xFA\x96\x7B\x8C\xEA \xB1"},
        {u"\u2252\u2170", "\x81\xE0\xFA\x40"},
        {u"a\xD83D\xDE00" "b", "a?b"},  // a surrogate pair is one character
        {u"\xD800" "a", "?a"},          // lone high surrogate
        {u"\xDC00" "a", "?a"},          // lone low surrogate
        {u"a\xD800", "a?"},
        {u"\xD800\xD800\xDC00", "??"},
    };
    for (const auto& [utf16, cp932] : cases) EXPECT_EQ(Hex(kl::Utf16ToCp932(utf16)), Hex(cp932));
}

// The duplicate codes of code page 932 that Windows never writes: NEC row 13 copies of
// JIS row 2 symbols, all NEC-selected IBM extensions, and IBM extension copies of NEC
// row 13 and JIS row 2 characters.
bool IsNonPreferredDuplicate(unsigned code) {
    switch (code) {
    case 0x8790: case 0x8791: case 0x8792: case 0x8795: case 0x8796:
    case 0x8797: case 0x879A: case 0x879B: case 0x879C:
        return true;
    default:
        return (code >= 0xED40 && code <= 0xEEFC) || (code >= 0xFA4A && code <= 0xFA54) ||
               (code >= 0xFA58 && code <= 0xFA5B);
    }
}

TEST(Cp932, EveryDoubleByteCharacterRoundTripsAsOnWindows) {
    int decodable = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!kl::IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const unsigned code = lead << 8 | trail;
            const std::string bytes = Pair(code);
            const std::u16string text = kl::Cp932ToUtf16(bytes);
            if (text.size() != 1) {
                EXPECT_EQ(text[0], u'\uFFFD') << Hex(bytes);
                continue;
            }
            ++decodable;
            const std::string back = kl::Utf8ToCp932(kl::Cp932ToUtf8(bytes));
            EXPECT_EQ(kl::Utf16ToCp932(text), back) << Hex(bytes);
            if (IsNonPreferredDuplicate(code)) {
                EXPECT_NE(back, bytes);
                ASSERT_EQ(back.size(), 2u) << Hex(bytes);
                EXPECT_FALSE(IsNonPreferredDuplicate(static_cast<unsigned char>(back[0]) << 8 |
                                                     static_cast<unsigned char>(back[1])))
                    << Hex(bytes);
                EXPECT_EQ(kl::Cp932ToUtf16(back), text) << Hex(bytes);
            } else {
                EXPECT_EQ(Hex(back), Hex(bytes));
            }
        }
    }
    // JIS X 0208 (6879), NEC row 13 (83), NEC-selected IBM (374), IBM (388), user area (1880).
    EXPECT_EQ(decodable, 6879 + 83 + 374 + 388 + 1880);
}

TEST(Cp932, MixedTextRoundTrips) {
    const std::string text =
        "Line 1\r\n\x93\xFA\x96\x7B\x8C\xEA\x81\x40\xB1\xB2\xB3\t\x87\x40\xFA\x40\n";
    EXPECT_EQ(kl::Utf8ToCp932(kl::Cp932ToUtf8(text)), text);
    EXPECT_EQ(kl::Utf16ToCp932(kl::Cp932ToUtf16(text)), text);
}

TEST(Cp932, IsValidUtf8IsStrict) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"abc", true},
        {"a\0b"s, true},
        {Utf8(u8"日本語ｱ"), true},
        {"\xC2\x80", true},                // U+0080
        {"\xC1\xBF", false},               // overlong U+007F
        {"\xC0\x80", false},               // overlong NUL
        {"\xDF\xBF", true},                // U+07FF
        {"\xE0\x9F\xBF", false},           // overlong U+07FF
        {"\xE0\xA0\x80", true},            // U+0800
        {"\xED\x9F\xBF", true},            // U+D7FF
        {"\xED\xA0\x80", false},           // U+D800
        {"\xED\xBF\xBF", false},           // U+DFFF
        {"\xEE\x80\x80", true},            // U+E000
        {"\xEF\xBF\xBF", true},            // U+FFFF
        {"\xF0\x8F\xBF\xBF", false},       // overlong U+FFFF
        {"\xF0\x90\x80\x80", true},        // U+10000
        {"\xF4\x8F\xBF\xBF", true},        // U+10FFFF
        {"\xF4\x90\x80\x80", false},       // U+110000
        {"\xF5\x80\x80\x80", false},
        {"\x80", false},                   // lone continuation byte
        {"a\xBF", false},
        {"\xC3", false},                   // truncated
        {"\xE3\x81", false},
        {"\xF0\x90\x80", false},
        {"\xE3\x41\x81", false},           // non-continuation inside a sequence
        {"\xFE", false},
        {"\xFF", false},
        {"\x93\xFA\x96\x7B", false},       // code page 932 text
    };
    for (const auto& [bytes, valid] : cases) {
        EXPECT_EQ(kl::IsValidUtf8(bytes), valid) << Hex(bytes);
        // Inside and at the end of longer ASCII runs, which are passed over a word at a time.
        EXPECT_EQ(kl::IsValidUtf8("123456789" + bytes + "abcdefgh"), valid) << Hex(bytes);
        EXPECT_EQ(kl::IsValidUtf8("12345678abcdefg" + bytes), valid) << Hex(bytes);
    }
}

struct PrefixCase {
    std::string text;
    std::size_t maxBytes;
    std::size_t expected;
};

TEST(Cp932, PrefixLengthNeverCutsADoubleByteCharacter) {
    const PrefixCase cases[] = {
        {"", 0, 0},
        {"", 5, 0},
        {"abc", 0, 0},
        {"abc", 2, 2},
        {"abc", 3, 3},
        {"abc", 10, 3},
        {"\x93\xFA\x96\x7B", 1, 0},
        {"\x93\xFA\x96\x7B", 2, 2},
        {"\x93\xFA\x96\x7B", 3, 2},
        {"\x93\xFA\x96\x7B", 4, 4},
        {"a\x93\xFA", 2, 1},
        {"\x93\xFA" "b", 3, 3},
        {"\x93", 1, 1},            // dangling lead byte: the whole text
        {"a\x93", 1, 1},
        {"\xB1\xB2", 1, 1},        // half-width katakana is one byte
        {"\x82\n", 1, 0},          // lead byte and LF form one character
        {"\x81\x82\xA0", 2, 2},    // 0x81 0x82 is one character; 0x82 starts nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(kl::Cp932PrefixLength(c.text, c.maxBytes), c.expected)
            << Hex(c.text) << "max " << c.maxBytes;
}

TEST(Cp932, PrefixLengthIsTheLastCharacterBoundaryWithinTheLimit) {
    const std::string text = "a\x93\xFA\xB1\x81\x40\r\n\x82\x0A\x96";
    for (std::size_t maxBytes = 0; maxBytes <= text.size() + 1; ++maxBytes) {
        const std::size_t length = kl::Cp932PrefixLength(text, maxBytes);
        EXPECT_LE(length, maxBytes);
        std::size_t boundary = 0;
        while (kl::NextChar(text, boundary) <= maxBytes && boundary < text.size())
            boundary = kl::NextChar(text, boundary);
        EXPECT_EQ(length, boundary) << "max " << maxBytes;
    }
}

}  // namespace
