#include "engine/compare/compare_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/document/text_loader.h"

namespace {

using kl::TextDocument;

const std::string kTotalsPrefix = "\x91\x8d\x8d" "s\x90\x94 = ";  // 総行数 =

TextDocument MakeDoc(std::string_view a, std::string_view b)
{
    TextDocument doc;
    doc.lineTables[kl::DOC_A] = std::make_unique<kl::LineTable>(kl::SplitLines(a, false));
    doc.lineTables[kl::DOC_B] = std::make_unique<kl::LineTable>(kl::SplitLines(b, false));
    doc.fileInfos = {" [2024/01/02 03:04] 10 byte", " [2023/12/31 23:59] 0 byte"};
    return doc;
}

std::string Lines(int count, const std::string& prefix)
{
    std::string text;
    for (int k = 0; k < count; ++k)
        text += prefix + std::to_string(k) + "\n";
    return text;
}

// Records what a run reports.
struct Recorder {
    std::vector<int> progress;
    std::vector<std::string> totals;
    int completions = 0;
    int runningAtCompletion = -1;
    int abortAt = -1;  // the first progress value at or above this requests an abort

    kl::CompareRunCallbacks Callbacks()
    {
        kl::CompareRunCallbacks callbacks;
        callbacks.progress = [this](int value) {
            progress.push_back(value);
            if (abortAt >= 0 && value >= abortAt)
                kl::g_abortRequested = 1;
        };
        callbacks.totals = [this](int k, const std::string& text) {
            EXPECT_EQ(k, static_cast<int>(totals.size()));
            totals.push_back(text);
        };
        callbacks.completed = [this] {
            ++completions;
            runningAtCompletion = kl::g_compareRunning;
        };
        return callbacks;
    }
};

int StartRun(TextDocument& doc, Recorder& recorder, kl::CompareRunSettings settings = {})
{
    kl::g_abortRequested = 0;
    kl::g_compareRunning = 1;
    return kl::RunCompare(doc, settings, recorder.Callbacks());
}

TEST(CompareRun, TwoEmptyTextsCompleteWithZeroTotals)
{
    TextDocument doc = MakeDoc("", "");
    Recorder recorder;
    EXPECT_EQ(StartRun(doc, recorder), kl::kRunCompleted);
    EXPECT_TRUE(doc.rowsA.empty());
    EXPECT_TRUE(doc.rowsB.empty());
    EXPECT_EQ(recorder.completions, 1);
    EXPECT_EQ(kl::g_compareRunning, 0);
    ASSERT_EQ(recorder.totals.size(), 2u);
    EXPECT_EQ(recorder.totals[0], kTotalsPrefix + "0 (LF:0 CRLF:0)  [2024/01/02 03:04] 10 byte");
    EXPECT_EQ(recorder.totals[1], kTotalsPrefix + "0 (LF:0 CRLF:0)  [2023/12/31 23:59] 0 byte");
    ASSERT_FALSE(recorder.progress.empty());
    EXPECT_EQ(recorder.progress.back(), 100);
}

TEST(CompareRun, TotalsCountLineEndKinds)
{
    TextDocument doc = MakeDoc("a\nb\r\nc\rd", "x\r\ny\r\n\r\n");
    doc.fileInfos.clear();  // a missing information text leaves its place empty
    Recorder recorder;
    ASSERT_EQ(StartRun(doc, recorder), kl::kRunCompleted);
    ASSERT_EQ(recorder.totals.size(), 2u);
    EXPECT_EQ(recorder.totals[0], kTotalsPrefix + "4 (LF:2 CRLF:1) ");
    EXPECT_EQ(recorder.totals[1], kTotalsPrefix + "3 (LF:0 CRLF:3) ");
}

TEST(CompareRun, ProgressNeverDecreasesAndEndsAt100)
{
    for (const auto& [a, b] : std::vector<std::pair<std::string, std::string>>{
             {Lines(50, "a"), Lines(30, "a") + Lines(40, "b")},
             {Lines(20, "x"), ""},
             {"", Lines(20, "x")}}) {
        TextDocument doc = MakeDoc(a, b);
        Recorder recorder;
        ASSERT_EQ(StartRun(doc, recorder), kl::kRunCompleted);
        ASSERT_FALSE(recorder.progress.empty());
        EXPECT_TRUE(std::is_sorted(recorder.progress.begin(), recorder.progress.end()));
        EXPECT_GE(recorder.progress.front(), 0);
        EXPECT_EQ(recorder.progress.back(), 100);
        EXPECT_EQ(recorder.completions, 1);
        EXPECT_EQ(recorder.runningAtCompletion, 1);  // the running flag drops after completion
        EXPECT_EQ(kl::g_compareRunning, 0);
        EXPECT_FALSE(doc.blocksA.empty() && doc.blocksB.empty());
    }
}

TEST(CompareRun, OptionsAndModeAreTheCapturedOnes)
{
    TextDocument doc = MakeDoc("a\r\nb\r\n", "a\nb\n");
    Recorder plain;
    StartRun(doc, plain);
    EXPECT_EQ(doc.rowsA[0].kind, kl::ROW_ONLY_A);

    kl::CompareRunSettings settings;
    settings.options.ignoreNewline = true;
    settings.mode = kl::COMPARE_DETAILED;
    Recorder ignoring;
    StartRun(doc, ignoring, settings);
    ASSERT_EQ(doc.rowsA.size(), 2u);
    EXPECT_EQ(doc.rowsA[0].kind, kl::ROW_COMMON);
    EXPECT_EQ(doc.rowsB[1].kind, kl::ROW_COMMON);
}

// An abort requested in each stage of a run. The previous run's rows stand in the
// document when the new run starts.
struct AbortCase {
    const char* stage;
    int abortAt;          // progress value that requests the abort; -1: before the run
    bool completes;       // the completion callback still runs
    bool rowsRebuilt;     // the rows are those of the aborted run
};

class CompareRunAbort : public ::testing::TestWithParam<AbortCase> {};

TEST_P(CompareRunAbort, EndsTheRunAtThatStage)
{
    const AbortCase& c = GetParam();
    TextDocument doc = MakeDoc(Lines(100, "a"), Lines(50, "b") + Lines(100, "a"));
    Recorder first;
    ASSERT_EQ(StartRun(doc, first), kl::kRunCompleted);
    const std::size_t fullRows = doc.rowsA.size();
    // Rows standing for those of an earlier run.
    doc.rowsA = {kl::DisplayRow{0, 7, "earlier", kl::ROW_COMMON}};
    doc.rowsB = {kl::DisplayRow{0, 7, "earlier", kl::ROW_COMMON}};

    Recorder recorder;
    recorder.abortAt = c.abortAt;
    kl::g_abortRequested = 0;
    kl::g_compareRunning = 1;
    if (c.abortAt < 0)
        kl::g_abortRequested = 1;
    EXPECT_EQ(kl::RunCompare(doc, {}, recorder.Callbacks()), kl::kRunEnded);

    EXPECT_EQ(kl::g_abortRequested, 0);
    EXPECT_EQ(kl::g_compareRunning, 0);
    EXPECT_TRUE(doc.blocksA.empty());
    EXPECT_TRUE(doc.blocksB.empty());
    EXPECT_EQ(recorder.completions, c.completes ? 1 : 0);
    EXPECT_EQ(recorder.totals.size(), c.completes ? 2u : 0u);
    ASSERT_EQ(doc.rowsA.size(), doc.rowsB.size());
    if (c.rowsRebuilt) {
        EXPECT_GE(doc.rowsA.size(), 1u);
        EXPECT_LT(doc.rowsA.size(), fullRows);
        EXPECT_EQ(doc.rowsA[0].lineIndex, -1);  // the first row of this run: DocB line 0 alone
        EXPECT_EQ(doc.rowsB[0].lineIndex, 0);
    } else {
        ASSERT_EQ(doc.rowsA.size(), 1u);
        EXPECT_EQ(doc.rowsA[0].text, "earlier");
    }
    if (!recorder.progress.empty()) {
        EXPECT_LT(recorder.progress.back(), 100);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stages, CompareRunAbort,
    ::testing::Values(AbortCase{"reset", -1, false, false}, AbortCase{"firstPass", 10, false, false},
                      AbortCase{"secondPass", 50, false, false}, AbortCase{"counting", 82, true, true},
                      AbortCase{"rowBuilding", 88, true, true}),
    [](const ::testing::TestParamInfo<AbortCase>& info) { return std::string(info.param.stage); });

TEST(CompareRun, MissingTextEndsTheRunQuietly)
{
    TextDocument doc;
    doc.lineTables[kl::DOC_A] = std::make_unique<kl::LineTable>(kl::SplitLines("a\n", false));
    Recorder recorder;
    EXPECT_EQ(StartRun(doc, recorder), kl::kRunEnded);
    EXPECT_EQ(kl::g_compareRunning, 0);
    EXPECT_EQ(recorder.completions, 0);
    EXPECT_TRUE(recorder.progress.empty());
}

}  // namespace
