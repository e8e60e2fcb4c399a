#include "engine/search/case_fold.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/test_scale.h"

namespace {

// Folding UTF-8 one character at a time.
std::string StepwiseFolded(const std::string& text)
{
    std::string out = text;
    auto* p = reinterpret_cast<unsigned char*>(out.data());
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (p[i] >= 'A' && p[i] <= 'Z') {
            p[i] = static_cast<unsigned char>(p[i] + 0x20);
        } else if (p[i] == 0xEF && i + 2 < out.size() && p[i + 1] == 0xBC && p[i + 2] >= 0xA1 && p[i + 2] <= 0xBA) {
            p[i + 1] = 0xBD;
            p[i + 2] = static_cast<unsigned char>(p[i + 2] - 0x20);
            i += 2;
        }
    }
    return out;
}

// Capitals, full-width capitals and their neighbours in the code, cut anywhere, at every
// place in a block of sixteen.
TEST(CaseFold, Utf8FoldingAgreesWithCharacterByCharacter)
{
    static const std::string pieces[] = {"A", "Z", "@", "[", "a", "z", "\xEF\xBC\xA1", "\xEF\xBC\xBA", "\xEF\xBC\xA0",
                                         "\xEF\xBC\xBB", "\xEF\xBD\x81", "\xEF", "\xEF\xBC", "\xE3\x81\x82", "\x80", " "};
    std::mt19937 random(3);
    const int cases = kltest::ScaledCases(3000);
    for (int c = 0; c < cases; ++c) {
        std::string text;
        const int count = static_cast<int>(random() % 40);
        for (int k = 0; k < count; ++k)
            text += pieces[random() % std::size(pieces)];
        std::string folded = text;
        kl::FoldCaseInPlace(kl::TextEncoding::Utf8, folded.data(), folded.size());
        ASSERT_EQ(folded, StepwiseFolded(text)) << ::testing::PrintToString(text);
    }
}

}  // namespace
