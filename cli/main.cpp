// kestrilane-cli: the comparison engine for scripts and tests.
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/commands.h"
#include "engine/platform/large_buffer.h"

namespace {

struct CliCommand {
    const char* name;
    int (*run)(int argc, char** argv);  // argv[0] is the command name
};

const std::vector<CliCommand> kCommands = {
    {"compare", kl::cli::RunCompareCommand},
    {"linediff", kl::cli::RunLineDiffCommand},
    {"merge", kl::cli::RunMergeCommand},
};

void PrintUsage()
{
    std::fputs("usage: kestrilane-cli COMMAND [OPTIONS] ARGS...\ncommands:", stderr);
    for (const CliCommand& c : kCommands) {
        std::fputs(" ", stderr);
        std::fputs(c.name, stderr);
    }
    std::fputs("\n", stderr);
}

}  // namespace

int main(int argc, char** argv)
{
    kl::ReturnLargeBlocksOnFree();
    if (argc < 2) {
        PrintUsage();
        return kl::cli::kExitUsage;
    }
    for (const CliCommand& c : kCommands) {
        if (std::strcmp(argv[1], c.name) == 0)
            return c.run(argc - 1, argv + 1);
    }
    std::fprintf(stderr, "kestrilane-cli: unknown command '%s'\n", argv[1]);
    PrintUsage();
    return kl::cli::kExitUsage;
}
