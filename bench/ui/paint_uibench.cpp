// One frame of the lower splitter (overview bar and both text views, 1200 x 900, offscreen)
// over a result of 1,000,000 rows, with the rows at the top, in the middle and at the end.
// The time per frame should not depend on where the rows stand or how many there are.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

#include "bench/engine/bench_inputs.h"
#include "bench/ui/bench_window.h"
#include "engine/search/text_search.h"

namespace {

constexpr int kRows = 1'000'000;

class PaintSetup {
public:
    // paired: changed lines side by side, with the marks of the rows in view computed
    // before the frames are timed.
    explicit PaintSetup(bool paired = false) : window_(FillRows, paired) {}

    // Scrolls to fraction of the whole height.
    void ScrollTo(double fraction)
    {
        QScrollBar* rows = window_.rows();
        rows->setValue(static_cast<int>(rows->maximum() * fraction));
    }
    void LoadMarks() { window_.LoadMarks(); }
    // Every match of a word that every line holds, on both sides, highlighted (or none).
    void Highlight(bool on)
    {
        if (!on) {
            window_.state().setFound(nullptr);
            return;
        }
        if (!found_) {
            const kl::SearchQuery query{" ", true, false, kl::SearchSides::Both};
            found_ = std::make_shared<const kl::SearchResult>(kl::FindInTexts(window_.doc().textDoc.result->texts, query));
        }
        window_.state().setFound(found_);
        window_.state().setCurrentMatch(kl::DOC_A, found_->matches[0][found_->matches[0].size() / 2]);
    }
    void PaintFrame() { window_.Paint(); }

private:
    // Runs of common rows with one-sided rows and filler rows between them, the way a
    // comparison of two similar texts lays them out.
    static void FillRows(kl::TextDocument& text)
    {
        std::mt19937 random(7);
        std::vector<std::string> linesA, linesB;
        auto result = std::make_shared<kl::CompareResult>();
        result->messages.left = "\x91\x8a\x88\xe1\x8d\x73 >>";
        result->messages.right = "<< \x91\x8a\x88\xe1\x8d\x73";
        std::vector<kl::DisplayRow>& rowsA = result->sides[kl::DOC_A].rows.Edit();
        std::vector<kl::DisplayRow>& rowsB = result->sides[kl::DOC_B].rows.Edit();
        const auto lineRow = [](int line, kl::RowKind kind) { return kl::DisplayRow{line, kl::kNoLine, kind, kl::RowMessage::None}; };
        const auto filler = [](kl::RowMessage message) { return kl::DisplayRow{kl::kNoLine, kl::kNoLine, kl::ROW_FILLER, message}; };
        for (int row = 0; row < kRows; ++row) {
            const int phase = row % 40;
            const std::string line = klbench::VariedLine(random);
            if (phase < 34) {
                rowsA.push_back(lineRow(static_cast<int>(linesA.size()), kl::ROW_COMMON));
                rowsB.push_back(lineRow(static_cast<int>(linesB.size()), kl::ROW_COMMON));
                linesA.push_back(line);
                linesB.push_back(line);
            } else if (phase < 37) {
                rowsA.push_back(lineRow(static_cast<int>(linesA.size()), kl::ROW_ONLY_A));
                rowsB.push_back(filler(kl::RowMessage::Right));
                linesA.push_back("\t" + line);
            } else {
                rowsA.push_back(filler(kl::RowMessage::Left));
                rowsB.push_back(lineRow(static_cast<int>(linesB.size()), kl::ROW_ONLY_B));
                linesB.push_back("\x93\xfa\x96\x7b\x8c\xea\t" + line);
            }
        }
        const auto textOf = [](const std::vector<std::string>& lines) {
            return std::make_shared<const kl::Text>(kl::TextFromLines(std::vector<std::string_view>(lines.begin(), lines.end())));
        };
        result->texts = {textOf(linesA), textOf(linesB)};
        text.result = std::move(result);
    }

    klbench::BenchWindow window_;
    std::shared_ptr<const kl::SearchResult> found_;
};

PaintSetup& Setup(bool paired)
{
    static PaintSetup plain(false);
    if (!paired)
        return plain;
    static PaintSetup pairedSetup(true);
    return pairedSetup;
}

// Arguments: where the rows stand (percent of the whole), 1 for the paired display, and 1
// for the matches of a find highlighted (several on every line).
void BM_PaintFrame(benchmark::State& state)
{
    PaintSetup& setup = Setup(state.range(1) != 0);
    setup.ScrollTo(static_cast<double>(state.range(0)) / 100.0);
    setup.Highlight(state.range(2) != 0);
    setup.LoadMarks();
    for (auto _ : state)
        setup.PaintFrame();
}
BENCHMARK(BM_PaintFrame)
    ->Args({0, 0, 0})
    ->Args({50, 0, 0})
    ->Args({100, 0, 0})
    ->Args({0, 1, 0})
    ->Args({50, 1, 0})
    ->Args({100, 1, 0})
    ->Args({0, 0, 1})
    ->Args({50, 0, 1})
    ->Args({100, 0, 1})
    ->Args({50, 1, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
