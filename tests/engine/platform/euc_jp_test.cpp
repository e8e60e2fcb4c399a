#include <gtest/gtest.h>

#include <string>

#include "engine/document/text_loader.h"
#include "engine/platform/euc_jp.h"

namespace {

// Every EUC-JP pair the loader converts to Shift_JIS is written back as the same pair.
TEST(EucJpTest, EveryConvertedPairFindsItsWayBack)
{
    for (int c1 = 0xA1; c1 <= 0xFE; ++c1) {
        for (int c2 = 0xA1; c2 <= 0xFE; ++c2) {
            const std::string pair{static_cast<char>(c1), static_cast<char>(c2)};
            const std::string sjis = kl::EucToSjis(pair);
            ASSERT_EQ(sjis.size(), 2u);
            std::string back;
            ASSERT_TRUE(kl::AppendEucJpCode(static_cast<unsigned char>(sjis[0]) << 8 | static_cast<unsigned char>(sjis[1]), back));
            ASSERT_EQ(back, pair) << std::hex << c1 << ' ' << c2;
        }
    }
}

TEST(EucJpTest, CodesWithoutAPlaceAreRefused)
{
    std::string out;
    for (const unsigned code : {0x80u, 0xA0u, 0xFDu, 0xF040u, 0xFA54u, 0x8A7Fu, 0x8AFDu, 0x8A3Fu})
        EXPECT_FALSE(kl::AppendEucJpCode(code, out)) << std::hex << code;
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(kl::AppendEucJpCode(0xB6, out));
    EXPECT_EQ(out, "\x8e\xb6");
}

}  // namespace
