// `kestrilane-cli compare`: loads two files, runs one comparison and prints the result.
#include <array>
#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/output_buffer.h"
#include "cli/result_json.h"
#include "cli/side_by_side.h"
#include "document/document_ops.h"
#include "platform/cp932.h"

namespace kl::cli {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFile = 1;
constexpr int kExitUsage = 2;

// Loads path as the next text; on failure prints a message naming the file.
bool LoadFile(TextDocument& doc, const std::string& path, bool eucChg)
{
    std::string error;
    if (LoadIntoDocument(doc, path, eucChg, error))
        return true;
    if (!IsValidUtf8(error))
        error = Cp932ToUtf8(error);
    if (error.find(path) == std::string::npos)
        error = "cannot read '" + path + "'" + (error.empty() ? "" : ": " + error);
    std::fprintf(stderr, "kestrilane-cli compare: %s\n", error.c_str());
    return false;
}

}  // namespace

int RunCompareCommand(int argc, char** argv)
{
    CompareCommandOptions options;
    std::string error;
    switch (ParseCompareArguments(argc, argv, options, error)) {
    case ParseOutcome::Help:
        std::fputs(CompareUsage(), stdout);
        return kExitOk;
    case ParseOutcome::UsageError:
        std::fprintf(stderr, "kestrilane-cli compare: %s\n", error.c_str());
        std::fputs(CompareUsage(), stderr);
        return kExitUsage;
    case ParseOutcome::Run:
        break;
    }

    TextDocument doc;
    doc.recording = false;
    if (!LoadFile(doc, options.fileA, options.eucChg) || !LoadFile(doc, options.fileB, options.eucChg))
        return kExitFile;

    std::array<std::string, 2> totals;
    CompareRunCallbacks callbacks;
    callbacks.totals = [&totals](int k, const std::string& text) { totals[k] = text; };
    g_abortRequested = 0;
    g_compareRunning = 1;
    RunCompare(doc, options.run, callbacks);

    OutputBuffer out(stdout);
    if (options.json)
        WriteResultJson(out, doc, totals);
    else
        WriteSideBySide(out, doc, totals);
    if (!out.Flush()) {
        std::fputs("kestrilane-cli compare: cannot write the result\n", stderr);
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace kl::cli
