#include "engine/compare/line_keys.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/compare/block_size_tree.h"
#include "engine/compare/lines_equal.h"
#include "match_texts.h"

namespace {

using kl::KeyForm;

// Random lines from pieces that every option treats specially.
std::vector<std::string> RandomKeyLines(std::mt19937& random, int count)
{
    static const std::vector<std::string> pieces = {"a",  "b",  " ",  "\t", ":",        "\x81\x40",
                                                    "\x88\x9f", "\x81", "\r", "\n", std::string(1, '\0')};
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        std::string line;
        const int length = static_cast<int>(random() % 6);
        for (int k = 0; k < length; ++k) line += pieces[random() % pieces.size()];
        lines.push_back(line);
    }
    return lines;
}

TEST(LineKeys, AgreeWithLinesEqualUnderEveryOptionSet)
{
    std::mt19937 random(11);
    for (unsigned bits = 0; bits < 64; ++bits) {
        kl::CompareOptions options;
        options.method = (bits & 1) ? 1 : 0;
        options.ignoreNewline = (bits & 2) != 0;
        options.ignoreSpaceTab = (bits & 4) != 0;
        options.wideSpaceAsTwo = (bits & 8) ? 1 : 0;
        options.ignoreTrailingSpaces = (bits & 16) ? 1 : 0;
        options.delimiter = (bits & 32) ? '\0' : ':';
        const kl::Text texts[2] = {kltest::MakeText(RandomKeyLines(random, 60)),
                                   kltest::MakeText(RandomKeyLines(random, 60))};
        const kl::LineKeys keys(texts[0], texts[1], options);
        int decided = 0;
        for (int side = 0; side < 2; ++side) {
            for (int f = 0; f < texts[side].count(); ++f) {
                for (int s = 0; s < texts[1 - side].count(); ++s) {
                    const int known = keys.Compare(side, f, s);
                    if (known < 0) continue;
                    ++decided;
                    const bool equal = kl::LinesEqual(texts[side].text(f), texts[1 - side].text(s), options) == 0;
                    ASSERT_EQ(known == 1, equal) << "options " << bits << " side " << side << " lines " << f << ", " << s;
                }
            }
        }
        // Only the delimiter method leaves pairs to LinesEqual.
        if (options.method != 1) {
            EXPECT_EQ(decided, 2 * 60 * 60) << bits;
        }
    }
}

TEST(LineKeys, IndexListsTheLinesOfEachKeyInOrder)
{
    const kl::Text own = kltest::MakeText({"x\n"});
    const kl::Text other = kltest::MakeText({"a\n", "b\n", "a\n", "a\r\n", "b\n", "a\n"});
    kl::CompareOptions options;
    options.ignoreNewline = true;
    const kl::LineKeys keys(own, other, options);
    const kl::KeyIndex whole(keys, 1, KeyForm::Whole, other.count());
    const kl::KeyIndex content(keys, 1, KeyForm::Content, other.count());
    auto lines = [](std::span<const std::int32_t> span) { return std::vector<std::int32_t>(span.begin(), span.end()); };
    EXPECT_EQ(lines(whole.Lines(keys.Key(1, KeyForm::Whole, 0))), (std::vector<std::int32_t>{0, 2, 5}));
    EXPECT_EQ(lines(content.Lines(keys.Key(1, KeyForm::Content, 0))), (std::vector<std::int32_t>{0, 2, 3, 5}));
    EXPECT_EQ(lines(content.Lines(keys.Key(1, KeyForm::Content, 1))), (std::vector<std::int32_t>{1, 4}));
    EXPECT_TRUE(whole.Lines(keys.Key(0, KeyForm::Whole, 0)).empty());
}

TEST(BlockSizeTree, FindsTheFirstLargerBlockAsValuesChange)
{
    std::mt19937 random(5);
    for (const int count : {1, 2, 7, 64, 100}) {
        std::vector<std::int32_t> blockSizes(static_cast<std::size_t>(count));
        for (std::int32_t& blockSize : blockSizes) blockSize = static_cast<std::int32_t>(random() % 6);
        kl::BlockSizeTree tree(blockSizes);
        for (int round = 0; round < 400; ++round) {
            const int changed = static_cast<int>(random() % count);
            blockSizes[changed] = static_cast<std::int32_t>(random() % 6);  // up or down
            tree.Set(changed, blockSizes[changed]);
            const int from = static_cast<int>(random() % (count + 1));
            const auto limit = static_cast<std::int32_t>(random() % 6);
            int expected = from;
            while (expected < count && blockSizes[expected] <= limit) ++expected;
            ASSERT_EQ(tree.FirstAbove(from, limit), expected) << count << " from " << from << " limit " << limit;
        }
    }
}

}  // namespace
