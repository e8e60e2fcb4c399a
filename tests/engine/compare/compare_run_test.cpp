#include "engine/compare/compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/document/text_loader.h"

namespace {

using kl::CompareResult;
using kl::RunOutcome;

const std::string kTotalsPrefix = "\x91\x8d\x8d" "s\x90\x94 = ";  // 総行数 =

kl::TextPair MakeTexts(std::string_view a, std::string_view b)
{
    return {std::make_shared<const kl::Text>(kl::SplitLines(a, false)),
            std::make_shared<const kl::Text>(kl::SplitLines(b, false))};
}

std::string Lines(int count, const std::string& prefix)
{
    std::string text;
    for (int k = 0; k < count; ++k)
        text += prefix + std::to_string(k) + "\n";
    return text;
}

// Records the progress a run reports and requests a stop at a given value.
struct Recorder {
    std::vector<int> progress;
    int stopAt = -1;  // the first progress value at or above this requests a stop
    std::stop_source stop;

    CompareResult Run(const kl::TextPair& texts, const kl::CompareRequest& request = {})
    {
        return kl::Compare(texts, request, stop.get_token(), [this](int value) {
            progress.push_back(value);
            if (stopAt >= 0 && value >= stopAt)
                stop.request_stop();
        });
    }
};

TEST(CompareRun, TwoEmptyTextsCompleteWithZeroTotals)
{
    Recorder recorder;
    const CompareResult result = recorder.Run(MakeTexts("", ""));
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.Rows(kl::DOC_A).empty());
    EXPECT_TRUE(result.Rows(kl::DOC_B).empty());
    EXPECT_EQ(kl::LineTotalsText(result, kl::DOC_A, " [2024/01/02 03:04] 10 byte"),
              kTotalsPrefix + "0 (LF:0 CRLF:0)  [2024/01/02 03:04] 10 byte");
    EXPECT_EQ(kl::LineTotalsText(result, kl::DOC_B, " [2023/12/31 23:59] 0 byte"),
              kTotalsPrefix + "0 (LF:0 CRLF:0)  [2023/12/31 23:59] 0 byte");
    ASSERT_FALSE(recorder.progress.empty());
    EXPECT_EQ(recorder.progress.back(), 100);
}

TEST(CompareRun, TotalsCountLineEndKinds)
{
    Recorder recorder;
    const CompareResult result = recorder.Run(MakeTexts("a\nb\r\nc\rd", "x\r\ny\r\n\r\n"));
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_EQ(kl::LineTotalsText(result, kl::DOC_A, ""), kTotalsPrefix + "4 (LF:2 CRLF:1) ");
    EXPECT_EQ(kl::LineTotalsText(result, kl::DOC_B, ""), kTotalsPrefix + "3 (LF:0 CRLF:3) ");
}

TEST(CompareRun, ProgressNeverDecreasesAndEndsAt100)
{
    for (const auto& [a, b] : std::vector<std::pair<std::string, std::string>>{
             {Lines(50, "a"), Lines(30, "a") + Lines(40, "b")},
             {Lines(20, "x"), ""},
             {"", Lines(20, "x")}}) {
        Recorder recorder;
        const CompareResult result = recorder.Run(MakeTexts(a, b));
        ASSERT_EQ(result.outcome, RunOutcome::Completed);
        ASSERT_FALSE(recorder.progress.empty());
        EXPECT_TRUE(std::is_sorted(recorder.progress.begin(), recorder.progress.end()));
        EXPECT_GE(recorder.progress.front(), 0);
        EXPECT_EQ(recorder.progress.back(), 100);
        EXPECT_FALSE(result.Blocks(kl::DOC_A).empty() && result.Blocks(kl::DOC_B).empty());
    }
}

TEST(CompareRun, OptionsAndModeAreTheRequestedOnes)
{
    const kl::TextPair texts = MakeTexts("a\r\nb\r\n", "a\nb\n");
    Recorder plain;
    EXPECT_EQ(plain.Run(texts).Rows(kl::DOC_A)[0].kind, kl::ROW_ONLY_A);

    kl::CompareRequest request;
    request.options.ignoreNewline = true;
    request.mode = kl::COMPARE_DETAILED;
    Recorder ignoring;
    const CompareResult result = ignoring.Run(texts, request);
    ASSERT_EQ(result.Rows(kl::DOC_A).size(), 2u);
    EXPECT_EQ(result.Rows(kl::DOC_A)[0].kind, kl::ROW_COMMON);
    EXPECT_EQ(result.Rows(kl::DOC_B)[1].kind, kl::ROW_COMMON);
}

// A stop requested in each stage of a run.
struct StopCase {
    const char* stage;
    int stopAt;            // progress value that requests the stop; -1: before the run
    RunOutcome outcome;
    bool rowsBuilt;        // some rows of this run were built (the caller shows them)
};

class CompareRunStop : public ::testing::TestWithParam<StopCase> {};

TEST_P(CompareRunStop, EndsTheRunAtThatStage)
{
    const StopCase& c = GetParam();
    const kl::TextPair texts = MakeTexts(Lines(100, "a"), Lines(50, "b") + Lines(100, "a"));
    Recorder first;
    const std::size_t fullRows = first.Run(texts).Rows(kl::DOC_A).size();

    Recorder recorder;
    recorder.stopAt = c.stopAt;
    if (c.stopAt < 0)
        recorder.stop.request_stop();
    const CompareResult result = recorder.Run(texts);

    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_TRUE(result.Blocks(kl::DOC_A).empty());
    EXPECT_TRUE(result.Blocks(kl::DOC_B).empty());
    const std::vector<kl::DisplayRow>& rowsA = result.Rows(kl::DOC_A);
    const std::vector<kl::DisplayRow>& rowsB = result.Rows(kl::DOC_B);
    ASSERT_EQ(rowsA.size(), rowsB.size());
    if (c.rowsBuilt) {
        EXPECT_GE(rowsA.size(), 1u);
        EXPECT_LT(rowsA.size(), fullRows);
        EXPECT_EQ(rowsA[0].lineIndex, -1);  // the first row of this run: DocB line 0 alone
        EXPECT_EQ(rowsB[0].lineIndex, 0);
    } else {
        EXPECT_TRUE(rowsA.empty());  // nothing to show: the caller keeps its previous result
    }
    if (!recorder.progress.empty()) {
        EXPECT_LT(recorder.progress.back(), 100);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stages, CompareRunStop,
    ::testing::Values(StopCase{"beforeTheRun", -1, RunOutcome::StoppedInMatching, false},
                      StopCase{"firstPass", 10, RunOutcome::StoppedInMatching, false},
                      StopCase{"secondPass", 50, RunOutcome::StoppedInMatching, false},
                      StopCase{"counting", 82, RunOutcome::StoppedInRows, true},
                      StopCase{"rowBuilding", 88, RunOutcome::StoppedInRows, true}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return std::string(info.param.stage); });

TEST(CompareRun, MissingTextEndsTheRunQuietly)
{
    kl::TextPair texts = MakeTexts("a\n", "");
    texts[kl::DOC_B].reset();
    Recorder recorder;
    const CompareResult result = recorder.Run(texts);
    EXPECT_EQ(result.outcome, RunOutcome::NoTexts);
    EXPECT_TRUE(result.Rows(kl::DOC_A).empty());
    EXPECT_TRUE(recorder.progress.empty());
}

}  // namespace
