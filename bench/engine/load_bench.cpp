// Loading speed: splitting a large text into lines, in memory and from a file.
// The input is a 1,000,000-line file of about 60 MB with mixed line ends (CR LF, LF, a few
// lone CR) and Shift_JIS text, generated once into the temporary directory and kept there
// (kestrilane-load-bench-1m.txt) so that other tools can be timed on the same bytes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/document/document_ops.h"
#include "engine/document/text_loader.h"

namespace {

constexpr int kLineCount = 1'000'000;

std::string GenerateText()
{
    // Words of mixed width: ASCII and Shift_JIS kanji, kana and half-width katakana.
    const std::string words[] = {
        "int",  "value",  "return", "= 0;", "\t",  "//",
        "\x93\xfa\x96\x7b\x8c\xea",              // 日本語
        "\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67",  // のテキスト
        "\x94\xe4\x8a\x72",                       // 比較
        "\xb1\xb2\xb3",                           // ｱｲｳ
        "\x81\x40",                               // full-width space
        "(i)",  "{",      "}",      "x + y",
    };
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> wordCount(0, 25);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(words)) - 1);
    std::uniform_int_distribution<int> endKind(0, 99);

    std::string text;
    text.reserve(64u * kLineCount);
    bool afterLoneCr = false;
    for (int line = 0; line < kLineCount; ++line) {
        int n = wordCount(random);
        if (afterLoneCr && n == 0)
            n = 1;  // an empty LF line would join the lone CR before it into one CR LF
        for (; n > 0; --n) {
            text += words[pick(random)];
            text += ' ';
        }
        const int e = endKind(random);
        text += e < 70 ? "\r\n" : e < 98 ? "\n" : "\r";
        afterLoneCr = e >= 98;
    }
    return text;
}

const std::string& Text()
{
    static const std::string text = GenerateText();
    return text;
}

const std::string& FilePath()
{
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() / "kestrilane-load-bench-1m.txt";
        std::error_code ec;
        if (std::filesystem::file_size(file, ec) != Text().size() || ec) {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            out.write(Text().data(), static_cast<std::streamsize>(Text().size()));
        }
        return file.string();
    }();
    return path;
}

void SetCounters(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(Text().size()));
    state.counters["MB"] = static_cast<double>(Text().size()) / 1e6;
}

// What any loader of this text pays before looking at a byte: fresh memory for the bytes
// and for the start of every line.
void BM_MemoryFloor(benchmark::State& state)
{
    for (auto _ : state) {
        std::string bytes(Text().size(), '\0');
        std::vector<std::int64_t> starts(kLineCount + 1);
        benchmark::DoNotOptimize(bytes.data());
        benchmark::DoNotOptimize(starts.data());
        state.PauseTiming();
        bytes = {};
        starts = {};
        state.ResumeTiming();
    }
    SetCounters(state);
}
BENCHMARK(BM_MemoryFloor)->Unit(benchmark::kMillisecond);

void BM_SplitLines(benchmark::State& state)
{
    const bool eucChg = state.range(0) != 0;
    for (auto _ : state) {
        kl::Text text = kl::SplitLines(Text(), eucChg);
        benchmark::DoNotOptimize(text.starts.data());
        state.PauseTiming();
        text = {};
        state.ResumeTiming();
    }
    SetCounters(state);
}
BENCHMARK(BM_SplitLines)->Arg(0)->Arg(1)->ArgName("eucChg")->Unit(benchmark::kMillisecond);

void BM_LoadIntoDocument(benchmark::State& state)
{
    const std::string& path = FilePath();
    std::string error;
    for (auto _ : state) {
        kl::TextDocument doc;
        if (!kl::LoadIntoDocument(doc, path, false, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        if (kl::LineCount(doc, kl::DOC_A) != kLineCount) {
            state.SkipWithError("wrong line count");
            break;
        }
        state.PauseTiming();
        kl::ClearDocument(doc);
        state.ResumeTiming();
    }
    SetCounters(state);
}
BENCHMARK(BM_LoadIntoDocument)->Unit(benchmark::kMillisecond);

}  // namespace
