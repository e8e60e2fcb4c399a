// Cost of the character-level comparison of one line pair: two similar lines of mixed
// Japanese and ASCII text with scattered edits, at 200, 2,000 and 20,000 bytes (the full
// comparison up to 10,000 characters, the bounded one above) and at 200,000 and 10,000,000
// bytes (bounded); and how soon a long comparison answers a stop.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <thread>
#include <string>
#include <vector>

#include "engine/linedetail/line_compare.h"
#include "engine/platform/cp932.h"

namespace {

const std::vector<std::string> kWords = {
    "設定", "ファイル", "の", "を", "比較", "します", "行", "が", "表示", "されます", "。", "、",
    "text", "line", "compare", " ", "=", "(", ")", "42", "差分", "結果", "して", "value",
};

// Words drawn at random until the line has the given number of bytes (code page 932).
std::string MakeLine(std::mt19937& random, std::size_t bytes)
{
    std::string line;
    while (line.size() < bytes)
        line += kl::Utf8ToCp932(kWords[random() % kWords.size()]);
    return line;
}

// The line with a word replaced, inserted or removed about every 80 bytes, cut at
// character boundaries.
std::string EditLine(std::mt19937& random, const std::string& line)
{
    std::string edited;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t stretch = kl::Cp932PrefixLength(line.substr(pos), 40 + random() % 80);
        edited.append(line, pos, stretch);
        pos += stretch == 0 ? 1 : stretch;
        const std::string word = kl::Utf8ToCp932(kWords[random() % kWords.size()]);
        switch (random() % 3) {
        case 0: edited += word; break;                                             // insert
        case 1: edited += word; pos += kl::NextChar(line, pos) - pos; break;     // replace a character
        default: pos = kl::NextChar(line, pos); break;                           // delete a character
        }
    }
    return edited;
}

void CompareSimilarLines(benchmark::State& state)
{
    std::mt19937 random(2024);
    const std::string line1 = MakeLine(random, static_cast<std::size_t>(state.range(0))) + "\r\n";
    const std::string line2 = EditLine(random, line1.substr(0, line1.size() - 2)) + "\r\n";
    std::size_t runs = 0;
    for (auto _ : state) {
        const kl::LinePairResult result = kl::CompareLinePair(line1, line2);
        runs = result.segments1.size() + result.segments2.size();
        benchmark::DoNotOptimize(runs);
    }
    state.counters["runs"] = static_cast<double>(runs);
    state.counters["candidates1"] = static_cast<double>(kl::CountCandidates(line1));
}

BENCHMARK(CompareSimilarLines)->Arg(200)->Arg(2000)->Arg(20000)->Arg(200000)->Arg(10000000)->Unit(benchmark::kMillisecond);

// How soon a stop answers: a 20,000-byte comparison on its own thread is asked to stop
// the given number of milliseconds after it started; the time measured runs from the
// request to the thread's end (what キャンセル waits for).
void StopLatency(benchmark::State& state)
{
    std::mt19937 random(2024);
    const std::string line1 = MakeLine(random, 20000) + "\r\n";
    const std::string line2 = EditLine(random, line1.substr(0, line1.size() - 2)) + "\r\n";
    const auto delay = std::chrono::milliseconds(state.range(0));
    for (auto _ : state) {
        std::jthread run([&](std::stop_token stop) { benchmark::DoNotOptimize(kl::CompareLinePair(line1, line2, {}, stop)); });
        std::this_thread::sleep_for(delay);
        const auto asked = std::chrono::steady_clock::now();
        run.request_stop();
        run.join();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count());
    }
}

BENCHMARK(StopLatency)->Arg(5)->Arg(40)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
