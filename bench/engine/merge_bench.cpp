// The merge walk over a result of 1,000,000 lines per text: DocB has 1% of DocA's lines
// replaced, inserted or deleted at random places. The comparison runs once; only the walk
// is timed, with the default rules, with every rule off but the common lines, and with a
// question per block that adds every block.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "bench/engine/bench_inputs.h"
#include "engine/compare/compare_run.h"
#include "engine/document/text_loader.h"
#include "engine/merge/merge_walk.h"

namespace {

constexpr int kLines = 1000000;

const kl::TextDocument& ComparedPair()
{
    static const kl::TextDocument doc = [] {
        std::mt19937 random(1);
        std::string a;
        std::string b;
        for (int i = 0; i < kLines; ++i) {
            const std::string line = klbench::VariedLine(random);
            a += line;
            b += klbench::EditedLine(random, line);
        }
        kl::TextDocument compared;
        compared.lineTables[kl::DOC_A] = std::make_unique<kl::LineTable>(kl::SplitLinesOwned(std::move(a), false));
        compared.lineTables[kl::DOC_B] = std::make_unique<kl::LineTable>(kl::SplitLinesOwned(std::move(b), false));
        kl::g_abortRequested = 0;
        kl::g_compareRunning = 1;
        kl::RunCompare(compared, kl::CompareRunSettings{}, kl::CompareRunCallbacks{});
        return compared;
    }();
    return doc;
}

void Walk(benchmark::State& state, const kl::MergeRules& rules, const kl::AskBlockFunction& ask)
{
    const kl::TextDocument& doc = ComparedPair();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const kl::MergeOutcome outcome = kl::RunMerge(doc, rules, ask);
        bytes = outcome.text.size();
        benchmark::DoNotOptimize(outcome.text.data());
    }
    state.counters["blocksA"] = static_cast<double>(doc.blocksA.size());
    state.counters["blocksB"] = static_cast<double>(doc.blocksB.size());
    state.counters["mergedMB"] = static_cast<double>(bytes) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_MergeDefaultRules(benchmark::State& state)
{
    Walk(state, {}, {});
}
BENCHMARK(BM_MergeDefaultRules)->Unit(benchmark::kMillisecond);

void BM_MergeCommonOnly(benchmark::State& state)
{
    kl::MergeRules rules;
    rules.includeOnlyA = false;
    rules.includeOnlyB = false;
    Walk(state, rules, {});
}
BENCHMARK(BM_MergeCommonOnly)->Unit(benchmark::kMillisecond);

void BM_MergeAskingEveryBlock(benchmark::State& state)
{
    Walk(state, {}, [](const kl::BlockQuestion&, std::string&) { return static_cast<int>(kl::ANSWER_ADD); });
}
BENCHMARK(BM_MergeAskingEveryBlock)->Unit(benchmark::kMillisecond);

}  // namespace
