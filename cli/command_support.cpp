#include "cli/command_support.h"

#include <cstdio>

#include "cli/commands.h"
#include "engine/document/document_ops.h"
#include "engine/platform/display_path.h"
#include "engine/platform/file_error_text.h"

namespace kl::cli {

namespace {

ExitCodes exitCodes = ExitCodes::Files;

}  // namespace

void UseExitCodes(ExitCodes codes)
{
    exitCodes = codes;
}

int FailureExitCode()
{
    return exitCodes == ExitCodes::DiffStyle ? 2 : kExitFile;
}

bool ClaimsCompleteOutput(int exitCode)
{
    return exitCode == kExitOk || (exitCodes == ExitCodes::DiffStyle && exitCode == 1);
}

void PrintCommandError(std::string_view command, const std::string& message)
{
    std::string line = "kestrilane-cli ";
    line += command;
    line += ": ";
    line += message;
    line += '\n';
    std::fputs(line.c_str(), stderr);
}

int ReportUsageError(std::string_view command, const std::string& error, const std::string& usage)
{
    PrintCommandError(command, error);
    std::fputs(usage.c_str(), stderr);
    return kExitUsage;
}

std::optional<int> ExitBeforeRun(ParseOutcome outcome, std::string_view command, const std::string& error,
                                 const std::string& usage)
{
    switch (outcome) {
    case ParseOutcome::Help:
        std::fputs(usage.c_str(), stdout);
        return kExitOk;
    case ParseOutcome::UsageError:
        return ReportUsageError(command, error, usage);
    case ParseOutcome::Run:
        break;
    }
    return std::nullopt;
}

int ReportOutputFailure(std::string_view command, int errorNumber)
{
    std::string message = "標準出力に書き込めません";
    if (errorNumber != 0)
        message += "（" + FileErrorText(errorNumber) + "）";
    PrintCommandError(command, message);
    return kExitFile;
}

bool LoadInputFile(TextDocument& doc, const std::string& path, bool eucChg, std::string_view command,
                   EncodingChoice choice)
{
    std::string error;
    std::string note;
    if (LoadIntoDocument(doc, path, eucChg, error, choice, &note)) {
        if (!note.empty())
            PrintCommandError(command, note);
        return true;
    }
    PrintCommandError(command, error.empty() ? "ファイル「" + DisplayPath(path) + "」を開けません。" : error);
    return false;
}

}  // namespace kl::cli
