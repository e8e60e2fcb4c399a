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

#include "ui/app/kestrilane_app.h"
#include "bench/engine/bench_inputs.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/settings/user_profile.h"

namespace {

constexpr int kRows = 1'000'000;

class PaintSetup {
public:
    PaintSetup()
    {
        auto profile = std::make_unique<kl::UserProfile>(dir_.filePath(QStringLiteral("profile.ini")));
        app_ = std::make_unique<CKestrilaneApp>(dir_.filePath(QStringLiteral("kestrilane.ini")).toStdString(),
                                                std::move(profile));
        CKestrilaneDoc& doc = *app_->document();
        FillRows(doc.textDoc);
        splitter_ = std::make_unique<CSplitterSnd>(doc, "");
        splitter_->resize(1200, 900);
        splitter_->show();
        for (CTextView* view : {static_cast<CTextView*>(splitter_->leftView()),
                                static_cast<CTextView*>(splitter_->rightView())}) {
            view->setDisplayMode(DISPLAY_RESULT);
            view->OnUpdate();
        }
        QApplication::processEvents();
        frame_ = QImage(splitter_->size(), QImage::Format_RGB32);
    }

    // Scrolls to fraction of the whole height and paints one frame.
    void ScrollTo(double fraction)
    {
        QScrollBar* rows = splitter_->rowScrollBar();
        rows->setValue(static_cast<int>(rows->maximum() * fraction));
    }
    void PaintFrame()
    {
        QPainter painter(&frame_);
        splitter_->render(&painter);
    }

private:
    // Runs of common rows with one-sided rows and filler rows between them, the way a
    // comparison of two similar texts lays them out.
    static void FillRows(kl::TextDocument& text)
    {
        std::mt19937 random(7);
        text.rowsA.reserve(kRows);
        text.rowsB.reserve(kRows);
        int lineA = 0, lineB = 0;
        for (int row = 0; row < kRows; ++row) {
            const int phase = row % 40;
            const std::string line = klbench::VariedLine(random);
            if (phase < 34) {
                text.rowsA.push_back({row, lineA++, line, kl::ROW_COMMON});
                text.rowsB.push_back({row, lineB++, line, kl::ROW_COMMON});
            } else if (phase < 37) {
                text.rowsA.push_back({row, lineA++, "\t" + line, kl::ROW_ONLY_A});
                text.rowsB.push_back({row, -1, "<< \x91\x8a\x88\xe1\x8d\x73", kl::ROW_FILLER});
            } else {
                text.rowsA.push_back({row, -1, "\x91\x8a\x88\xe1\x8d\x73 >>", kl::ROW_FILLER});
                text.rowsB.push_back({row, lineB++, "\x93\xfa\x96\x7b\x8c\xea\t" + line, kl::ROW_ONLY_B});
            }
        }
    }

    QTemporaryDir dir_;
    std::unique_ptr<CKestrilaneApp> app_;
    std::unique_ptr<CSplitterSnd> splitter_;
    QImage frame_;
};

PaintSetup& Setup()
{
    static PaintSetup setup;
    return setup;
}

void BM_PaintFrame(benchmark::State& state)
{
    PaintSetup& setup = Setup();
    setup.ScrollTo(static_cast<double>(state.range(0)) / 100.0);
    for (auto _ : state)
        setup.PaintFrame();
}
BENCHMARK(BM_PaintFrame)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

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
