// `kestrilane-cli compare`: loads two files, runs one comparison and prints the result.
#include <array>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/compare_summary.h"
#include "cli/output_buffer.h"
#include "cli/result_json.h"
#include "cli/side_by_side.h"
#include "cli/unified_diff.h"
#include "engine/platform/display_path.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif
#include <ctime>

namespace kl::cli {

namespace {

constexpr std::string_view kCommand = "compare";

// Exit codes of the script outputs (--unified, --brief, --stat), as diff has them.
constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

bool IsScriptOutput(CompareOutput output)
{
    return output == CompareOutput::Unified || output == CompareOutput::Brief || output == CompareOutput::Stat;
}

// The file's modification time as "2026-12-07 17:42:37.123456789 +0900", in local time.
std::string LabelTime(const std::string& path)
{
#if defined(_WIN32)
    (void)path;
    return {};
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    std::tm local{};
    if (localtime_r(&info.st_mtim.tv_sec, &local) == nullptr)
        return {};
    char date[32];
    char zone[8];
    char nanoseconds[16];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
    std::strftime(zone, sizeof zone, "%z", &local);
    std::snprintf(nanoseconds, sizeof nanoseconds, ".%09ld ", static_cast<long>(info.st_mtim.tv_nsec));
    return std::string(date) + nanoseconds + zone;
#endif
}

void PutDiffer(OutputBuffer& out, const CompareCommandOptions& options)
{
    out.Put("Files ");
    out.Put(options.fileA);
    out.Put(" and ");
    out.Put(options.fileB);
    out.Put(" differ\n");
}

}  // namespace

int RunCompareCommand(int argc, char** argv)
{
    CompareCommandOptions options;
    std::string error;
    const ParseOutcome parsed = ParseCompareArguments(argc, argv, options, error);
    if (const std::optional<int> exitCode = ExitBeforeRun(parsed, kCommand, error, CompareUsage()))
        return *exitCode;

    const bool script = IsScriptOutput(options.output);
    if (script)
        UseExitCodes(ExitCodes::DiffStyle);
    // Byte-equal files need no comparison to say so, whatever the compare options.
    if (options.output == CompareOutput::Brief || options.output == CompareOutput::Unified) {
        if (SameFileBytes(options.fileA, options.fileB) == true)
            return kExitSame;
    }

    TextDocument doc;
    doc.recording = false;
    if (!LoadInputFile(doc, options.fileA, options.eucChg, kCommand, options.encodings[0]) ||
        !LoadInputFile(doc, options.fileB, options.eucChg, kCommand, options.encodings[1]))
        return script ? kExitTrouble : kExitFile;

    const CompareResult result = Compare(doc.texts, options.run);
    if (script && result.outcome != RunOutcome::Completed) {
        PrintCommandError(kCommand, "比較を完了できませんでした");
        return kExitTrouble;
    }
    OutputBuffer out(stdout);
    int exitCode = kExitOk;
    switch (options.output) {
    case CompareOutput::Listing:
    case CompareOutput::Json: {
        const std::array<std::string, 2> totals{LineTotalsText(result, DOC_A, doc.fileInfos[DOC_A]),
                                                LineTotalsText(result, DOC_B, doc.fileInfos[DOC_B])};
        if (options.output == CompareOutput::Json)
            WriteResultJson(out, result, totals);
        else
            WriteSideBySide(out, result, doc.fileNames, totals);
        break;
    }
    case CompareOutput::Unified: {
        for (int side = DOC_A; side <= DOC_B; ++side) {
            if (result.TextOf(side) && result.TextOf(side)->converted)
                PrintCommandError(kCommand, "注意: ファイル「" + DisplayPath(side == DOC_A ? options.fileA : options.fileB) +
                                                "」は読み込み時に変換したため、差分は変換後の内容です");
        }
        const std::array<UnifiedFileLabel, 2> labels{UnifiedFileLabel{options.fileA, LabelTime(options.fileA)},
                                                     UnifiedFileLabel{options.fileB, LabelTime(options.fileB)}};
        exitCode = WriteUnifiedDiff(out, result, labels, options.unifiedContext) ? kExitDifferent : kExitSame;
        break;
    }
    case CompareOutput::Brief:
        exitCode = HasDifference(CountLineKinds(result)) ? kExitDifferent : kExitSame;
        if (exitCode == kExitDifferent)
            PutDiffer(out, options);
        break;
    case CompareOutput::Stat: {
        const LineKindCounts counts = CountLineKinds(result);
        WriteLineKindCounts(out, counts);
        exitCode = HasDifference(counts) ? kExitDifferent : kExitSame;
        break;
    }
    }
    if (!out.Flush()) {
        ReportOutputFailure(kCommand, errno);
        return script ? kExitTrouble : kExitFile;
    }
    return exitCode;
}

}  // namespace kl::cli
