// The merge walk with a question per one-sided block: add, skip, back, stop.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/document/text_loader.h"
#include "tests/engine/merge/compared_result.h"
#include "engine/merge/merge_walk.h"

namespace {

using kl::ANSWER_ADD;
using kl::ANSWER_BACK;
using kl::ANSWER_SKIP;
using kl::ANSWER_STOP;

// Three DocA-only blocks x1, x2, x3 between common lines.
const std::string kDocA = "c1\nc2\nx1\nc3\nx2\nc4\nx3\nc5\n";
const std::string kDocB = "c1\nc2\nc3\nc4\nc5\n";
const std::string kX1 = "!DOC_A>>>x1\n";
const std::string kX2 = "!DOC_A>>>x2\n";
const std::string kX3 = "!DOC_A>>>x3\n";

struct Asked {
    kl::BlockQuestion question;
    std::string text;
};

// Answers the questions from a script and records them. A step may replace the text.
struct ScriptedUser {
    struct Step {
        Step(int answer, const char* edited = nullptr) : answer(answer), edited(edited) {}
        int answer;
        const char* edited;  // the text the user leaves in the window, when changed
    };
    explicit ScriptedUser(std::vector<Step> steps) : script(std::move(steps)) {}

    std::vector<Step> script;
    std::vector<Asked> asked;

    kl::AskBlockFunction Function()
    {
        return [this](const kl::BlockQuestion& question, std::string& text) {
            asked.push_back({question, text});
            if (asked.size() > script.size()) {
                ADD_FAILURE() << "more questions than answers";
                return static_cast<int>(ANSWER_STOP);
            }
            const Step& step = script[asked.size() - 1];
            if (step.edited != nullptr)
                text = step.edited;
            return step.answer;
        };
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Asked& a : asked)
            texts.push_back(a.text);
        return texts;
    }
    std::vector<bool> BackAllowed() const
    {
        std::vector<bool> allowed;
        for (const Asked& a : asked)
            allowed.push_back(a.question.backAllowed);
        return allowed;
    }
};

kl::MergeOutcome MergeWith(ScriptedUser& user, const kl::MergeRules& rules = {})
{
    return kl::RunMerge(kltest::ComparedResult(kDocA, kDocB), rules, user.Function());
}

TEST(MergeQuery, AddAddBackBackReturnsToTheFirstBlock)
{
    ScriptedUser user{{{ANSWER_ADD}, {ANSWER_ADD}, {ANSWER_BACK}, {ANSWER_BACK}, {ANSWER_SKIP},
                       {ANSWER_SKIP}, {ANSWER_SKIP}}};
    const kl::MergeOutcome outcome = MergeWith(user);
    EXPECT_EQ(user.Texts(), (std::vector<std::string>{kX1, kX2, kX3, kX2, kX1, kX2, kX3}));
    EXPECT_EQ(user.BackAllowed(), (std::vector<bool>{false, true, true, true, false, false, false}));
    EXPECT_EQ(outcome.end, kl::MergeEnd::Completed);
    EXPECT_EQ(outcome.text, "c1\nc2\nc3\nc4\nc5\n");
}

TEST(MergeQuery, BackAfterTwoAddsRestoresTheEarlierText)
{
    ScriptedUser user{{{ANSWER_ADD}, {ANSWER_ADD}, {ANSWER_BACK}, {ANSWER_SKIP}, {ANSWER_ADD}}};
    const kl::MergeOutcome outcome = MergeWith(user);
    EXPECT_EQ(user.Texts(), (std::vector<std::string>{kX1, kX2, kX3, kX2, kX3}));
    EXPECT_EQ(outcome.text, "c1\nc2\n" + kX1 + "c3\nc4\n" + kX3 + "c5\n");
}

TEST(MergeQuery, SkippedBlocksAfterTheLastAddAreAskedAgainOnBack)
{
    ScriptedUser user{{{ANSWER_ADD}, {ANSWER_SKIP}, {ANSWER_BACK}, {ANSWER_ADD}, {ANSWER_ADD}, {ANSWER_ADD}}};
    const kl::MergeOutcome outcome = MergeWith(user);
    EXPECT_EQ(user.Texts(), (std::vector<std::string>{kX1, kX2, kX3, kX1, kX2, kX3}));
    EXPECT_EQ(outcome.text, "c1\nc2\n" + kX1 + "c3\n" + kX2 + "c4\n" + kX3 + "c5\n");
}

