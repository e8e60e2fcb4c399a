// The merge walk over a result of 1,000,000 lines per text: DocB has 1% of DocA's lines
// replaced, inserted or deleted at random places. The comparison runs once; only the walk
// is timed, with the default rules, with every rule off but the common lines, and with a
// question per block that adds every block.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "compare/compare_run.h"
#include "document/text_loader.h"
#include "merge/merge_walk.h"

namespace {

constexpr int kLines = 1000000;

std::string VariedLine(std::mt19937& random)
{
    static const char* const words[] = {"int", "return", "value", "count", "if", "else", "{", "}", "for",
                                        "(i = 0;", "index", "+=", "line", "text", "std::string", "auto"};
    std::string line(random() % 3 * 4, ' ');
    const int wordCount = 1 + static_cast<int>(random() % 8);
    for (int w = 0; w < wordCount; ++w) {
        line += words[random() % std::size(words)];
        line += ' ';
    }
    line += std::to_string(random() % 100000);
    line += ";\r\n";
    return line;
}

const kl::TextDocument& ComparedPair()
{
    static const kl::TextDocument doc = [] {
        std::mt19937 random(1);
        std::string a;
        std::string b;
        for (int i = 0; i < kLines; ++i) {
            const std::string line = VariedLine(random);
            a += line;
            switch (random() % 300) {
            case 0: b += VariedLine(random); break;         // replaced
            case 1: b += line + VariedLine(random); break;  // inserted after
            case 2: break;                                  // deleted
            default: b += line;
            }
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
