#include "engine/search/text_search.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <regex>

#include "engine/platform/cp932.h"
#include "engine/search/case_fold.h"
#include "engine/search/regex_literal.h"
#include "tests/support/test_scale.h"

namespace {

kl::Text MakeText(const std::string& bytes, kl::TextEncoding encoding)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        end = end == std::string::npos ? bytes.size() : end + 1;
        if (end < bytes.size() && bytes[end - 1] == '\r' && bytes[end] == '\n')
            ++end;
        lines.push_back(std::string_view(bytes).substr(start, end - start));
        start = end;
    }
    kl::Text text = kl::TextFromLines(lines);
    text.encoding = encoding;
    return text;
}

// A line's characters, folded when asked, with the byte offset of each and of the end.
struct DecodedLine {
    std::u32string chars;
    std::vector<std::uint32_t> offsets;
};

DecodedLine Decode(const kl::Text& text, int line, bool matchCase)
{
    DecodedLine decoded;
    const std::string_view bytes = text.text(line).substr(0, kl::ContentLength(text, line));
    for (std::size_t pos = 0; pos < bytes.size();) {
        decoded.offsets.push_back(static_cast<std::uint32_t>(pos));
        const char32_t c = kl::DecodeCharIn(text.encoding, bytes, pos);
        decoded.chars.push_back(matchCase ? c : kl::FoldCase(c));
    }
    decoded.offsets.push_back(static_cast<std::uint32_t>(bytes.size()));
    return decoded;
}

// The plain answer: each line decoded, folded when asked, searched character by character.
std::vector<kl::TextMatch> ReferenceFind(const kl::Text& text, const std::string& pattern, bool matchCase)
{
    std::u32string needle;
    for (std::size_t pos = 0; pos < pattern.size();)
        needle.push_back(kl::DecodeCharIn(kl::TextEncoding::Utf8, pattern, pos));
    std::vector<kl::TextMatch> matches;
    for (int line = 0; line < text.count(); ++line) {
        const auto [chars, offsets] = Decode(text, line, matchCase);
        const std::u32string folded = [&] {
            std::u32string n = needle;
            if (!matchCase)
                for (char32_t& c : n)
                    c = kl::FoldCase(c);
            return n;
        }();
        for (std::size_t i = 0; i + folded.size() <= chars.size();) {
            if (chars.compare(i, folded.size(), folded) == 0) {
                matches.push_back({line, offsets[i], offsets[i + folded.size()]});
                i += folded.size();
            } else {
                ++i;
            }
        }
    }
    return matches;
}

TEST(TextSearch, LiteralSearchAgreesWithPlainSearchInBothEncodings)
{
    // Pieces chosen to trip byte-level searching: katakana whose Shift_JIS trail byte is an
    // ASCII letter (ア 83 41, ツ 83 63), full-width letters, and line ends of each kind.
    const std::vector<std::string> pieces = {"a", "A", "b", "ア", "ツ", "Ａ", "ａ", "Ｂ", "表", "\n", "\r\n", "\r", " "};
    std::mt19937 random(20261208);
    for (int round = 0; round < kltest::ScaledCases(400); ++round) {
        std::string utf8;
        const int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i)
            utf8 += pieces[random() % pieces.size()];
        std::string pattern;
        const int patternLength = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < patternLength; ++i) {
            const std::string& piece = pieces[random() % (pieces.size() - 4)];  // no line ends
            pattern += piece;
        }
        for (kl::TextEncoding encoding : {kl::TextEncoding::Utf8, kl::TextEncoding::Cp932}) {
            const kl::Text text =
                MakeText(encoding == kl::TextEncoding::Utf8 ? utf8 : kl::Utf8ToCp932(utf8), encoding);
            for (bool matchCase : {true, false}) {
                SCOPED_TRACE(utf8 + " / " + pattern + (matchCase ? " case" : " nocase") +
                             (encoding == kl::TextEncoding::Utf8 ? " utf8" : " sjis"));
                kl::SearchQuery query{pattern, matchCase, false, kl::SearchSides::Both};
                EXPECT_EQ(kl::FindInText(text, query), ReferenceFind(text, pattern, matchCase));
                // A regular expression of the same plain text finds the same.
                query.regularExpression = true;
                EXPECT_EQ(kl::FindInText(text, query), ReferenceFind(text, pattern, matchCase));
            }
        }
    }
}

