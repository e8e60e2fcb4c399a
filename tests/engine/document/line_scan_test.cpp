#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/document/line_scan.h"
#include "engine/document/text_loader.h"
#include "tests/support/test_scale.h"

namespace {

// Random texts over a small alphabet, dense in CR and LF, of every length up to a few
// vector blocks, so that line ends fall on and across every block boundary.
std::string RandomText(std::mt19937& random, std::size_t size)
{
    static const char alphabet[] = {'a', '\r', '\n', '\0', '\x8d', '\x0b'};
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof alphabet) - 1);
    std::string text(size, ' ');
    for (char& c : text)
        c = alphabet[pick(random)];
    return text;
}

// The line ends of text, counted one byte at a time.
std::size_t ReferenceLineEnds(const std::string& text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            ++count;
        else if (text[i] == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n'))
            ++count;
    }
    return count;
}

TEST(LineScan, AgreesWithByteByByteScan)
{
    std::mt19937 random(7);
    for (std::size_t size = 0; size < 100; ++size) {
        for (int round = 0; round < 20; ++round) {
            const std::string text = RandomText(random, size);
            ASSERT_EQ(kl::CountLineEnds(text), ReferenceLineEnds(text)) << "size " << size;
            for (std::size_t from = 0; from <= size; ++from) {
                const std::size_t found = text.find_first_of("\r\n", from);
                ASSERT_EQ(kl::FindLineBreak(text.data(), from, size),
                          found == std::string::npos ? size : found);
            }
        }
    }
}

TEST(LineScan, LongTextsWithFewBreaks)
{
    // Long runs without a break, counters summed over many blocks.
    std::string text(100000, 'x');
    for (std::size_t i = 15; i < text.size(); i += 4093)
        text[i] = '\n';
    text[16 * 300] = '\r';
    text[16 * 300 + 1] = '\n';
    text.back() = '\r';
    EXPECT_EQ(kl::CountLineEnds(text), ReferenceLineEnds(text));
    EXPECT_EQ(kl::SplitLines(text, false).count(), static_cast<int>(ReferenceLineEnds(text)));
    EXPECT_EQ(kl::CountLineEnds(std::string(5000, '\r')), 5000u);
    EXPECT_EQ(kl::CountLineEnds(std::string(5000, '\n')), 5000u);
}

TEST(LineScan, SplitKeepsEveryByteOfRandomTexts)
{
    std::mt19937 random(11);
    for (std::size_t size = 0; size < 200; size += 3) {
        const std::string text = RandomText(random, size);
        const kl::Text lines = kl::SplitLines(text, false);
        std::string joined;
        for (int i = 0; i < lines.count(); ++i) {
            const std::string_view line = lines.text(i);
            joined += line;
            // A line end is only ever at the end of its line.
            EXPECT_EQ(line.substr(0, kl::ContentLength(lines, i)).find_first_of("\r\n"), std::string_view::npos);
        }
        EXPECT_EQ(joined, text);
        const std::size_t ends = ReferenceLineEnds(text);
        const bool openLast = !text.empty() && text.back() != '\r' && text.back() != '\n';
        EXPECT_EQ(lines.count(), static_cast<int>(ends + (openLast ? 1 : 0)));
    }
}

// Line starts and longest line of random texts, dense or sparse in line ends, against a
// split one byte at a time.
TEST(LineScan, SplitAgreesWithByteByByteSplit)
{
    std::mt19937 random(13);
    const int cases = kltest::ScaledCases(4000);
    for (int c = 0; c < cases; ++c) {
        const std::size_t size = random() % 400;
        const unsigned breakEvery = c % 2 == 0 ? 3 : 70;
        std::string text(size, 'a');
        for (char& ch : text)
            ch = random() % breakEvery == 0 ? "\r\n"[random() % 2] : "a\xE3\x81\0"[random() % 4];
        std::vector<std::int64_t> starts;
        if (size > 0)
            starts.push_back(0);
        int longest = 0;
        for (std::size_t i = 0; i < size; ++i) {
            if (text[i] == '\n' || (text[i] == '\r' && !(i + 1 < size && text[i + 1] == '\n')))
                starts.push_back(static_cast<std::int64_t>(i + 1));
        }
        if (size > 0 && starts.back() != static_cast<std::int64_t>(size))
            starts.push_back(static_cast<std::int64_t>(size));
        const auto length = [&](std::size_t k) { return starts[k + 1] - starts[k]; };
        for (std::size_t k = 1; k + 1 < starts.size(); ++k) {
            if (length(k) > length(static_cast<std::size_t>(longest)))
                longest = static_cast<int>(k);
        }
        const kl::Text lines = kl::SplitLines(text, false);
        ASSERT_EQ(lines.starts, starts) << ::testing::PrintToString(text);
        ASSERT_EQ(lines.longestLine, longest) << ::testing::PrintToString(text);
    }
}

}  // namespace
