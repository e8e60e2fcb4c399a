#include "engine/merge/block_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/document/text_loader.h"

namespace {

using kl::DiffBlock;

// Lines 0..4; line 3 ends in CR LF, line 4 has no line end.
constexpr std::string_view kText = "zero\none\ntwo\nthree\r\nfour";

// A result holding kText on one side and no text on the other.
kl::CompareResult OneTextResult(int side)
{
    kl::CompareResult result;
    result.texts[side] = std::make_shared<const kl::Text>(kl::SplitLines(kText, false));
    return result;
}

DiffBlock Block(int kind, int first, int last, int count)
{
    DiffBlock block;
    block.kind = kind;
    block.firstLineIndex = first;
    block.lastLineIndex = last;
    block.lineCount = count;
    return block;
}

struct BlockCase {
    const char* name;
    DiffBlock block;
    std::string expected;
    int lines;
};

TEST(BlockText, WalksFromTheFirstLineAndStopsAtTheFirstLimit)
{
    const BlockCase cases[] = {
        {"common block, no prefix", Block(kl::BLOCK_COMMON, 1, 2, 2), "one\ntwo\n", 2},
        {"own line ends kept", Block(kl::BLOCK_COMMON, 3, 4, 2), "three\r\nfour", 2},
        {"count 0 writes nothing", Block(kl::BLOCK_COMMON, 1, 1, 0), "", 0},
        {"stops after the last line", Block(kl::BLOCK_COMMON, 0, 1, 5), "zero\none\n", 2},
        {"count below the last line", Block(kl::BLOCK_COMMON, 0, 4, 1), "zero\n", 1},
        {"last line before the first is never reached", Block(kl::BLOCK_COMMON, 2, 1, 2),
         "two\nthree\r\n", 2},
        {"end of the text", Block(kl::BLOCK_COMMON, 3, 9, 9), "three\r\nfour", 2},
        {"no first line: starts at the last", Block(kl::BLOCK_COMMON, -1, 2, 3), "two\n", 1},
        {"no line at all", Block(kl::BLOCK_COMMON, -1, -1, 3), "", 0},
        {"first line past the end", Block(kl::BLOCK_COMMON, 5, 5, 1), "", 0},
        {"DocA-only lines get the DocA prefix", Block(kl::BLOCK_ONLY_A, 1, 2, 2), "<A>one\n<A>two\n", 2},
        {"DocB-only lines get the DocB prefix", Block(kl::BLOCK_ONLY_B, 4, 4, 1), "<B>four", 1},
        {"position record of a one-sided block", Block(kl::BLOCK_ONLY_B, 2, 2, 0), "", 0},
    };
    kl::MergeRules rules;
    rules.prefixes.docA = "<A>";
    rules.prefixes.docB = "<B>";
    for (int side : {kl::DOC_A, kl::DOC_B}) {
        const kl::CompareResult result = OneTextResult(side);
        for (const BlockCase& c : cases) {
            std::string out = "before|";
            EXPECT_EQ(kl::BlockText(result, side, c.block, rules, out), c.lines) << c.name;
            EXPECT_EQ(out, "before|" + c.expected) << c.name;
        }
    }
}

TEST(BlockText, PrefixOptionsAndTextsAreKeptPerSide)
{
    const kl::CompareResult result = OneTextResult(kl::DOC_A);
    const DiffBlock onlyA = Block(kl::BLOCK_ONLY_A, 0, 1, 2);
    const DiffBlock onlyB = Block(kl::BLOCK_ONLY_B, 0, 1, 2);
    struct Case {
        bool prefixA;
        bool prefixB;
        std::string expectedA;
        std::string expectedB;
    };
    const Case cases[] = {
        {true, true, "!DOC_A>>>zero\n!DOC_A>>>one\n", "!DOC_B>>>zero\n!DOC_B>>>one\n"},
        {false, true, "zero\none\n", "!DOC_B>>>zero\n!DOC_B>>>one\n"},
        {true, false, "!DOC_A>>>zero\n!DOC_A>>>one\n", "zero\none\n"},
        {false, false, "zero\none\n", "zero\none\n"},
    };
    for (const Case& c : cases) {
        kl::MergeRules rules;
        rules.prefixOnlyA = c.prefixA;
        rules.prefixOnlyB = c.prefixB;
        std::string outA;
        std::string outB;
        kl::BlockText(result, kl::DOC_A, onlyA, rules, outA);
        kl::BlockText(result, kl::DOC_A, onlyB, rules, outB);
        EXPECT_EQ(outA, c.expectedA) << c.prefixA << c.prefixB;
        EXPECT_EQ(outB, c.expectedB) << c.prefixA << c.prefixB;
    }
}

TEST(BlockText, MissingTextWritesNothing)
{
    const kl::CompareResult result = OneTextResult(kl::DOC_A);
    std::string out;
    EXPECT_EQ(kl::BlockText(result, kl::DOC_B, Block(kl::BLOCK_COMMON, 0, 1, 2), {}, out), 0);
    EXPECT_EQ(kl::BlockText(result, 2, Block(kl::BLOCK_COMMON, 0, 1, 2), {}, out), 0);
    EXPECT_TRUE(out.empty());
}

}  // namespace
