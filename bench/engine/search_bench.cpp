// The search of the loaded texts, as the window's find bar runs it: a word absent from a
// 1,000,000-line UTF-8 text (with and without case distinction) and regular expressions.
// Loading is not timed: the window searches texts it holds already. bench/find.sh times the
// console's find, loading included, against grep on files of the same shape.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "engine/document/text_loader.h"
#include "engine/search/text_search.h"

namespace {

const kl::Text& LoadedText()
{
    static const kl::Text text = [] {
        const char* words[] = {"設定", "比較", "ファイル", "表示", "行", "文字", "config",
                               "value", "Error", "の", "を", "は", "2026年"};
        std::mt19937 random(7);
        std::string bytes;
        for (int line = 0; line < 1'000'000; ++line) {
            const int count = 3 + static_cast<int>(random() % 10);
            for (int i = 0; i < count; ++i) {
                bytes += words[random() % std::size(words)];
                bytes += i + 1 < count ? ' ' : '\n';
            }
        }
        return kl::SplitLines(bytes, false);
    }();
    return text;
}

void Search(benchmark::State& state, kl::SearchQuery query)
{
    const kl::Text& text = LoadedText();
    std::size_t found = 0;
    for (auto _ : state)
        found = kl::FindInText(text, query).size();
    state.counters["matches"] = static_cast<double>(found);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size));
}

BENCHMARK_CAPTURE(Search, AbsentWord, kl::SearchQuery{"検索語", true, false})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, AbsentWordNoCase, kl::SearchQuery{"Missing", false, false})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, RareExpression, kl::SearchQuery{"設定[0-9]+年", true, true})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, CommonWord, kl::SearchQuery{"config", true, false})->Unit(benchmark::kMillisecond);

}  // namespace
