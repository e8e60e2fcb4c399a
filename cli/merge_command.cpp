// `kestrilane-cli merge`: compares two files like `compare` and writes the merged text
// that the automatic merge builds from the result.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "document/document_ops.h"
#include "merge/merge_output.h"
#include "merge/merge_walk.h"
#include "platform/cp932.h"

namespace kl::cli {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFile = 1;
constexpr int kExitUsage = 2;

const char* MergeUsage()
{
    return "usage: kestrilane-cli merge [OPTIONS] FILE_A FILE_B [-o OUT]\n"
           "Compares two texts (code page 932) and writes the merged text: the common lines,\n"
           "the lines only in FILE_A and the lines only in FILE_B in the order of the result,\n"
           "each one-sided line after its marker. Written byte for byte to OUT (replaced as a\n"
           "whole) or to standard output.\n"
           "merge options:\n"
           "  -o OUT                    write to OUT instead of standard output\n"
           "  --exclude-a               leave out the lines only in FILE_A\n"
           "  --exclude-b               leave out the lines only in FILE_B\n"
           "  --exclude-common          leave out the lines common to both\n"
           "  --no-prefix-a             no marker before lines only in FILE_A\n"
           "  --no-prefix-b             no marker before lines only in FILE_B\n"
           "  --prefix-a=TEXT           marker before lines only in FILE_A (default !DOC_A>>>)\n"
           "  --prefix-b=TEXT           marker before lines only in FILE_B (default !DOC_B>>>)\n"
           "                            (UTF-8 is converted to code page 932; other bytes are kept)\n"
           "compare options:\n"
           "  --detailed                detailed comparison (searches every line)\n"
           "  --ignore-newline          ignore line-end differences\n"
           "  --ignore-space-tab        leave half-width spaces and tabs out\n"
           "  --wide-space-as-two       count a full-width space as two spaces\n"
           "  --ignore-trailing-spaces  ignore trailing half-width spaces\n"
           "  --delimiter=C             compare only head and tail up to the byte C\n"
           "  --preset=CODE             apply a five-digit compare-mode code last\n"
           "  --euc                     convert EUC-JP lines when loading\n"
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

// Loads path as the next text; on failure prints a message naming the file.
bool LoadFile(TextDocument& doc, const std::string& path, bool eucChg)
{
    std::string error;
    if (LoadIntoDocument(doc, path, eucChg, error))
        return true;
    if (!IsValidUtf8(error))
        error = Cp932ToUtf8(error);
    if (error.find(path) == std::string::npos)
        error = "cannot read '" + path + "'" + (error.empty() ? "" : ": " + error);
    std::fprintf(stderr, "kestrilane-cli merge: %s\n", error.c_str());
    return false;
}

bool WriteToStandardOutput(std::string_view bytes)
{
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return std::fflush(stdout) == 0 && written;
}

int UsageError(const std::string& error)
{
    std::fprintf(stderr, "kestrilane-cli merge: %s\n", error.c_str());
    std::fputs(MergeUsage(), stderr);
    return kExitUsage;
}

}  // namespace

int RunMergeCommand(int argc, char** argv)
{
    MergeCommandOptions mergeOptions;
    std::vector<char*> rest;
    std::string error;
    if (!SplitMergeArguments(argc, argv, mergeOptions, rest, error))
        return UsageError(error);
    CompareCommandOptions compareOptions;
    switch (ParseCompareArguments(static_cast<int>(rest.size()), rest.data(), compareOptions, error)) {
    case ParseOutcome::Help:
        std::fputs(MergeUsage(), stdout);
        return kExitOk;
    case ParseOutcome::UsageError:
        return UsageError(error);
    case ParseOutcome::Run:
        break;
    }
    if (compareOptions.json)
        return UsageError("--json is not an option of merge");

    TextDocument doc;
    doc.recording = false;
    if (!LoadFile(doc, compareOptions.fileA, compareOptions.eucChg) ||
        !LoadFile(doc, compareOptions.fileB, compareOptions.eucChg))
        return kExitFile;

    g_abortRequested = 0;
    g_compareRunning = 1;
    RunCompare(doc, compareOptions.run, CompareRunCallbacks{});
    const MergeOutcome merged = RunMerge(doc, mergeOptions.rules);

    if (mergeOptions.toFile) {
        if (!SaveMergedText(mergeOptions.outPath, merged.text, error)) {
            std::fprintf(stderr, "kestrilane-cli merge: %s\n", error.c_str());
            return kExitFile;
        }
    } else if (!WriteToStandardOutput(merged.text)) {
        std::fputs("kestrilane-cli merge: cannot write the merged text\n", stderr);
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace kl::cli
