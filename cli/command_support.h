#pragma once
// What the kestrilane-cli commands share: the answer to arguments that do not start a run,
// messages on standard error, and loading the input texts.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/document/text_document.h"
#include "engine/document/text_loader.h"

namespace kl::cli {

struct ReadingOptions;

enum class ParseOutcome {
    Run,         // options filled in
    Help,        // --help: print the usage and stop
    UsageError,  // error says what is wrong
};

// Prints "kestrilane-cli COMMAND: MESSAGE" as one line on standard error.
void PrintCommandError(std::string_view command, const std::string& message);

// Prints the error and then the usage text on standard error; returns kExitUsage.
int ReportUsageError(std::string_view command, const std::string& error, const std::string& usage);

// The exit code when the arguments end the command before it runs: kExitOk after the usage
// on standard output for help, the usage error otherwise. Nothing when the command runs.
std::optional<int> ExitBeforeRun(ParseOutcome outcome, std::string_view command, const std::string& error,
                                 const std::string& usage);

// What the exit codes of a run mean. A command picks the convention as soon as it knows its
// output; until then it is Files.
enum class ExitCodes {
    Files,      // 0 done, 1 a file could not be read or written (or any other failure), 2 usage
    DiffStyle,  // as diff: 0 same, 1 different, 2 trouble of any kind
};
void UseExitCodes(ExitCodes codes);

// The exit code of a run that fails in a way no step reports itself: out of memory, an
// internal error, standard output that cannot be written in the end.
int FailureExitCode();

// Whether exitCode tells a script that the output is complete: 0, and 1 of DiffStyle.
bool ClaimsCompleteOutput(int exitCode);

// Prints that standard output could not be written, with the system's reason for
// errorNumber (none when 0); returns kExitFile.
int ReportOutputFailure(std::string_view command, int errorNumber);

// Loads path as the next text of doc; on failure prints a message naming the file. A file
// that changed while it was read is loaded and noted on standard error.
bool LoadInputFile(TextDocument& doc, const std::string& path, bool eucChg, std::string_view command,
                   EncodingChoice choice = EncodingChoice::Auto);

// Loads one or two files as the texts of doc, as LoadInputFile does, in their order; the
// second is read on a thread of its own while the first is read. A file that cannot be
// read ends the loading.
bool LoadInputFiles(TextDocument& doc, const std::vector<std::string>& paths, const ReadingOptions& reading,
                    std::string_view command);

}  // namespace kl::cli
