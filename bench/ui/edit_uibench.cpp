// One keystroke in the window: a character typed into DocA of a compared pair of
// 1,000,000-line texts (about 35 MB each), with the rows following the edit at once and one
// frame of the lower splitter painted. The comparison that follows the edit runs later on a
// worker and is not part of it.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

#include "bench/engine/bench_inputs.h"
#include "bench/ui/bench_window.h"
#include "engine/compare/compare.h"
#include "engine/document/text_loader.h"
#include "engine/platform/large_buffer.h"

namespace {

std::shared_ptr<const kl::Text> Lines(int count, std::uint32_t seed, bool edited)
{
    std::mt19937 random(seed);
    std::mt19937 editRandom(seed + 1);
    std::string bytes;
    for (int k = 0; k < count; ++k) {
        const std::string line = klbench::VariedLine(random);
        bytes += edited ? klbench::EditedLine(editRandom, line) : line;
    }
    return std::make_shared<const kl::Text>(kl::SplitLines(bytes, false));
}

void Fill(kl::TextDocument& doc)
{
    doc.texts = {Lines(1'000'000, 11, false), Lines(1'000'000, 11, true)};
    doc.result = std::make_shared<const kl::CompareResult>(kl::Compare(doc.texts, {}));
}

void KeystrokeInWindow(benchmark::State& state, bool wrap, const char* typed = "x")
{
    kl::ReturnLargeBlocksOnFree();
    klbench::BenchWindow window(Fill, false, wrap);
    window.rows()->setValue(window.rows()->maximum() / 2);
    std::mt19937 random(3);
    for (auto _ : state) {
        const kl::Text& text = *window.doc().textDoc.texts[kl::DOC_A];
        const auto at = static_cast<std::int64_t>(random() % text.size);
        window.doc().EditText(kl::DOC_A, {{{kl::DOC_A, at, at, typed}}, {}, nullptr}, true);
        window.Paint();
    }
}
void BM_KeystrokeInWindow(benchmark::State& state) { KeystrokeInWindow(state, false); }
// The same with long lines wrapped at the pane's width.
void BM_KeystrokeInWindowWrapped(benchmark::State& state) { KeystrokeInWindow(state, true); }
// Enter: a new line, so the rows below it move down.
void BM_EnterInWindow(benchmark::State& state) { KeystrokeInWindow(state, false, "\r\n"); }
void BM_EnterInWindowWrapped(benchmark::State& state) { KeystrokeInWindow(state, true, "\r\n"); }
BENCHMARK(BM_KeystrokeInWindow)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_KeystrokeInWindowWrapped)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_EnterInWindow)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_EnterInWindowWrapped)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
