// The merge walk over a result of 1,000,000 lines per text: DocB has 1% of DocA's lines
// replaced, inserted or deleted at random places. The comparison runs once; only the walk
// is timed, with the default rules, with every rule off but the common lines, and with a
// question per block that adds every block.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "bench/engine/bench_inputs.h"
#include "engine/compare/compare.h"
#include "engine/document/text_loader.h"
#include "engine/merge/merge_walk.h"

namespace {

constexpr int kLines = 1000000;

const kl::CompareResult& ComparedPair()
{
    static const kl::CompareResult result = [] {
        std::mt19937 random(1);
        std::string a;
        std::string b;
        for (int i = 0; i < kLines; ++i) {
            const std::string line = klbench::VariedLine(random);
            a += line;
            b += klbench::EditedLine(random, line);
        }
        const kl::TextPair texts{std::make_shared<const kl::Text>(kl::SplitLines(a, false)),
                                 std::make_shared<const kl::Text>(kl::SplitLines(b, false))};
        return kl::Compare(texts, kl::CompareRequest{});
    }();
    return result;
}

void Walk(benchmark::State& state, const kl::MergeRules& rules, const kl::AskBlockFunction& ask)
{
    const kl::CompareResult& result = ComparedPair();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const kl::MergeOutcome outcome = kl::RunMerge(result, rules, ask);
        bytes = outcome.text.size();
        benchmark::DoNotOptimize(outcome.text.data());
    }
    state.counters["blocksA"] = static_cast<double>(result.Blocks(kl::DOC_A).size());
    state.counters["blocksB"] = static_cast<double>(result.Blocks(kl::DOC_B).size());
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
