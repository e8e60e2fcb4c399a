// Line matching on large text pairs: fresh match fields plus both passes, as a comparison
// run does it.
//
// Pairs (argument = lines per text):
//   ScatteredEdits  varied text; DocB has 1% of the lines replaced, inserted or deleted at
//                   random places (the everyday case)
//   TenValues       every line one of ten values: many equal candidates, short runs; the
//                   slowest case (about ten seconds per run in either mode)
//   Disjoint        no line of DocA occurs in DocB
// Each in normal and detailed mode, with line keys (the default). The Plain variants
// switch the keys off and use smaller texts, since then every candidate costs a LinesEqual
// call.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "bench/engine/bench_inputs.h"
#include "engine/compare/line_matching.h"
#include "engine/document/text_loader.h"

namespace {

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line;
    return text;
}

struct TextPair {
    kl::Text a;
    kl::Text b;
};

TextPair ScatteredEdits(int count)
{
    std::mt19937 random(1);
    std::vector<std::string> a;
    for (int i = 0; i < count; ++i) a.push_back(klbench::VariedLine(random));
    std::string b;
    for (const std::string& line : a) b += klbench::EditedLine(random, line);
    return {kl::SplitLines(Join(a), false), kl::SplitLines(b, false)};
}

TextPair TenValues(int count)
{
    std::mt19937 random(2);
    std::vector<std::string> a;
    std::vector<std::string> b;
    for (int i = 0; i < count; ++i) {
        a.push_back("value " + std::to_string(random() % 10) + "\n");
        b.push_back("value " + std::to_string(random() % 10) + "\n");
    }
    return {kl::SplitLines(Join(a), false), kl::SplitLines(Join(b), false)};
}

TextPair Disjoint(int count)
{
    std::vector<std::string> a;
    std::vector<std::string> b;
    for (int i = 0; i < count; ++i) {
        a.push_back("first text line " + std::to_string(i) + "\n");
        b.push_back("second text line " + std::to_string(i) + "\n");
    }
    return {kl::SplitLines(Join(a), false), kl::SplitLines(Join(b), false)};
}

template <TextPair (*Make)(int)>
void Match(benchmark::State& state, kl::CompareMode mode, bool useLineKeys)
{
    const TextPair pair = Make(static_cast<int>(state.range(0)));
    kl::MatchContext context;
    context.mode = mode;
    context.useLineKeys = useLineKeys;
    for (auto _ : state) {
        kl::MatchSide a(pair.a);
        kl::MatchSide b(pair.b);
        const int value = kl::MatchPass(0, 40, a, b, context);
        benchmark::DoNotOptimize(kl::MatchPass(value, 40, b, a, context));
    }
    state.SetItemsProcessed(state.iterations() * (pair.a.count() + pair.b.count()));
}

void ScatteredEditsNormal(benchmark::State& s) { Match<ScatteredEdits>(s, kl::COMPARE_NORMAL, true); }
void ScatteredEditsDetailed(benchmark::State& s) { Match<ScatteredEdits>(s, kl::COMPARE_DETAILED, true); }
void TenValuesNormal(benchmark::State& s) { Match<TenValues>(s, kl::COMPARE_NORMAL, true); }
void TenValuesDetailed(benchmark::State& s) { Match<TenValues>(s, kl::COMPARE_DETAILED, true); }
void DisjointNormal(benchmark::State& s) { Match<Disjoint>(s, kl::COMPARE_NORMAL, true); }
void DisjointDetailed(benchmark::State& s) { Match<Disjoint>(s, kl::COMPARE_DETAILED, true); }
void ScatteredEditsNormalPlain(benchmark::State& s) { Match<ScatteredEdits>(s, kl::COMPARE_NORMAL, false); }
void DisjointNormalPlain(benchmark::State& s) { Match<Disjoint>(s, kl::COMPARE_NORMAL, false); }

BENCHMARK(ScatteredEditsNormal)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ScatteredEditsDetailed)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(TenValuesNormal)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(TenValuesDetailed)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DisjointNormal)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DisjointDetailed)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ScatteredEditsNormalPlain)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(DisjointNormalPlain)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
