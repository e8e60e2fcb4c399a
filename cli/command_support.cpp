#include "cli/command_support.h"

#include <cstdio>
#include <future>
#include <utility>

#include "cli/cli_options.h"
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

namespace {

bool AddInputFile(TextDocument& doc, LoadedFile&& loaded, std::string_view command)
{
    const std::string path = loaded.path;
    std::string error;
    std::string note;
    if (AddLoadedFile(doc, std::move(loaded), error, &note)) {
        if (!note.empty())
            PrintCommandError(command, note);
        return true;
    }
    PrintCommandError(command, error.empty() ? "ファイル「" + DisplayPath(path) + "」を開けません。" : error);
    return false;
}

}  // namespace

bool LoadInputFile(TextDocument& doc, const std::string& path, bool eucChg, std::string_view command,
                   EncodingChoice choice)
{
    return AddInputFile(doc, ReadTextFile(path, eucChg, choice), command);
}

bool LoadInputFiles(TextDocument& doc, const std::vector<std::string>& paths, const ReadingOptions& reading,
                    std::string_view command)
{
    if (paths.size() < 2)
        return paths.empty() || LoadInputFile(doc, paths[0], reading.eucChg, command, reading.encodings[0]);
    // The future's end waits for the thread, also when the first file fails.
    std::future<LoadedFile> second = std::async(std::launch::async, [&] {
        return ReadTextFile(paths[1], reading.eucChg, reading.encodings[1]);
    });
    if (!LoadInputFile(doc, paths[0], reading.eucChg, command, reading.encodings[0]))
        return false;
    return AddInputFile(doc, second.get(), command);
}

}  // namespace kl::cli