TEST(TextSearch, RegularExpressions)
{
    struct Case {
        const char* pattern;
        bool matchCase;
        const char* text;
        std::vector<kl::TextMatch> expected;
    };
    const Case cases[] = {
        {"v[0-9]+\\.[0-9]", true, "ver v12.5 and v3.x\nv7.1", {{0, 4, 9}, {1, 0, 4}}},
        {"ｔｅｓｔ|ok", false, "ＴＥＳＴ OK\nnone", {{0, 0, 12}, {0, 13, 15}}},
        {"^第.章$", true, "第一章\n 第二章\n第三章", {{0, 0, 9}, {2, 0, 9}}},
        {"\\W+", false, "ab  cd", {{0, 2, 4}}},    // folding must leave \W alone
        {"x*", true, "abc", {}},                   // empty matches are not reported
        {"[あ-う]い", true, "ああい\nうい", {{0, 3, 9}, {1, 0, 6}}},
        {"表[0-9]+件", true, "表0件 表x件\nA表12件", {{0, 0, 7}, {1, 1, 9}}},  // what follows a literal
        {"a\\d", false, "xA0 a", {{0, 1, 3}}},
    };
    // What a match covers, decoded, so that both encodings can be held against each other.
    auto matchedTexts = [](const kl::Text& text, const std::vector<kl::TextMatch>& found) {
        std::vector<std::pair<int, std::string>> out;
        for (const kl::TextMatch& m : found)
            out.emplace_back(m.line, kl::DecodeToUtf8(text.encoding, text.text(m.line).substr(m.begin, m.end - m.begin)));
        return out;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        const kl::SearchQuery query{c.pattern, c.matchCase, true, kl::SearchSides::Both};
        const kl::Text utf8 = MakeText(c.text, kl::TextEncoding::Utf8);
        const kl::Text sjis = MakeText(kl::Utf8ToCp932(c.text), kl::TextEncoding::Cp932);
        EXPECT_EQ(kl::FindInText(utf8, query), c.expected);
        EXPECT_EQ(matchedTexts(sjis, kl::FindInText(sjis, query)), matchedTexts(utf8, c.expected));
    }
    EXPECT_FALSE(kl::SearchPatternError({"a(b", false, true, kl::SearchSides::Both}).empty());
    EXPECT_TRUE(kl::SearchPatternError({"a(b", false, false, kl::SearchSides::Both}).empty());
}

// The plain answer for an expression: each line decoded (folded when asked) and searched
// with the standard expression; pattern is already folded when matchCase is off.
std::vector<kl::TextMatch> ReferenceRegex(const kl::Text& text, const std::string& pattern, bool matchCase)
{
    std::wstring widePattern;
    for (std::size_t pos = 0; pos < pattern.size();)
        widePattern.push_back(static_cast<wchar_t>(kl::DecodeCharIn(kl::TextEncoding::Utf8, pattern, pos)));
    const std::wregex regex(widePattern, matchCase ? std::regex::ECMAScript : std::regex::ECMAScript | std::regex::icase);
    std::vector<kl::TextMatch> matches;
    for (int line = 0; line < text.count(); ++line) {
        const DecodedLine decoded = Decode(text, line, matchCase);
        const std::wstring chars(decoded.chars.begin(), decoded.chars.end());  // BMP characters only
        const std::vector<std::uint32_t>& offsets = decoded.offsets;
        for (auto it = std::wsregex_iterator(chars.begin(), chars.end(), regex); it != std::wsregex_iterator(); ++it) {
            if (it->length(0) > 0)
                matches.push_back({line, offsets[static_cast<std::size_t>(it->position(0))],
                                   offsets[static_cast<std::size_t>(it->position(0) + it->length(0))]});
        }
    }
    return matches;
}

// Matches as (line, first character, character count), whatever the encoding.
std::vector<std::array<int, 3>> CharacterPlaces(const kl::Text& text, const std::vector<kl::TextMatch>& found)
{
    std::vector<std::array<int, 3>> out;
    const auto characters = [&text](std::string_view bytes) {
        int count = 0;
        for (std::size_t pos = 0; pos < bytes.size(); ++count)
            kl::DecodeCharIn(text.encoding, bytes, pos);
        return count;
    };
    for (const kl::TextMatch& m : found) {
        const std::string_view line = text.text(m.line);
        out.push_back({m.line, characters(line.substr(0, m.begin)), characters(line.substr(m.begin, m.end - m.begin))});
    }
    return out;
}

