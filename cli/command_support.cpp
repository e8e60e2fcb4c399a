#include "cli/command_support.h"

#include <cstdio>

#include "cli/commands.h"
#include "engine/document/document_ops.h"
#include "engine/platform/cp932.h"

namespace kl::cli {

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

bool LoadInputFile(TextDocument& doc, const std::string& path, bool eucChg, std::string_view command,
                   EncodingChoice choice)
{
    std::string error;
    if (LoadIntoDocument(doc, path, eucChg, error, choice))
        return true;
    // The loader's messages are code page 932; the console gets UTF-8.
    if (!IsValidUtf8(error))
        error = Cp932ToUtf8(error);
    if (error.find(path) == std::string::npos)
        error = "cannot read '" + path + "'" + (error.empty() ? "" : ": " + error);
    PrintCommandError(command, error);
    return false;
}

}  // namespace kl::cli
