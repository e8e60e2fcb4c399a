// The paired display while the user scrolls, offscreen at 1200 x 900.
//
//   marks_uibench latency        1,000 changed lines of 2,000 bytes between common lines,
//                                scrolled page by page: the longest paint or turn of the
//                                event loop (the user-interface thread's stall) and how
//                                long after a page came into view its marks were all there.
//   marks_uibench memory on|off  a 200,000-line pair compared and shown, paired with the
//                                marks of a screenful or not; run under /usr/bin/time -v
//                                for the peak memory of each.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/engine/bench_inputs.h"
#include "engine/compare/compare.h"
#include "bench/ui/bench_window.h"

namespace {

std::shared_ptr<const kl::Text> TextOf(const std::vector<std::string>& lines)
{
    return std::make_shared<const kl::Text>(kl::TextFromLines(std::vector<std::string_view>(lines.begin(), lines.end())));
}

// A long line of code-like words; the copy has about one word in twenty changed.
std::string LongLine(std::mt19937& random, std::size_t bytes)
{
    std::string line;
    while (line.size() < bytes)
        line += klbench::VariedLine(random).substr(0, 30) + ' ';
    line.resize(bytes);
    return line + "\r\n";
}

std::string Edited(std::mt19937& random, std::string line)
{
    for (std::size_t at = random() % 80; at + 2 < line.size(); at += 60 + random() % 60)
        line[at] = static_cast<char>('A' + random() % 26);
    return line;
}

// The window over a pair of texts and their comparison.
klbench::BenchWindow WindowOver(const kl::TextPair& texts, bool paired)
{
    return klbench::BenchWindow(
        [&texts](kl::TextDocument& doc) {
            doc.texts = texts;
            doc.result = std::make_shared<const kl::CompareResult>(kl::Compare(texts, {}));
        },
        paired);
}

int Latency()
{
    std::mt19937 random(3);
    std::vector<std::string> a, b;
    for (int k = 0; k < 1000; ++k) {
        const std::string common = klbench::VariedLine(random);
        a.push_back(common);
        b.push_back(common);
        const std::string line = LongLine(random, 2000);
        a.push_back(line);
        b.push_back(Edited(random, line));
    }
    klbench::BenchWindow window = WindowOver({TextOf(a), TextOf(b)}, true);
    QScrollBar* rows = window.rows();
    std::vector<double> paints, latencies;
    for (int top = 0;; top += rows->pageStep()) {
        rows->setValue(std::min(top, rows->maximum()));
        QElapsedTimer inView;
        inView.start();
        paints.push_back(window.Paint());
        // The marks arrive as the event loop runs; each one repaints its row, and every
        // turn of the loop is time the user-interface thread is busy.
        while (window.marks().pendingCount() > 0) {
            QElapsedTimer turn;
            turn.start();
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            paints.push_back(static_cast<double>(turn.nsecsElapsed()) / 1e6);
        }
        latencies.push_back(static_cast<double>(inView.nsecsElapsed()) / 1e6);
        if (top >= rows->maximum())
            break;
    }
    std::sort(paints.begin(), paints.end());
    std::sort(latencies.begin(), latencies.end());
    std::printf("pages %zu  busy max %.2f ms  median %.2f ms  marks of a page: median %.1f ms  max %.1f ms\n",
                latencies.size(), paints.back(), paints[paints.size() / 2], latencies[latencies.size() / 2],
                latencies.back());
    return 0;
}

int Memory(bool paired)
{
    std::mt19937 random(9);
    std::vector<std::string> a, b;
    for (int k = 0; k < 200'000; ++k) {
        const std::string line = klbench::VariedLine(random);
        a.push_back(line);
        const std::string edited = klbench::EditedLine(random, line);
        if (!edited.empty())
            b.push_back(edited);
    }
    klbench::BenchWindow window = WindowOver({TextOf(a), TextOf(b)}, paired);
    // A screenful at a few places, with its marks.
    for (double at : {0.0, 0.3, 0.6, 1.0}) {
        window.rows()->setValue(static_cast<int>(window.rows()->maximum() * at));
        window.LoadMarks();
    }
    std::printf("%s\n", paired ? "paired" : "plain");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "latency";
    if (mode == "memory")
        return Memory(argc > 2 && std::string(argv[2]) == "on");
    return Latency();
}
