// Editing speed and memory: one keystroke in a 1,000,000-line text (about 60 MB) with the
// rows the views show rebuilt for it at once, an edit of a 100,000-line pair followed by
// its new comparison and rows, and the memory 1,000 one-character edits leave behind.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "bench/engine/bench_inputs.h"
#include "engine/compare/compare.h"
#include "engine/display/shown_rows.h"
#include "engine/document/text_loader.h"
#include "engine/edit/edit_history.h"
#include "engine/edit/result_after_edit.h"
#include "engine/platform/large_buffer.h"

namespace {

std::shared_ptr<const kl::Text> Lines(int count, std::uint32_t seed, bool edited = false)
{
    std::mt19937 random(seed);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(count) * 64);
    std::mt19937 editRandom(seed + 1);
    for (int k = 0; k < count; ++k) {
        const std::string line = klbench::VariedLine(random);
        bytes += edited ? klbench::EditedLine(editRandom, line) : line;
    }
    return std::make_shared<const kl::Text>(kl::SplitLines(bytes, false));
}

// Resident memory of this process in bytes (0 where /proc is missing).
double ResidentBytes()
{
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * 4096.0;
}

void BM_KeystrokeMillionLines(benchmark::State& state)
{
    kl::ReturnLargeBlocksOnFree();
    std::shared_ptr<const kl::Text> text = Lines(1'000'000, 11);
    kl::EditHistory history;
    std::mt19937 random(5);
    for (auto _ : state) {
        const auto at = static_cast<std::int64_t>(random() % text->size);
        text = history.Apply(*text, {{{0, at, at, "x"}}, {}, nullptr}).text;
        benchmark::DoNotOptimize(text.get());
    }
    state.counters["MB"] = static_cast<double>(text->size) / 1e6;
}
BENCHMARK(BM_KeystrokeMillionLines)->Unit(benchmark::kMillisecond)->Iterations(50);

// The same keystroke with the shown result made to follow it (renumbered rows).
void BM_KeystrokeWithRows(benchmark::State& state)
{
    kl::ReturnLargeBlocksOnFree();
    const kl::TextPair texts{Lines(1'000'000, 11), Lines(1'000'000, 11, true)};
    std::shared_ptr<const kl::CompareResult> result = std::make_shared<const kl::CompareResult>(kl::Compare(texts, {}));
    kl::EditHistory history;
    std::mt19937 random(5);
    for (auto _ : state) {
        const kl::Text& text = *result->texts[kl::DOC_A];
        const auto at = static_cast<std::int64_t>(random() % text.size);
        kl::EditOutcome outcome = history.Apply(text, {{{0, at, at, "x\r\n"}}, {}, nullptr});
        result = kl::ResultAfterEdit(*result, kl::DOC_A, *outcome.change, outcome.text);
        const kl::ShownRows shown(result->texts, result, {});
        benchmark::DoNotOptimize(shown.RowCount());
    }
}
BENCHMARK(BM_KeystrokeWithRows)->Unit(benchmark::kMillisecond)->Iterations(30);

// From an edit to the rows of the new comparison, 100,000-line pair.
void BM_EditToComparedRows(benchmark::State& state)
{
    kl::TextPair texts{Lines(100'000, 3), Lines(100'000, 3, true)};
    std::mt19937 random(9);
    for (auto _ : state) {
        const auto at = static_cast<std::int64_t>(random() % texts[kl::DOC_B]->size);
        texts[kl::DOC_B] = kl::ApplyEdit(*texts[kl::DOC_B], {1, at, at, "y"});
        const auto result = std::make_shared<const kl::CompareResult>(kl::Compare(texts, {}));
        const kl::ShownRows shown(texts, result, {});
        benchmark::DoNotOptimize(shown.BlockCount());
    }
}
BENCHMARK(BM_EditToComparedRows)->Unit(benchmark::kMillisecond)->Iterations(20);

// Resident memory before and after one-character edits of a 60 MB text (1,700,000 lines),
// each made through the undo history as the window makes it: 1,000 of them, and a single
// one for the peak memory that /usr/bin/time -v compares with (an edit holds the old and the
// new version for a moment).
void EditsMemory(benchmark::State& state, int edits)
{
    kl::ReturnLargeBlocksOnFree();
    for (auto _ : state) {
        std::shared_ptr<const kl::Text> text = Lines(1'700'000, 11);
        const double before = ResidentBytes();
        kl::EditHistory history;
        std::mt19937 random(5);
        for (int k = 0; k < edits; ++k) {
            const auto at = static_cast<std::int64_t>(random() % text->size);
            const bool remove = k % 2 == 1;
            text = history.Apply(*text, {{{0, at, remove ? at + 1 : at, remove ? "" : "z"}}, {}, nullptr}).text;
        }
        const double after = ResidentBytes();
        state.counters["before_MB"] = before / 1e6;
        state.counters["after_MB"] = after / 1e6;
        state.counters["ratio"] = before > 0 ? after / before : 0;
        state.counters["history_KB"] = static_cast<double>(history.HeldBytes()) / 1e3;
        state.counters["text_MB"] = static_cast<double>(text->size) / 1e6;
    }
}
void BM_OneEditMemory(benchmark::State& state) { EditsMemory(state, 1); }
void BM_ThousandEditsMemory(benchmark::State& state) { EditsMemory(state, 1000); }
BENCHMARK(BM_OneEditMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ThousandEditsMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
