#include "engine/platform/utf8_validation.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "engine/platform/utf8.h"
#include "tests/support/test_scale.h"

namespace {

bool StepwiseValid(std::string_view bytes)
{
    for (std::size_t pos = 0; pos < bytes.size();) {
        const kl::Utf8Step step = kl::DecodeUtf8Step(bytes, pos);
        if (!step.valid)
            return false;
        pos += step.length;
    }
    return true;
}

void ExpectSameAnswer(const std::string& bytes)
{
    const bool expected = StepwiseValid(bytes);
    ASSERT_EQ(kl::IsValidUtf8(bytes), expected) << ::testing::PrintToString(bytes);
    ASSERT_EQ(kl::IsValidUtf8Bytewise(bytes), expected) << ::testing::PrintToString(bytes);
}

std::string Encoded(char32_t cp)
{
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

// Every byte pair, followed by two continuation bytes or by ASCII, across the boundary of
// a sixteen-byte block and at the very end.
TEST(Utf8Validation, EveryBytePairAgreesWithTheStepwiseReading)
{
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const std::string pair{static_cast<char>(a), static_cast<char>(b)};
            for (const char* after : {"\x80\x80", "A"}) {
                ExpectSameAnswer(std::string(15, 'x') + pair + after + std::string(14, 'y'));
                ExpectSameAnswer(std::string(29, 'x') + pair + after);
            }
        }
    }
}

// Texts of characters at the edges of the ranges and of bytes that break them, mostly
// well-formed, at every length and offset within a block.
TEST(Utf8Validation, RandomTextsAgreeWithTheStepwiseReading)
{
    const std::string bad[] = {"\xC0\xAF", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",
                               "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "\xFE",
                               "\x80", "\xBF", "\xC3", "\xE3\x81", "\xF0\x9F\x98", "\xE3\x41\x81"};
    const char32_t edges[] = {0, 0x0A, 0x0D, 0x7F, 0x80, 0x7FF, 0x800, 0xFFF, 0x1000, 0xD7FF, 0xE000,
                              0xFFFD, 0xFFFF, 0x10000, 0x3FFFF, 0x40000, 0xFFFFF, 0x100000, 0x10FFFF};
    std::mt19937 rng(22);
    const int cases = kltest::ScaledCases(20000);
    for (int c = 0; c < cases; ++c) {
        std::string text;
        const int pieces = static_cast<int>(rng() % 60);
        for (int k = 0; k < pieces; ++k) {
            const unsigned pick = rng() % 100;
            if (pick < 40)
                text += static_cast<char>('a' + rng() % 26);
            else if (pick < 60)
                text += Encoded(edges[rng() % std::size(edges)]);
            else if (pick < 95)
                text += Encoded(0x3040 + rng() % 0x5000);  // kana and kanji
            else if (pick < 98)
                text += bad[rng() % std::size(bad)];
            else
                text += static_cast<char>(rng() & 0xFF);
        }
        ExpectSameAnswer(text);
        if (!text.empty())
            ExpectSameAnswer(text.substr(0, text.size() - 1));  // perhaps a character cut short
        // Arriving in pieces, cut anywhere.
        for (const auto method : {kl::Utf8Checker::Method::Fastest, kl::Utf8Checker::Method::Sixteen,
                                  kl::Utf8Checker::Method::Bytewise}) {
            kl::Utf8Checker checker(method);
            for (std::size_t arrived = 0; arrived < text.size(); arrived += rng() % 24)
                checker.Arrived(text.data(), arrived);
            ASSERT_EQ(checker.Finish(text.data(), text.size()), StepwiseValid(text)) << ::testing::PrintToString(text);
        }
    }
}

}  // namespace