TEST(TextSearch, ExpressionsAgreeWithPlainSearchInBothEncodings)
{
    // A UTF-8 text is searched in its bytes, a Shift_JIS one in its characters (but for its
    // ASCII lines), both after skipping the lines without the pattern's literal parts.
    const std::vector<std::string> textPieces = {"a", "b", "A", "1", "0", "22", " ", "_", "ア", "表", "Ａ", "ａ", "\n"};
    const std::vector<std::string> items = {"a", "b", "A", "ア", "表", "Ａ", "[a-c]", "[アb]", "[^a]", "\\d", "\\w",
                                            "\\s", "\\W", "\\b", ".", "(?:表a)", "(a|表)", "1", "[0-9_]"};
    const std::vector<std::string> quantifiers = {"", "", "", "+", "*", "?", "{2}", "+?"};
    std::mt19937 random(7);
    for (int round = 0; round < kltest::ScaledCases(600); ++round) {
        std::string utf8;
        for (int i = static_cast<int>(random() % 40); i > 0; --i)
            utf8 += textPieces[random() % textPieces.size()];
        std::string pattern;
        std::string folded;  // letters folded outside escapes
        for (int i = 1 + static_cast<int>(random() % 4); i > 0; --i) {
            const std::string& item = items[random() % items.size()];
            const std::string& quantifier = quantifiers[random() % quantifiers.size()];
            pattern += item + quantifier;
            folded += (item[0] == '\\' ? item : kl::FoldedUtf8(item)) + quantifier;
        }
        if (!kl::SearchPatternError({pattern, true, true, kl::SearchSides::Both}).empty())
            continue;
        const kl::Text asUtf8 = MakeText(utf8, kl::TextEncoding::Utf8);
        const kl::Text asSjis = MakeText(kl::Utf8ToCp932(utf8), kl::TextEncoding::Cp932);
        for (bool matchCase : {true, false}) {
            SCOPED_TRACE(utf8 + " / " + pattern + (matchCase ? " case" : " nocase"));
            const kl::SearchQuery query{pattern, matchCase, true, kl::SearchSides::Both};
            const std::vector<kl::TextMatch> found = kl::FindInText(asUtf8, query);
            EXPECT_EQ(found, ReferenceRegex(asUtf8, matchCase ? pattern : folded, matchCase));
            EXPECT_EQ(CharacterPlaces(asUtf8, found), CharacterPlaces(asSjis, kl::FindInText(asSjis, query)));
        }
    }
}

TEST(TextSearch, RequiredLiteralOfAnExpression)
{
    const std::pair<const char*, const char*> cases[] = {
        {"error: [0-9]+", "error: "},  {"ab*cdef", "cdef"},       {"(x|y)longer", "longer"},
        {"a|bcd", nullptr},            {"\\x41BC", nullptr},      {"colou?r", "colo"},
        {"a\\.b{2,}c", "a.b"},         {"[abc]+", nullptr},       {"表示.*設定", "表示"},
        {"x{0,3}yz", "yz"},            {"(unclosed", nullptr},    {"\\d+件", "件"},
    };
    for (const auto& [pattern, expected] : cases) {
        SCOPED_TRACE(pattern);
        const std::optional<std::string> literal = kl::RequiredLiteral(pattern);
        if (expected)
            EXPECT_EQ(literal, std::string(expected));
        else
            EXPECT_FALSE(literal);
    }
}

TEST(TextSearch, SidesCountAndUnencodableWords)
{
    kl::TextPair texts = {std::make_shared<const kl::Text>(MakeText(kl::Utf8ToCp932("日本語の文書\n日本\n"), kl::TextEncoding::Cp932)),
                          std::make_shared<const kl::Text>(MakeText("日本語\n한국어 日本\n", kl::TextEncoding::Utf8))};
    kl::SearchQuery query{"日本", false, false, kl::SearchSides::Both};
    EXPECT_EQ(kl::FindInTexts(texts, query).count(), 4u);
    query.sides = kl::SearchSides::DocB;
    const kl::SearchResult onlyB = kl::FindInTexts(texts, query);
    EXPECT_TRUE(onlyB.matches[0].empty());
    EXPECT_EQ(onlyB.matches[1], (std::vector<kl::TextMatch>{{0, 0, 6}, {1, 10, 16}}));
    // Hangul has no Shift_JIS code: DocA cannot hold it, and no '?' may stand in for it.
    query = {"한국", true, false, kl::SearchSides::Both};
    EXPECT_EQ(kl::FindInTexts(texts, query).count(), 1u);
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_TRUE(kl::FindInTexts(texts, {"日本", true, false, kl::SearchSides::Both}, stopped.get_token()).stopped);
}

}  // namespace
