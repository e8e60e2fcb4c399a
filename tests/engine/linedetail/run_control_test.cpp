// Progress stages, the progress text and cancellation of a running comparison.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "engine/linedetail/line_compare.h"
#include "engine/platform/cp932.h"

namespace {

TEST(LineCompareRunTest, ReportsTheSixStagesInOrder)
{
    std::vector<int> stages;
    const kl::LinePairResult r = kl::CompareLinePair("abcXdef\r\n", "abcYdef\r\n", [&](int stage) { stages.push_back(stage); });
    EXPECT_EQ(stages, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(r.aborted);
}

TEST(LineCompareRunTest, ProgressTextNamesTheStage)
{
    EXPECT_EQ(kl::Cp932ToUtf8(kl::LineCompareProgressText(0)), "比較処理中.. 0/6");
    EXPECT_EQ(kl::Cp932ToUtf8(kl::LineCompareProgressText(5)), "比較処理中.. 5/6");
}

// A stop is requested when the given stage is reported: the run ends without runs and
// without reaching stage 5.
class StopAtStageTest : public ::testing::TestWithParam<int> {};

TEST_P(StopAtStageTest, LeavesBothRowsEmpty)
{
    const int stopAt = GetParam();
    std::vector<int> stages;
    std::stop_source stop;
    const auto onStage = [&](int stage) {
        stages.push_back(stage);
        if (stage == stopAt)
            stop.request_stop();
    };
    const kl::LinePairResult r =
        kl::CompareLinePair("abcdefgh abcdefgh\r\n", "abcdefgh-abcdefgh\r\n", onStage, stop.get_token());
    EXPECT_TRUE(r.aborted);
    EXPECT_TRUE(r.segments1.empty());
    EXPECT_TRUE(r.segments2.empty());
    EXPECT_EQ(stages, (std::vector<int>{0, 1, 2, 3, 4}));
}

INSTANTIATE_TEST_SUITE_P(Stages, StopAtStageTest, ::testing::Values(0, 1, 2, 3, 4));

TEST(LineCompareRunTest, StopRequestedBeforeTheStartRunsNothing)
{
    std::stop_source stop;
    stop.request_stop();
    const kl::LinePairResult r = kl::CompareLinePair("abcdef\r\n", "abcdef\r\n", {}, stop.get_token());
    EXPECT_TRUE(r.aborted);
    EXPECT_TRUE(r.segments1.empty());
    EXPECT_TRUE(r.candidates1.empty());
}

// Two long similar lines compared on a worker thread; the stop comes from this thread
// while the worker is busy after stage 2.
TEST(LineCompareRunTest, StopFromAnotherThreadStopsAWorker)
{
    std::string line1;
    for (int i = 0; line1.size() < 40000; ++i)
        line1 += "word" + std::to_string(i % 97) + (i % 5 == 0 ? "\x82\xa0" : " ");
    std::string line2 = line1;
    for (std::size_t at = 100; at < line2.size(); at += 500)
        line2[at] = '#';
    line1 += "\r\n";
    line2 += "\r\n";

    std::promise<void> pastStage2;
    std::promise<void> stopSent;  // the worker waits for it, so it cannot finish first
    std::atomic<int> lastStage{-1};
    kl::LinePairResult result;
    std::stop_source stop;
    std::thread worker([&] {
        const auto onStage = [&](int stage) {
            lastStage = stage;
            if (stage == 2) {
                pastStage2.set_value();
                stopSent.get_future().wait();
            }
        };
        result = kl::CompareLinePair(line1, line2, onStage, stop.get_token());
    });
    pastStage2.get_future().wait();
    stop.request_stop();
    stopSent.set_value();
    worker.join();
    EXPECT_TRUE(result.aborted);
    EXPECT_TRUE(result.segments1.empty());
    EXPECT_TRUE(result.segments2.empty());
    EXPECT_EQ(lastStage.load(), 4);
}

}  // namespace
