// `kestrilane-cli compare`: loads two files, runs one comparison and prints the result.
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/output_buffer.h"
#include "cli/result_json.h"
#include "cli/side_by_side.h"

namespace kl::cli {

namespace {

constexpr std::string_view kCommand = "compare";

}  // namespace

int RunCompareCommand(int argc, char** argv)
{
    CompareCommandOptions options;
    std::string error;
    const ParseOutcome parsed = ParseCompareArguments(argc, argv, options, error);
    if (const std::optional<int> exitCode = ExitBeforeRun(parsed, kCommand, error, CompareUsage()))
        return *exitCode;

    TextDocument doc;
    doc.recording = false;
    if (!LoadInputFile(doc, options.fileA, options.eucChg, kCommand, options.encodings[0]) ||
        !LoadInputFile(doc, options.fileB, options.eucChg, kCommand, options.encodings[1]))
        return kExitFile;

    const CompareResult result = Compare(doc.texts, options.run);
    const std::array<std::string, 2> totals{LineTotalsText(result, DOC_A, doc.fileInfos[DOC_A]),
                                            LineTotalsText(result, DOC_B, doc.fileInfos[DOC_B])};

    OutputBuffer out(stdout);
    if (options.json)
        WriteResultJson(out, result, totals);
    else
        WriteSideBySide(out, result, doc.fileNames, totals);
    if (!out.Flush()) {
        PrintCommandError(kCommand, "cannot write the result");
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace kl::cli
