// Building the shown rows of a 1,000,000-row result: the rows as the result has them, with
// changed lines paired, and the texts as loaded. Laid out as the paint benchmark lays out
// a comparison of two similar texts: runs of 34 common rows, then 3 DocA-only rows and
// 3 DocB-only rows.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/engine/bench_inputs.h"
#include "engine/display/shown_rows.h"

namespace {

constexpr int kRows = 1'000'000;

std::shared_ptr<const kl::CompareResult> MillionRows()
{
    std::mt19937 random(7);
    std::vector<std::string> linesA, linesB;
    auto result = std::make_shared<kl::CompareResult>();
    std::vector<kl::DisplayRow>& rowsA = result->sides[kl::DOC_A].rows.Edit();
    std::vector<kl::DisplayRow>& rowsB = result->sides[kl::DOC_B].rows.Edit();
    const auto lineRow = [](std::size_t line, kl::RowKind kind) {
        return kl::DisplayRow{static_cast<int>(line), kl::kNoLine, kind, kl::RowMessage::None};
    };
    const auto filler = [](kl::RowMessage message) {
        return kl::DisplayRow{kl::kNoLine, kl::kNoLine, kl::ROW_FILLER, message};
    };
    for (int row = 0; row < kRows; ++row) {
        const int phase = row % 40;
        const std::string line = klbench::VariedLine(random);
        if (phase < 34) {
            rowsA.push_back(lineRow(linesA.size(), kl::ROW_COMMON));
            rowsB.push_back(lineRow(linesB.size(), kl::ROW_COMMON));
            linesA.push_back(line);
            linesB.push_back(line);
        } else if (phase < 37) {
            rowsA.push_back(lineRow(linesA.size(), kl::ROW_ONLY_A));
            rowsB.push_back(filler(kl::RowMessage::Right));
            linesA.push_back(line);
        } else {
            rowsA.push_back(filler(kl::RowMessage::Left));
            rowsB.push_back(lineRow(linesB.size(), kl::ROW_ONLY_B));
            linesB.push_back(line);
        }
    }
    const auto textOf = [](const std::vector<std::string>& lines) {
        return std::make_shared<const kl::Text>(kl::TextFromLines(std::vector<std::string_view>(lines.begin(), lines.end())));
    };
    result->texts = {textOf(linesA), textOf(linesB)};
    return result;
}

const std::shared_ptr<const kl::CompareResult>& Result()
{
    static const std::shared_ptr<const kl::CompareResult> result = MillionRows();
    return result;
}

void BM_BuildShownRows(benchmark::State& state)
{
    const kl::DisplayOptions options{state.range(0) == 2 ? kl::DISPLAY_SOURCE : kl::DISPLAY_RESULT, state.range(0) == 1};
    const auto& result = Result();
    for (auto _ : state) {
        const kl::ShownRows shown(result->texts, result, options);
        benchmark::DoNotOptimize(shown.RowCount());
    }
}
// 0: the result's rows, 1: changed lines paired, 2: the texts as loaded.
BENCHMARK(BM_BuildShownRows)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
