// The pairing of changed lines: in order for equal counts, the most shared characters
// otherwise, checked against a search of every ordered pairing on small gaps.
#include "engine/display/row_pairing.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/test_scale.h"

namespace {

using kl::LinePairing;
using kl::TextEncoding;

std::vector<LinePairing> Pair(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b)
{
    return kl::PairChangedLines(a, TextEncoding::Cp932, b, TextEncoding::Cp932);
}

// The most characters any ordered pairing of a[i..] with b[j..] shares, pairs sharing none
// left out.
long long BestByTrial(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b, std::size_t i,
                      std::size_t j)
{
    if (i == a.size() || j == b.size())
        return 0;
    long long best = std::max(BestByTrial(a, b, i + 1, j), BestByTrial(a, b, i, j + 1));
    const int shared = kl::CommonCharacters(a[i], TextEncoding::Cp932, b[j], TextEncoding::Cp932);
    if (shared > 0)
        best = std::max(best, shared + BestByTrial(a, b, i + 1, j + 1));
    return best;
}

TEST(RowPairing, EqualCountsPairInOrderWhateverTheyHold)
{
    EXPECT_EQ(Pair({"abc\n", "xyz\n"}, {"xyz\n", "abc\n"}), (std::vector<LinePairing>{{0, 0}, {1, 1}}));
}

TEST(RowPairing, CountsCharactersNotBytes)
{
    // "あい" and "いう" share one character, though three of their bytes are alike.
    EXPECT_EQ(kl::CommonCharacters("\x82\xa0\x82\xa2\r\n", TextEncoding::Cp932, "\x82\xa2\x82\xa4\n",
                                   TextEncoding::Cp932),
              1);
    EXPECT_EQ(kl::CommonCharacters("aab\n", TextEncoding::Utf8, "abb", TextEncoding::Utf8), 2);
}

TEST(RowPairing, UnequalCountsPairTheMostSimilarLines)
{
    EXPECT_EQ(Pair({"int total = 0;\n"}, {"// sum\n", "int total = 1;\n", "}\n"}),
              (std::vector<LinePairing>{{0, 1}}));
    EXPECT_EQ(Pair({"qqq\n", "zzz\n"}, {"www\n", "zzz!\n", "yyy\n"}), (std::vector<LinePairing>{{1, 1}}));
}

TEST(RowPairing, BeyondTheLimitPairsInOrder)
{
    std::vector<std::string_view> a(kl::kSimilarityPairingLimit + 1, "a\n");
    const std::vector<std::string_view> b{"x\n", "a\n"};
    EXPECT_EQ(Pair(a, b), (std::vector<LinePairing>{{0, 0}, {1, 1}}));
}

TEST(RowPairing, MatchesTheBestOrderedPairing)
{
    std::mt19937 random(21);
    const int cases = kltest::ScaledCases(300);
    for (int c = 0; c < cases; ++c) {
        std::vector<std::string> storeA(1 + random() % 5);
        std::vector<std::string> storeB(1 + random() % 5);
        for (auto* store : {&storeA, &storeB}) {
            for (std::string& line : *store) {
                const int length = static_cast<int>(random() % 6);
                for (int k = 0; k < length; ++k)
                    line += static_cast<char>('a' + random() % 4);
                line += '\n';
            }
        }
        const std::vector<std::string_view> a(storeA.begin(), storeA.end());
        const std::vector<std::string_view> b(storeB.begin(), storeB.end());
        if (a.size() == b.size())
            continue;
        const std::vector<LinePairing> pairs = Pair(a, b);
        long long total = 0;
        for (std::size_t k = 0; k < pairs.size(); ++k) {
            if (k > 0) {
                ASSERT_LT(pairs[k - 1].a, pairs[k].a);
                ASSERT_LT(pairs[k - 1].b, pairs[k].b);
            }
            const int shared = kl::CommonCharacters(a[static_cast<std::size_t>(pairs[k].a)], TextEncoding::Cp932,
                                                    b[static_cast<std::size_t>(pairs[k].b)], TextEncoding::Cp932);
            ASSERT_GT(shared, 0);
            total += shared;
        }
        ASSERT_EQ(total, BestByTrial(a, b, 0, 0)) << "case " << c;
    }
}

}  // namespace
