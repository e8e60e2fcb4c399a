// The settings file at start-up and when presets are stored. The start-up case reads what
// the main window reads (view, colour and merge settings, the preset list) from a file whose
// section COMPMODE holds COUNT=99999 and 99,999 presets, about 100,000 keys in all; each
// iteration starts from a file the store has not read yet. Storing writes N presets in one
// call, the file replaced each time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/compare/presets.h"
#include "engine/settings/merge_settings.h"
#include "engine/settings/settings_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPresets = 99999;

class BenchFolder {
public:
    BenchFolder()
        : path_(fs::temp_directory_path() / ("kestrilane-settings-bench-" + std::to_string(::getpid())))
    {
        fs::create_directories(path_);
    }
    ~BenchFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

const BenchFolder& Folder()
{
    static const BenchFolder folder;
    return folder;
}

std::string PresetFile()
{
    static const std::string path = [] {
        const std::string file = Folder().File("start-up.ini");
        std::ofstream out(file, std::ios::binary);
        out << "[FLAG]\nFDISPMES=1\nEUCCHG=0\n[COMPARE]\nMODE=0\nUSECHECK=10\n"
               "[VIEW]\nFONTNAME=IPAGothic\nFONTSIZE=0:-12\n[COLOR]\nSAME=00F7BF9B\n"
               "[MERGE]\nINS_DOCA=1\n[COMPMODE]\nCOUNT="
            << kPresets << "\n";
        for (int k = 0; k < kPresets; ++k)
            out << k << "=preset " << k << ",01010\n";
        return file;
    }();
    return path;
}

// A new modification time makes the store read and parse the file again.
void MarkChanged(const std::string& path, long long generation)
{
    const timespec times[2] = {{1000000000 + generation, 0}, {1000000000 + generation, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void BM_StartUpReading100000Keys(benchmark::State& state)
{
    const std::string path = PresetFile();
    long long generation = 0;
    std::size_t presets = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MarkChanged(path, ++generation);
        state.ResumeTiming();
        kl::DocSettings doc;
        kl::CompareOptions options;
        kl::FontSettings fonts;
        kl::LoadViewSettings(path, doc, options, fonts);
        kl::ColorTable colors{};
        std::string left;
        std::string right;
        kl::LoadColorSettings(path, colors, left, right, 0);
        benchmark::DoNotOptimize(kl::ReadMergeSettings(path));
        benchmark::DoNotOptimize(kl::ReadMergePrefixes(path));
        const std::vector<kl::PresetRow> rows = kl::LoadPresetList(path);
        presets = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["presets"] = static_cast<double>(presets);
}
BENCHMARK(BM_StartUpReading100000Keys)->Unit(benchmark::kMillisecond);

void BM_StorePresets(benchmark::State& state)
{
    const std::string path = Folder().File("store.ini");
    std::vector<kl::PresetRow> rows;
    for (int k = 0; k < state.range(0); ++k)
        rows.push_back({"preset " + std::to_string(k), "01010"});
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(path);
        state.ResumeTiming();
        if (!kl::StorePresetList(path, rows))
            state.SkipWithError("cannot write the settings file");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_StorePresets)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
