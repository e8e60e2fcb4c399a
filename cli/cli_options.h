#pragma once
// The command line of `kestrilane-cli compare`, and the options that say how the input
// files are read, which every command takes.
#include <array>
#include <string>
#include <string_view>

#include "cli/command_support.h"
#include "engine/compare/compare.h"
#include "engine/document/text_loader.h"

namespace kl::cli {

// How the two input files are read: --euc, --encoding-a and --encoding-b.
struct ReadingOptions {
    bool eucChg = false;  // convert EUC-JP lines on loading
    // How each file is read: auto (from its bytes), sjis, utf8 or eucjp.
    std::array<EncodingChoice, 2> encodings{EncodingChoice::Auto, EncodingChoice::Auto};
};

enum class OptionRead {
    NotThis,  // arg is none of the options asked about
    Taken,    // arg was read into the options
    Invalid,  // arg is one of them with a value it does not take; error says why
};

// Reads arg when it is --ignore-newline, --ignore-space-tab, --wide-space-as-two or
// --ignore-trailing-spaces; false for any other.
bool ReadLineEqualitySwitch(std::string_view arg, CompareOptions& options);

// Reads arg when it is one of the reading options.
OptionRead ReadReadingOption(std::string_view arg, ReadingOptions& reading, std::string& error);

// What every usage text says about the encodings of the input files.
const char* EncodingsUsage();

// The usage lines of the reading options; first and second name the two files.
std::string ReadingSwitchesUsage(std::string_view first, std::string_view second);

// What `compare` prints.
enum class CompareOutput {
    Listing,  // the aligned listing
    Json,     // the whole result as one JSON object
    Unified,  // a unified diff for patch
    Brief,    // only whether the files differ
    Stat,     // the line counts of each kind
    Html,     // the HTML report
};

struct CompareCommandOptions {
    CompareRequest run;   // built-in defaults, changed by the options
    ReadingOptions reading;
    CompareOutput output = CompareOutput::Listing;
    int unifiedContext = 3;   // context lines of --unified
    int reportContext = -1;   // --context of --html: rows around each difference, -1 all rows
    bool newlineMarks = true; // --html: line-end marks
    std::string outPath;      // -o: the report's file, empty for standard output
    bool paired = false;      // --paired: the JSON adds the rows of the paired display
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
std::string CompareSwitchesUsage();

}  // namespace kl::cli
