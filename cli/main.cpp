// kestrilane-cli: the comparison engine for scripts and tests.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/platform/console_program.h"
#include "engine/platform/display_path.h"
#include "engine/platform/large_buffer.h"

namespace {

struct CliCommand {
    const char* name;
    int (*run)(int argc, char** argv);  // argv[0] is the command name
};

const std::vector<CliCommand> kCommands = {
    {"compare", kl::cli::RunCompareCommand},
    {"compare-dirs", kl::cli::RunCompareDirsCommand},
    {"find", kl::cli::RunFindCommand},
    {"linediff", kl::cli::RunLineDiffCommand},
    {"merge", kl::cli::RunMergeCommand},
};

void PrintUsage(std::FILE* stream)
{
    std::fputs("usage: kestrilane-cli COMMAND [OPTIONS] ARGS...\ncommands:", stream);
    for (const CliCommand& c : kCommands) {
        std::fputs(" ", stream);
        std::fputs(c.name, stream);
    }
    std::fputs("\n(kestrilane-cli COMMAND --help describes a command)\n", stream);
}

// Written piece by piece: the message must not need memory of its own.
void PrintFailure(const char* command, const char* message, const char* detail = nullptr)
{
    std::fputs("kestrilane-cli ", stderr);
    std::fputs(command, stderr);
    std::fputs(": ", stderr);
    std::fputs(message, stderr);
    if (detail) {
        std::fputs("（", stderr);
        std::fputs(detail, stderr);
        std::fputs("）", stderr);
    }
    std::fputs("\n", stderr);
}

// A command that runs out of memory (or fails in any other unforeseen way) ends with a
// message and the command's failure exit code, never with an abort; whatever it printed
// before is incomplete, and the exit code says so.
int RunCaught(const CliCommand& command, int argc, char** argv)
{
    try {
        return command.run(argc, argv);
    } catch (const std::bad_alloc&) {
        PrintFailure(command.name, "メモリが足りないため処理を続けられませんでした");
    } catch (const std::exception& e) {
        PrintFailure(command.name, "内部エラーのため処理を続けられませんでした", e.what());
    } catch (...) {
        PrintFailure(command.name, "内部エラーのため処理を続けられませんでした");
    }
    return kl::cli::FailureExitCode();
}

// Whatever is still buffered for standard output is written and the stream closed here,
// so that a full disk or a failing device ends the run in an error, not in success nor in
// "different". A command that failed has said why already.
int FinishStandardOutput(const char* command, int exitCode)
{
    errno = 0;
    bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
    int errorNumber = errno;
    // EBADF from the close alone means no standard output was given and none was written.
    if (std::fclose(stdout) != 0 && written && errno != EBADF) {
        written = false;
        errorNumber = errno;
    }
    if (written || !kl::cli::ClaimsCompleteOutput(exitCode))
        return exitCode;
    kl::cli::ReportOutputFailure(command, errorNumber);
    return kl::cli::FailureExitCode();
}

}  // namespace

int main(int argc, char** systemArgv)
{
    kl::ReturnLargeBlocksOnFree();
    kl::UseByteExactStandardStreams();
    // The commands take their words in UTF-8, whatever the system hands over.
    std::vector<std::string> words = kl::Utf8Arguments(argc, systemArgv);
    std::vector<char*> wordPointers;
    for (std::string& word : words)
        wordPointers.push_back(word.data());
    wordPointers.push_back(nullptr);
    argc = static_cast<int>(words.size());
    char** argv = wordPointers.data();
    if (argc < 2) {
        PrintUsage(stderr);
        return kl::cli::kExitUsage;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintUsage(stdout);
        return FinishStandardOutput("--help", kl::cli::kExitOk);
    }
    for (const CliCommand& c : kCommands) {
        if (std::strcmp(argv[1], c.name) == 0)
            return FinishStandardOutput(c.name, RunCaught(c, argc - 1, argv + 1));
    }
    std::fprintf(stderr, "kestrilane-cli: unknown command '%s'\n", kl::DisplayPath(argv[1]).c_str());
    PrintUsage(stderr);
    return kl::cli::kExitUsage;
}
