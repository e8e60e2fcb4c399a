#pragma once
// The command line of `kestrilane-cli compare`.
#include <string>

#include "cli/command_support.h"
#include "engine/compare/compare.h"
#include "engine/document/text_loader.h"
#include <array>

namespace kl::cli {

// What `compare` prints.
enum class CompareOutput {
    Listing,  // the aligned listing
    Json,     // the whole result as one JSON object
    Unified,  // a unified diff for patch
    Brief,    // only whether the files differ
    Stat,     // the line counts of each kind
};

struct CompareCommandOptions {
    CompareRequest run;   // built-in defaults, changed by the options
    bool eucChg = false;      // convert EUC-JP lines on loading
    // How each file is read: auto (from its bytes), sjis, utf8 or eucjp.
    std::array<EncodingChoice, 2> encodings{EncodingChoice::Auto, EncodingChoice::Auto};
    CompareOutput output = CompareOutput::Listing;
    int unifiedContext = 3;   // context lines of --unified
    std::string fileA;
    std::string fileB;
};

// Reads the arguments after the command name (argv[0] is "compare"). A preset code is
// applied after every other compare option, whatever its position.
ParseOutcome ParseCompareArguments(int argc, char** argv, CompareCommandOptions& options,
                                   std::string& error);

// The usage text of the compare command.
std::string CompareUsage();

// The usage lines of the options that decide how the texts are loaded and compared; the
// merge command takes them too.
const char* CompareSwitchesUsage();

}  // namespace kl::cli
