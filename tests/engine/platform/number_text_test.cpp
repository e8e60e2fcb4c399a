#include "engine/platform/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct AtoiCase {
    std::string text;
    int expected;
};

TEST(AtoiText, ReadsLikeTheCLibrary)
{
    const std::vector<AtoiCase> cases = {
        {"", 0},
        {"12", 12},
        {"  \t\n-7x", -7},
        {"+5", 5},
        {"-", 0},
        {"abc", 0},
        {"1 2", 1},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999999", INT_MIN},
        {"99999999999999999999999", INT_MAX},
    };
    for (const AtoiCase& c : cases) {
        EXPECT_EQ(kl::AtoiText(c.text), c.expected) << '"' << c.text << '"';
    }
}

struct HexCase {
    std::string text;
    std::uint32_t expected;
};

TEST(HexText, ReadsLikeScanfHex)
{
    const std::vector<HexCase> cases = {
        {"f7bf9b", 0xf7bf9b},
        {"F7BF9B", 0xf7bf9b},
        {"0xff", 0xff},
        {" \t0X1a", 0x1a},
        {"ag", 0xa},
        {"zz", 0},
        {"", 0},
        {"0x", 0},
        {"ffffffff", 0xffffffffu},
        {"123456789", 0xffffffffu},
    };
    for (const HexCase& c : cases) {
        EXPECT_EQ(kl::HexText(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(FormatHex, WritesLowerCaseWithoutPrefixAndReadsBack)
{
    EXPECT_EQ(kl::FormatHex(0), "0");
    EXPECT_EQ(kl::FormatHex(0xf7bf9b), "f7bf9b");
    EXPECT_EQ(kl::FormatHex(0x33ffee), "33ffee");
    EXPECT_EQ(kl::FormatHex(0xffffffffu), "ffffffff");
    for (std::uint32_t value : {0u, 1u, 0x10u, 0xabcdefu, 0x80000000u}) {
        EXPECT_EQ(kl::HexText(kl::FormatHex(value)), value);
    }
}

TEST(ScanDecimal, LeavesTextAndValueAloneWithoutADigit)
{
    std::string_view text = "  -:5";
    int value = 42;
    EXPECT_FALSE(kl::ScanDecimal(text, value));
    EXPECT_EQ(value, 42);
    EXPECT_EQ(text, "  -:5");
}

TEST(ScanDecimal, StopsAtTheFirstNonDigit)
{
    std::string_view text = " 10:-15";
    int value = 0;
    ASSERT_TRUE(kl::ScanDecimal(text, value));
    EXPECT_EQ(value, 10);
    EXPECT_EQ(text, ":-15");
}

}  // namespace
