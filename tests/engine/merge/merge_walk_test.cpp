#include "engine/merge/merge_walk.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/platform/cp932.h"
#include "tests/engine/merge/compared_result.h"
#include "tests/support/test_scale.h"

namespace {

using kl::MergeRules;
using kltest::ComparedResult;

std::string Merge(std::string_view a, std::string_view b, const MergeRules& rules = {})
{
    const kl::MergeOutcome outcome = kl::RunMerge(ComparedResult(a, b), rules);
    EXPECT_EQ(outcome.end, kl::MergeEnd::Completed);
    return outcome.text;
}

TEST(MergeWalk, IdenticalTextsGiveDocAByteForByte)
{
    const std::string texts[] = {
        "a\nb\nc\n",
        "one line without a line end",
        "x\r\ny\r\n\r\n\r\n",
        "lone\rcr\rline\n",
        "\x82\xa0\x82\xa2\n\x88\x9f\x8e\x9a\n",  // あい / 亜字
        "same\nsame\nsame\nsame\n",
        std::string("nul\0byte\n", 9),
    };
    for (const std::string& text : texts) {
        EXPECT_EQ(Merge(text, text), text) << text;
        MergeRules noCommon;
        noCommon.includeCommon = false;
        EXPECT_EQ(Merge(text, text, noCommon), "") << text;
    }
}

TEST(MergeWalk, DocBOnlyBlockBetweenCommonBlocksGetsItsPrefixes)
{
    EXPECT_EQ(Merge("a\nb\nc\nd\n", "a\nb\nX\nY\nc\nd\n"),
              "a\nb\n!DOC_B>>>X\n!DOC_B>>>Y\nc\nd\n");
}

TEST(MergeWalk, RulesDecideWhatGoesIn)
{
    struct Case {
        const char* name;
        bool onlyA, onlyB, common, prefixA, prefixB;
        std::string expected;
    };
    const Case cases[] = {
        {"everything", true, true, true, true, true, "a\n!DOC_A>>>x\n!DOC_B>>>y\nb\n"},
        {"without DocA-only", false, true, true, true, true, "a\n!DOC_B>>>y\nb\n"},
        {"without DocB-only", true, false, true, true, true, "a\n!DOC_A>>>x\nb\n"},
        {"without common", true, true, false, true, true, "!DOC_A>>>x\n!DOC_B>>>y\n"},
        {"nothing", false, false, false, true, true, ""},
        {"no prefixes", true, true, true, false, false, "a\nx\ny\nb\n"},
        {"DocA prefix only", true, true, true, true, false, "a\n!DOC_A>>>x\ny\nb\n"},
        {"excluded side ignores its prefix", false, true, true, false, true, "a\n!DOC_B>>>y\nb\n"},
    };
    for (const Case& c : cases) {
        MergeRules rules;
        rules.includeOnlyA = c.onlyA;
        rules.includeOnlyB = c.onlyB;
        rules.includeCommon = c.common;
        rules.prefixOnlyA = c.prefixA;
        rules.prefixOnlyB = c.prefixB;
        EXPECT_EQ(Merge("a\nx\nb\n", "a\ny\nb\n", rules), c.expected) << c.name;
    }
}

TEST(MergeWalk, PrefixTextsAreBytes)
{
    MergeRules rules;
    rules.prefixes.docA = "\x81\x9a";  // ★
    rules.prefixes.docB = "";
    EXPECT_EQ(Merge("a\nx\r\nb", "a\ny\nb", rules), "a\n\x81\x9ax\r\ny\nb");
}

TEST(MergeWalk, MovedLines)
{
    // DocB's d and e stand first as DocB-only lines. DocA's d and e follow a, b, c as
    // lines that exist elsewhere, in one common block with them; DocB's common block at
    // that row holds only a, b, c and is the one written, so d and e appear once.
    EXPECT_EQ(Merge("a\nb\nc\nd\ne\n", "d\ne\na\nb\nc\n"), "!DOC_B>>>d\n!DOC_B>>>e\na\nb\nc\n");
    MergeRules noCommon;
    noCommon.includeCommon = false;
    EXPECT_EQ(Merge("a\nb\nc\nd\ne\n", "d\ne\na\nb\nc\n", noCommon), "!DOC_B>>>d\n!DOC_B>>>e\n");
}

TEST(MergeWalk, OneSidedTextsAtEitherEnd)
{
    EXPECT_EQ(Merge("a\nb\n", "a\nb\nc\nd\n"), "a\nb\n!DOC_B>>>c\n!DOC_B>>>d\n");
    EXPECT_EQ(Merge("a\nb\nc\n", "c\n"), "!DOC_A>>>a\n!DOC_A>>>b\nc\n");
    EXPECT_EQ(Merge("x\n", "y\n"), "!DOC_A>>>x\n!DOC_B>>>y\n");
}

TEST(MergeWalk, WithoutAResultTheTextIsEmpty)
{
    const kl::CompareResult notCompared;
    EXPECT_EQ(kl::RunMerge(notCompared, {}).text, "");
    kl::CompareResult stopped = kltest::ComparedResult("a\n", "b\n");
    stopped.outcome = kl::RunOutcome::StoppedInRows;
    EXPECT_EQ(kl::RunMerge(stopped, {}).text, "");
}

TEST(MergeWalk, AnEmptyTextLeavesTheOthersLines)
{
    // An empty text has no blocks at all; the other text's lines still go in.
    EXPECT_EQ(Merge("", "a\nb\n"), "!DOC_B>>>a\n!DOC_B>>>b\n");
    EXPECT_EQ(Merge("a\nb\n", ""), "!DOC_A>>>a\n!DOC_A>>>b\n");
    EXPECT_EQ(Merge("", ""), "");
}

// Hand-made block lists over DocA "a0".."a4" and DocB "b0".."b4".
kl::CompareResult ListResult(std::vector<kl::DiffBlock> blocksA, std::vector<kl::DiffBlock> blocksB)
{
    kl::CompareResult result;
    result.texts = {std::make_shared<const kl::Text>(kl::SplitLines("a0\na1\na2\na3\na4\n", false)),
                    std::make_shared<const kl::Text>(kl::SplitLines("b0\nb1\nb2\nb3\nb4\n", false))};
    result.sides[kl::DOC_A].blocks = std::move(blocksA);
    result.sides[kl::DOC_B].blocks = std::move(blocksB);
    return result;
}

constexpr auto Rec = kltest::BlockRecord;

TEST(MergeWalk, HandMadeListsIncludingPositionRecords)
{
    using kl::BLOCK_COMMON;
    using kl::BLOCK_NONE;
    using kl::BLOCK_ONLY_A;
    using kl::BLOCK_ONLY_B;
    MergeRules rules;
    rules.prefixes = {"A>", "B>"};
    struct Case {
        const char* name;
        std::vector<kl::DiffBlock> blocksA;
        std::vector<kl::DiffBlock> blocksB;
        std::string expected;
    };
    const Case cases[] = {
        {"position records of kind -1 are passed over",
         {Rec(BLOCK_NONE, 0, -1, 0, 0), Rec(BLOCK_NONE, 0, -1, 0, 0), Rec(BLOCK_COMMON, 0, 1, 2, 0)},
         {Rec(BLOCK_NONE, 0, -1, 0, 0), Rec(BLOCK_COMMON, 0, 1, 2, 0)},
         "a0\na1\n"},
        {"one-sided position records of DocB after DocA's end are stepped over",
         {Rec(BLOCK_COMMON, 0, 0, 1, 0)},
         {Rec(BLOCK_COMMON, 0, 0, 1, 0), Rec(BLOCK_ONLY_B, 1, 1, 0, 1), Rec(BLOCK_ONLY_B, 1, 1, 0, 1),
          Rec(BLOCK_ONLY_B, 1, 2, 2, 1)},
         "a0\nB>b1\nB>b2\n"},
        {"a DocB-only block opposite a DocA position record",
         {Rec(BLOCK_COMMON, 0, 0, 1, 0), Rec(BLOCK_COMMON, 1, 1, 0, 1), Rec(BLOCK_COMMON, 1, 1, 1, 2)},
         {Rec(BLOCK_COMMON, 0, 0, 1, 0), Rec(BLOCK_ONLY_B, 1, 1, 1, 1), Rec(BLOCK_COMMON, 2, 2, 1, 2)},
         "a0\nB>b1\na1\n"},
        // Common blocks that open at one row: the longer one holds lines found elsewhere
        // in the other text, which the shorter one leaves out; both lists move on.
        {"equal rows, both common: the shorter block, from DocB",
         {Rec(BLOCK_COMMON, 0, 2, 3, 0)},
         {Rec(BLOCK_COMMON, 0, 0, 1, 0)},
         "b0\n"},
        {"equal rows, both common: the shorter block, from DocA",
         {Rec(BLOCK_COMMON, 0, 0, 1, 0)},
         {Rec(BLOCK_COMMON, 0, 2, 3, 0)},
         "a0\n"},
        {"equal rows, both common, equal sizes: DocA",
         {Rec(BLOCK_COMMON, 3, 4, 2, 0)},
         {Rec(BLOCK_COMMON, 0, 1, 2, 0)},
         "a3\na4\n"},
        {"equal rows, different kinds: the one-sided block first",
         {Rec(BLOCK_COMMON, 0, 0, 1, 0)},
         {Rec(BLOCK_ONLY_B, 0, 0, 1, 0), Rec(BLOCK_COMMON, 1, 1, 1, 1)},
         "B>b0\na0\n"},
        // A common DocA record without lines gives way to the DocB block; as both are
        // common, DocA's list moves on once more, past the record that follows.
        {"a common DocA position record opposite a common DocB block",
         {Rec(BLOCK_COMMON, 0, 0, 1, 0), Rec(BLOCK_COMMON, 1, 1, 0, 1), Rec(BLOCK_ONLY_A, 1, 1, 1, 2)},
         {Rec(BLOCK_COMMON, 0, 0, 1, 0), Rec(BLOCK_COMMON, 1, 1, 1, 1)},
         "a0\nb1\n"},
        {"negative counts count as 0",
         {Rec(BLOCK_ONLY_A, 0, 0, -3, 0), Rec(BLOCK_COMMON, 0, 0, 1, 1)},
         {Rec(BLOCK_ONLY_B, 0, 0, -1, 0), Rec(BLOCK_COMMON, 0, 0, 1, 1)},
         "a0\nb0\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kl::RunMerge(ListResult(c.blocksA, c.blocksB), rules).text, c.expected) << c.name;
    }
}

// Lines of text, each with its line end.
std::vector<std::string> SplitAfterNewline(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start + 1));
        start = end + 1;
    }
    return lines;
}

