// Partner lists built in any order of front and back insertions read back as a plain list
// would, also after a swap of the first two, and pack into one flat store.
#include "engine/compare/partner_chains.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <vector>

namespace {

TEST(PartnerChains, MatchAPlainListUnderRandomOperations)
{
    std::mt19937 random(3);
    constexpr int kLines = 7;
    kl::PartnerChains chains(kLines);
    std::vector<std::deque<std::int32_t>> plain(kLines);
    for (int step = 0; step < 2000; ++step) {
        const int line = static_cast<int>(random() % kLines);
        const auto value = static_cast<std::int32_t>(random() % 100);
        switch (random() % 3) {
        case 0:
            chains.PushFront(line, value);
            plain[line].push_front(value);
            break;
        case 1:
            chains.PushBack(line, value);
            plain[line].push_back(value);
            break;
        default:
            ASSERT_EQ(chains.HasAtMostOne(line), plain[line].size() <= 1);
            if (plain[line].size() >= 2) {
                chains.SwapFirstTwo(line);
                std::swap(plain[line][0], plain[line][1]);
            }
        }
        ASSERT_EQ(chains.Lines(line), std::vector<std::int32_t>(plain[line].begin(), plain[line].end())) << step;
    }
    const kl::PartnerLists packed = chains.Pack();
    for (int line = 0; line < kLines; ++line) {
        const auto of = packed.Of(line);
        EXPECT_TRUE(std::equal(of.begin(), of.end(), plain[line].begin(), plain[line].end())) << line;
    }
}

}  // namespace
