// Wrapped rows on a 1,000,000-line pair (one line in eight about 250 bytes of Japanese and
// code, the rest short), offscreen at 1200 x 900 with 折り返して表示 on.
//
//   wrap_uibench                 a frame of the compared pair at the top, in the middle and
//                                at the end, and laying both views out anew at another width
//                                (every row measured) and after a change of the rows with
//                                the same width (only the rows that changed measured)
//   wrap_uibench write DIR       writes the pair to DIR/a.txt and DIR/b.txt
//   wrap_uibench layout A B      loads two files, shows them as loaded and wrapped, and prints
//                                how long loading and the layout took (for hyperfine and
//                                /usr/bin/time -v against fold -w)
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/engine/bench_inputs.h"
#include "bench/ui/bench_window.h"
#include "engine/compare/compare.h"
#include "engine/document/document_ops.h"

namespace {

constexpr int kLines = 1'000'000;

// 日本語の文章です。 in code page 932.
const std::string kJapanese = "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x95\xb6\x8f\xcd\x82\xc5\x82\xb7\x81\x42";

std::vector<std::string> LinesA()
{
    std::mt19937 random(22);
    std::vector<std::string> lines;
    lines.reserve(kLines);
    for (int k = 0; k < kLines; ++k) {
        std::string line = klbench::VariedLine(random);
        if (k % 8 == 0) {
            line.resize(line.size() - 2);
            while (line.size() < 250)
                line += kJapanese + klbench::VariedLine(random).substr(0, 20);
            line += "\r\n";
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> LinesB(const std::vector<std::string>& a)
{
    std::mt19937 random(23);
    std::vector<std::string> lines;
    lines.reserve(a.size());
    for (const std::string& line : a) {
        std::string edited = klbench::EditedLine(random, line);
        if (!edited.empty())
            lines.push_back(std::move(edited));
    }
    return lines;
}

std::shared_ptr<const kl::Text> TextOf(const std::vector<std::string>& lines)
{
    return std::make_shared<const kl::Text>(kl::TextFromLines(std::vector<std::string_view>(lines.begin(), lines.end())));
}

klbench::BenchWindow& Window()
{
    static klbench::BenchWindow window(
        [](kl::TextDocument& doc) {
            const std::vector<std::string> a = LinesA();
            doc.texts = {TextOf(a), TextOf(LinesB(a))};
            doc.result = std::make_shared<const kl::CompareResult>(kl::Compare(doc.texts, {}));
        },
        false, true);
    return window;
}

void BM_WrappedFrame(benchmark::State& state)
{
    klbench::BenchWindow& window = Window();
    QScrollBar* rows = window.rows();
    rows->setValue(static_cast<int>(rows->maximum() * (static_cast<double>(state.range(0)) / 100.0)));
    for (auto _ : state)
        window.Paint();
}
BENCHMARK(BM_WrappedFrame)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

// Argument 1: at another width each time; 0: the same width.
void BM_WrappedLayout(benchmark::State& state)
{
    klbench::BenchWindow& window = Window();
    int width = 1200;
    for (auto _ : state) {
        state.PauseTiming();
        width = state.range(0) != 0 ? (width == 1200 ? 1100 : 1200) : 0;
        state.ResumeTiming();
        window.LayOut(width);
    }
}
BENCHMARK(BM_WrappedLayout)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(4);

int Write(const std::string& dir)
{
    const std::vector<std::string> a = LinesA();
    for (const auto& [name, lines] : {std::pair{"/a.txt", a}, std::pair{"/b.txt", LinesB(a)}}) {
        std::ofstream out(dir + name, std::ios::binary);
        for (const std::string& line : lines)
            out << line;
    }
    return 0;
}

int LayOutFiles(const std::string& a, const std::string& b)
{
    QElapsedTimer timer;
    timer.start();
    double loaded = 0;
    klbench::BenchWindow window(
        [&](kl::TextDocument& doc) {
            std::string error;
            if (!kl::LoadIntoDocument(doc, a, false, error) || !kl::LoadIntoDocument(doc, b, false, error))
                std::fprintf(stderr, "%s\n", error.c_str());
            loaded = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        },
        false, true, kl::DISPLAY_SOURCE);
    const double shown = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const double again = window.LayOut();
    const double otherWidth = window.LayOut(1100);
    std::printf("loaded %.0f ms  shown and wrapped %.0f ms  laid out again: same width %.0f ms, another width %.0f ms  "
                "frame %.2f ms\n",
                loaded, shown, again, otherWidth, window.Paint());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "write" && argc > 2)
        return Write(argv[2]);
    if (mode == "layout" && argc > 3)
        return LayOutFiles(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