// Random texts over a small alphabet, so that lines repeat and move: the walk ends, every
// line it writes comes from one of the texts, and the prefixes sit exactly on the lines
// of one-sided blocks.
TEST(MergeWalk, RandomTextsEndAndKeepTheRules)
{
    std::mt19937 random(7);
    for (int round = 0; round < kltest::ScaledCases(300); ++round) {
        std::string a;
        std::string b;
        const int linesA = static_cast<int>(random() % 12);
        const int linesB = static_cast<int>(random() % 12);
        for (int k = 0; k < linesA; ++k)
            a += std::string(1, static_cast<char>('a' + random() % 5)) + "\n";
        for (int k = 0; k < linesB; ++k)
            b += std::string(1, static_cast<char>('a' + random() % 5)) + "\n";
        const kl::CompareResult result = ComparedResult(a, b);
        SCOPED_TRACE(a + "|" + b);

        MergeRules onlyOneSided;
        onlyOneSided.includeCommon = false;
        for (const std::string& line : SplitAfterNewline(kl::RunMerge(result, onlyOneSided).text)) {
            const bool fromA = line.starts_with("!DOC_A>>>");
            const bool fromB = line.starts_with("!DOC_B>>>");
            ASSERT_TRUE(fromA || fromB) << line;
            EXPECT_NE((fromA ? a : b).find(line.substr(9)), std::string::npos) << line;
        }
        MergeRules onlyCommon;
        onlyCommon.includeOnlyA = false;
        onlyCommon.includeOnlyB = false;
        for (const std::string& line : SplitAfterNewline(kl::RunMerge(result, onlyCommon).text)) {
            EXPECT_NE(a.find(line), std::string::npos) << line;
            EXPECT_NE(b.find(line), std::string::npos) << line;
        }
    }
}

}  // namespace

TEST(MergeWalk, PrefixesOfAUtf8MergeAreWrittenInUtf8)
{
    kl::MergeRules rules;
    rules.prefixes.docA = kl::Utf8ToCp932("旧>");
    // 日 / 本 in UTF-8 on both sides: the texts are UTF-8, so is every prefix.
    const std::string merged = Merge("\xE6\x97\xA5\n", "\xE6\x9C\xAC\n", rules);
    EXPECT_EQ(merged, "旧>\xE6\x97\xA5\n!DOC_B>>>\xE6\x9C\xAC\n");
}
