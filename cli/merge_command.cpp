// `kestrilane-cli merge`: compares two files like `compare` and writes the merged text
// that the automatic merge builds from the result.
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/merge/merge_output.h"
#include "engine/merge/merge_walk.h"
#include "engine/platform/cp932.h"

namespace kl::cli {

namespace {

constexpr std::string_view kMergeCommand = "merge";

std::string MergeUsage()
{
    return std::string("usage: kestrilane-cli merge [OPTIONS] FILE_A FILE_B [-o OUT]\n"
                       "Compares two texts and writes the merged text: the common lines, the lines only\n"
                       "in FILE_A and the lines only in FILE_B in the order of the result, each one-sided\n"
                       "line after its marker, in the texts' encoding (UTF-16 as UTF-8). Written byte\n"
                       "for byte to OUT or to standard output. A file OUT is replaced as a whole (a\n"
                       "read-only one is refused); a named pipe or a device OUT is written into.\n") +
           EncodingsUsage() +
           "merge options:\n"
           "  -o OUT                    write to OUT instead of standard output\n"
           "  --exclude-a               leave out the lines only in FILE_A\n"
           "  --exclude-b               leave out the lines only in FILE_B\n"
           "  --exclude-common          leave out the lines common to both\n"
           "  --no-prefix-a             no marker before lines only in FILE_A\n"
           "  --no-prefix-b             no marker before lines only in FILE_B\n"
           "  --prefix-a=TEXT           marker before lines only in FILE_A (default !DOC_A>>>)\n"
           "  --prefix-b=TEXT           marker before lines only in FILE_B (default !DOC_B>>>)\n"
           "                            (TEXT in UTF-8, or Shift_JIS bytes; written in the\n"
           "                            texts' encoding)\n"
           "compare options:\n" +
           CompareSwitchesUsage() +
           "  --help                    show this text\n";
}

// A marker given on the command line: UTF-8 text is converted, anything else is taken as
// code page 932 bytes already.
std::string MarkerBytes(std::string_view text)
{
    return IsValidUtf8(text) ? Utf8ToCp932(text) : std::string(text);
}

struct MergeCommandOptions {
    MergeRules rules;
    bool toFile = false;
    std::string outPath;
};

// Takes the merge options out of the arguments and leaves the compare options and the
// file names in rest (rest[0] is the command name). Returns false with error set on a
// usage error.
bool SplitMergeArguments(int argc, char** argv, MergeCommandOptions& options,
                         std::vector<char*>& rest, std::string& error)
{
    rest.push_back(argv[0]);
    bool optionsEnded = false;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (optionsEnded) {
            rest.push_back(argv[k]);
        } else if (arg == "--") {
            optionsEnded = true;
            rest.push_back(argv[k]);
        } else if (arg == "-o") {
            if (options.toFile) {
                error = "-o is given more than once";
                return false;
            }
            if (k + 1 >= argc || std::string_view(argv[k + 1]).empty()) {
                error = "-o needs a file name";
                return false;
            }
            options.toFile = true;
            options.outPath = argv[++k];
        } else if (arg == "--exclude-a") {
            options.rules.includeOnlyA = false;
        } else if (arg == "--exclude-b") {
            options.rules.includeOnlyB = false;
        } else if (arg == "--exclude-common") {
            options.rules.includeCommon = false;
        } else if (arg == "--no-prefix-a") {
            options.rules.prefixOnlyA = false;
        } else if (arg == "--no-prefix-b") {
            options.rules.prefixOnlyB = false;
        } else if (arg.starts_with("--prefix-a=")) {
            options.rules.prefixes.docA = MarkerBytes(arg.substr(11));
        } else if (arg.starts_with("--prefix-b=")) {
            options.rules.prefixes.docB = MarkerBytes(arg.substr(11));
        } else if (arg == "--json") {
            error = "--json is not an option of merge";
            return false;
        } else {
            rest.push_back(argv[k]);
        }
    }
    return true;
}

bool WriteToStandardOutput(std::string_view bytes)
{
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return std::fflush(stdout) == 0 && written;
}

}  // namespace

int RunMergeCommand(int argc, char** argv)
{
    MergeCommandOptions mergeOptions;
    std::vector<char*> rest;
    std::string error;
    if (!SplitMergeArguments(argc, argv, mergeOptions, rest, error))
        return ReportUsageError(kMergeCommand, error, MergeUsage());
    CompareCommandOptions compareOptions;
    const ParseOutcome parsed =
        ParseCompareArguments(static_cast<int>(rest.size()), rest.data(), compareOptions, error);
    if (const std::optional<int> exitCode = ExitBeforeRun(parsed, kMergeCommand, error, MergeUsage()))
        return *exitCode;

    TextDocument doc;
    doc.recording = false;
    const ReadingOptions& reading = compareOptions.reading;
    if (!LoadInputFile(doc, compareOptions.fileA, reading.eucChg, kMergeCommand, reading.encodings[0]) ||
        !LoadInputFile(doc, compareOptions.fileB, reading.eucChg, kMergeCommand, reading.encodings[1]))
        return kExitFile;

    const MergeOutcome merged = RunMerge(Compare(doc.texts, compareOptions.run), mergeOptions.rules);

    if (mergeOptions.toFile) {
        if (!SaveMergedText(mergeOptions.outPath, merged.text, error)) {
            PrintCommandError(kMergeCommand, error);
            return kExitFile;
        }
    } else if (!WriteToStandardOutput(merged.text)) {
        return ReportOutputFailure(kMergeCommand, errno);
    }
    return kExitOk;
}

}  // namespace kl::cli
