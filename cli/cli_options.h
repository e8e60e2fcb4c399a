#pragma once
// The command line of `kestrilane-cli compare`.
#include <string>

#include "compare/compare_run.h"

namespace kl::cli {

struct CompareCommandOptions {
    CompareRunSettings run;   // built-in defaults, changed by the options
    bool eucChg = false;      // convert EUC-JP lines on loading
    bool json = false;        // print the whole result as one JSON object
    std::string fileA;
    std::string fileB;
};

enum class ParseOutcome {
    Run,         // options filled in
    Help,        // --help: print the usage and stop
    UsageError,  // error says what is wrong
};

// Reads the arguments after the command name (argv[0] is "compare"). A preset code is
// applied after every other compare option, whatever its position.
ParseOutcome ParseCompareArguments(int argc, char** argv, CompareCommandOptions& options,
                                   std::string& error);

// The usage text of the compare command.
const char* CompareUsage();

}  // namespace kl::cli