TEST(MergeQuery, BackWithNothingAddedAsksTheSameBlockAgain)
{
    ScriptedUser user{{{ANSWER_BACK}, {ANSWER_ADD}, {ANSWER_SKIP}, {ANSWER_SKIP}}};
    const kl::MergeOutcome outcome = MergeWith(user);
    EXPECT_EQ(user.Texts(), (std::vector<std::string>{kX1, kX1, kX2, kX3}));
    EXPECT_EQ(outcome.text, "c1\nc2\n" + kX1 + "c3\nc4\nc5\n");
}

// The block lists a comparison of DocA "c a b a" with DocB "b c b" gives: DocB-only b,
// then common and DocA-only lines, DocB's common records of no lines opposite DocA's later
// blocks, and a last DocB-only b. A DocA block is chosen there because DocB's record has no
// lines, which moves DocB's position on; a back must resume from the positions before that
// choice, or the walk skips DocB's next record and the last DocB-only block is lost.
TEST(MergeQuery, BackReplaysTheWalkFromThePositionsBeforeTheChoice)
{
    using kl::BLOCK_COMMON;
    using kl::BLOCK_NONE;
    using kl::BLOCK_ONLY_A;
    using kl::BLOCK_ONLY_B;
    const auto rec = kltest::BlockRecord;
    kl::CompareResult result;
    result.texts = {std::make_shared<const kl::Text>(kl::SplitLines("c\na\nb\na\n", false)),
                    std::make_shared<const kl::Text>(kl::SplitLines("b\nc\nb\n", false))};
    result.sides[kl::DOC_A].blocks = {
        rec(BLOCK_NONE, 0, 0, 0, 0),   rec(BLOCK_NONE, 0, 0, 0, 0),   rec(BLOCK_COMMON, 0, 0, 1, 1),
        rec(BLOCK_ONLY_A, 1, 1, 1, 2), rec(BLOCK_COMMON, 2, 2, 1, 3), rec(BLOCK_ONLY_A, 3, 3, 1, 4)};
    result.sides[kl::DOC_B].blocks = {
        rec(BLOCK_NONE, 0, -1, 0, 0),  rec(BLOCK_ONLY_B, 0, 0, 1, 0), rec(BLOCK_COMMON, 1, 2, 1, 1),
        rec(BLOCK_COMMON, 2, 2, 0, 2), rec(BLOCK_COMMON, 2, 2, 0, 3), rec(BLOCK_COMMON, 2, 1, 0, 4),
        rec(BLOCK_ONLY_B, 2, 2, 1, 5)};
    const std::string expected = "!DOC_B>>>b\nc\n!DOC_A>>>a\nb\n!DOC_A>>>a\n!DOC_B>>>b\n";
    ASSERT_EQ(kl::RunMerge(result, {}).text, expected);

    ScriptedUser user{{{ANSWER_ADD}, {ANSWER_ADD}, {ANSWER_BACK}, {ANSWER_ADD}, {ANSWER_ADD}, {ANSWER_ADD}}};
    const kl::MergeOutcome outcome = kl::RunMerge(result, {}, user.Function());
    std::vector<int> asked;
    for (const Asked& a : user.asked)
        asked.push_back(a.question.listIndex);
    EXPECT_EQ(asked, (std::vector<int>{1, 3, 5, 3, 5, 6}));
    EXPECT_EQ(outcome.text, expected);
}

TEST(MergeQuery, EditedTextIsUsedOnAddAndDroppedOnSkip)
{
    ScriptedUser user{{{ANSWER_ADD, "edited one\r\n"}, {ANSWER_SKIP, "dropped\n"}, {ANSWER_ADD, ""}}};
    const kl::MergeOutcome outcome = MergeWith(user);
    EXPECT_EQ(outcome.text, "c1\nc2\nedited one\r\nc3\nc4\nc5\n");
}

