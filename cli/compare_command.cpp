// `kestrilane-cli compare`: loads two files, runs one comparison and prints the result.
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/compare_summary.h"
#include "cli/html_report_output.h"
#include "cli/output_buffer.h"
#include "cli/result_json.h"
#include "engine/display/shown_rows.h"
#include "cli/side_by_side.h"
#include "cli/unified_diff.h"
#include "engine/platform/display_path.h"
#include "engine/platform/file_time.h"

namespace kl::cli {

namespace {

constexpr std::string_view kCompareCommand = "compare";

bool IsScriptOutput(CompareOutput output)
{
    return output == CompareOutput::Unified || output == CompareOutput::Brief || output == CompareOutput::Stat;
}

// The file's modification time as "2026-12-07 17:42:37.123456789 +0900", in local time.
std::string LabelTime(const std::string& path)
{
    const std::optional<FileTime> modified = LastWriteTime(path);
    if (!modified)
        return {};
    const std::optional<LocalTime> local = ToLocalTime(modified->seconds);
    if (!local)
        return {};
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local->fields);
    // The zone as +hhmm, which strftime's %z does not give on every system.
    const int offsetMinutes = std::abs(local->utcOffsetSeconds) / 60;
    char rest[32];
    std::snprintf(rest, sizeof rest, ".%09ld %c%02d%02d", static_cast<long>(modified->nanoseconds),
                  local->utcOffsetSeconds < 0 ? '-' : '+', offsetMinutes / 60, offsetMinutes % 60);
    return std::string(date) + rest;
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
    if (const std::optional<int> exitCode = ExitBeforeRun(parsed, kCompareCommand, error, CompareUsage()))
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
    if (!LoadInputFiles(doc, {options.fileA, options.fileB}, options.reading, kCompareCommand))
        return script ? kExitTrouble : kExitFile;

    // Shared, so that the rows of the paired display can keep it.
    const auto shared = std::make_shared<const CompareResult>(Compare(doc.texts, options.run));
    const CompareResult& result = *shared;
    if (script && result.outcome != RunOutcome::Completed) {
        PrintCommandError(kCompareCommand, "比較を完了できませんでした");
        return kExitTrouble;
    }
    OutputBuffer out(stdout);
    int exitCode = kExitOk;
    switch (options.output) {
    case CompareOutput::Listing:
    case CompareOutput::Json: {
        const std::array<std::string, 2> totals{LineTotalsText(result, DOC_A, doc.fileInfos[DOC_A]),
                                                LineTotalsText(result, DOC_B, doc.fileInfos[DOC_B])};
        if (options.output == CompareOutput::Json && options.paired) {
            const ShownRows shown(shared->texts, shared, {DISPLAY_RESULT, true});
            WriteResultJson(out, result, totals, &shown);
        } else if (options.output == CompareOutput::Json) {
            WriteResultJson(out, result, totals);
        }
        else
            WriteSideBySide(out, result, doc.fileNames, totals);
        break;
    }
    case CompareOutput::Unified: {
        for (int side = DOC_A; side <= DOC_B; ++side) {
            if (result.TextOf(side) && result.TextOf(side)->converted)
                PrintCommandError(kCompareCommand, "注意: ファイル「" + DisplayPath(side == DOC_A ? options.fileA : options.fileB) +
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
    case CompareOutput::Html:
        exitCode = WriteHtmlReportOutput(out, options, doc, shared);
        break;
    case CompareOutput::Stat: {
        const LineKindCounts counts = CountLineKinds(result);
        WriteLineKindCounts(out, counts);
        exitCode = HasDifference(counts) ? kExitDifferent : kExitSame;
        break;
    }
    }
    if (!out.Flush()) {
        ReportOutputFailure(kCompareCommand, errno);
        return script ? kExitTrouble : kExitFile;
    }
    return exitCode;
}

}  // namespace kl::cli