TEST(MergeQuery, EditedTextIsDroppedOnBackAndTheBlockIsBuiltAfresh)
{
    ScriptedUser user{{{ANSWER_ADD, "first\n"}, {ANSWER_BACK, "lost\n"}, {ANSWER_ADD}, {ANSWER_SKIP}, {ANSWER_SKIP}}};
    const kl::MergeOutcome outcome = MergeWith(user);
    EXPECT_EQ(user.Texts(), (std::vector<std::string>{kX1, kX2, kX1, kX2, kX3}));
    EXPECT_EQ(outcome.text, "c1\nc2\n" + kX1 + "c3\nc4\nc5\n");
}

TEST(MergeQuery, StopKeepsTheTextBuiltSoFar)
{
    ScriptedUser user{{{ANSWER_ADD}, {ANSWER_STOP, "dropped\n"}}};
    const kl::MergeOutcome outcome = MergeWith(user);
    EXPECT_EQ(outcome.end, kl::MergeEnd::Stopped);
    EXPECT_EQ(outcome.text, "c1\nc2\n" + kX1 + "c3\n");
}

TEST(MergeQuery, NoWindowOrAnUnknownAnswerAbandonsTheRun)
{
    for (int answer : {static_cast<int>(kl::ANSWER_NO_WINDOW), 1, 99}) {
        ScriptedUser user{{{ANSWER_ADD}, {answer}}};
        const kl::MergeOutcome outcome = MergeWith(user);
        EXPECT_EQ(outcome.end, kl::MergeEnd::Abandoned) << answer;
        EXPECT_EQ(outcome.text, "") << answer;
    }
}

TEST(MergeQuery, OnlyIncludedOneSidedBlocksAreAsked)
{
    const kl::CompareResult result = kltest::ComparedResult("a\nx\nb\n", "a\ny\nb\n");
    struct Case {
        bool onlyA;
        bool onlyB;
        std::vector<std::string> asked;
    };
    const Case cases[] = {
        {true, true, {"!DOC_A>>>x\n", "!DOC_B>>>y\n"}},
        {false, true, {"!DOC_B>>>y\n"}},
        {true, false, {"!DOC_A>>>x\n"}},
        {false, false, {}},
    };
    for (const Case& c : cases) {
        kl::MergeRules rules;
        rules.includeOnlyA = c.onlyA;
        rules.includeOnlyB = c.onlyB;
        rules.includeCommon = false;
        ScriptedUser user{{{ANSWER_ADD}, {ANSWER_ADD}}};
        const kl::MergeOutcome outcome = kl::RunMerge(result, rules, user.Function());
        EXPECT_EQ(user.Texts(), c.asked) << c.onlyA << c.onlyB;
        std::string all;
        for (const std::string& text : c.asked)
            all += text;
        EXPECT_EQ(outcome.text, all);
    }
}

TEST(MergeQuery, QuestionNamesTheBlockAndItsSide)
{
    const kl::CompareResult result = kltest::ComparedResult("a\nb\nx\nc\n", "a\nb\nc\ny\n");
    ScriptedUser user{{{ANSWER_SKIP}, {ANSWER_SKIP}}};
    kl::RunMerge(result, {}, user.Function());
    ASSERT_EQ(user.asked.size(), 2u);
    for (const Asked& asked : user.asked) {
        const kl::BlockQuestion& q = asked.question;
        const auto& list = result.Blocks(q.side);
        ASSERT_LT(q.listIndex, static_cast<int>(list.size()));
        EXPECT_EQ(list[static_cast<std::size_t>(q.listIndex)].firstRow, q.block.firstRow);
        EXPECT_EQ(list[static_cast<std::size_t>(q.listIndex)].kind, q.block.kind);
    }
    const kl::BlockQuestion& first = user.asked[0].question;
    EXPECT_EQ(first.side, kl::DOC_A);
    EXPECT_EQ(first.block.firstLineIndex, 2);
    EXPECT_EQ(kl::BlockQuestionTitle(first), "DocA側に存在する相違ブロックNo." +
                                                 std::to_string(first.listIndex - 1) + " - 先頭行3行目");
    const kl::BlockQuestion& second = user.asked[1].question;
    EXPECT_EQ(second.side, kl::DOC_B);
    EXPECT_EQ(second.block.firstLineIndex, 3);
    EXPECT_EQ(kl::BlockQuestionTitle(second).substr(0, 4), "DocB");
}

}  // namespace
