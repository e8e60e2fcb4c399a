// `kestrilane-cli compare-dirs`: compares two folders and lists every entry with its state.
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/folder_json.h"
#include "cli/output_buffer.h"
#include "engine/folders/folder_compare.h"
#include "engine/platform/display_path.h"
#include "engine/platform/file_error_text.h"

namespace kl::cli {

namespace {

constexpr std::string_view kCompareDirsCommand = "compare-dirs";

enum class DirsOutput { Listing, Brief, Json };

struct DirsOptions {
    FolderCompareRequest request;
    DirsOutput output = DirsOutput::Listing;
    std::string folderA;
    std::string folderB;
};

std::string DirsUsage()
{
    return "usage: kestrilane-cli compare-dirs [OPTIONS] DIR_A DIR_B\n"
           "Compares two folders, merged by relative path, and lists each entry with its\n"
           "state: 同一, 相違, DocAのみ, DocBのみ, バイナリ相違, 読み込みエラー, 改行のみ相違,\n"
           "比較条件で同一 (with --text), 種類相違 (a file against a folder or link) and\n"
           "特殊ファイル (pipes, sockets, devices: never opened). Folder paths end in '/'.\n"
           "Symbolic links are compared by what they point to and never followed.\n"
           "Files of equal size are compared block by block up to the first difference; a\n"
           "file with a NUL byte in its first 8 KB is binary and compared by bytes only.\n"
           "options:\n"
           "  --json                    print the whole tree with states, sizes and times\n"
           "  -q, --brief               list only the entries that differ\n"
           "  --text                    compare differing texts again under the compare\n"
           "                            options, naming line-end-only differences\n"
           "  --include P               take only files matching P (\"*.txt;*.md\")\n"
           "  --exclude P               leave out files and folders matching P\n"
           "                            (\".git;node_modules;*.bak\")\n"
           "  --no-hidden               leave out names that start with a dot\n"
           "  --ignore-newline, --ignore-space-tab, --wide-space-as-two,\n"
           "  --ignore-trailing-spaces  compare options of --text (see compare --help)\n"
           "  --help                    show this text\n"
           "Exit status: 0 when the folders are the same, 1 when they differ, 2 on trouble\n"
           "(an entry that cannot be read).\n";
}

ParseOutcome ParseDirsArguments(int argc, char** argv, DirsOptions& options, std::string& error)
{
    std::vector<std::string> folders;
    bool optionsEnded = false;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            folders.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            return ParseOutcome::Help;
        } else if (arg == "--json") {
            options.output = DirsOutput::Json;
        } else if (arg == "--brief" || arg == "-q") {
            options.output = DirsOutput::Brief;
        } else if (arg == "--text") {
            options.request.compareAsText = true;
        } else if (arg == "--no-hidden") {
            options.request.filter.includeHidden = false;
        } else if (arg == "--include" || arg == "--exclude") {
            if (k + 1 >= argc) {
                error = std::string(arg) + " needs a pattern list";
                return ParseOutcome::UsageError;
            }
            std::vector<std::string> patterns = SplitPatterns(argv[++k]);
            auto& list = arg == "--include" ? options.request.filter.include : options.request.filter.exclude;
            list.insert(list.end(), patterns.begin(), patterns.end());
        } else if (ReadLineEqualitySwitch(arg, options.request.options)) {
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return ParseOutcome::UsageError;
        }
    }
    if (folders.size() != 2) {
        error = "two folders are needed, " + std::to_string(folders.size()) + " given";
        return ParseOutcome::UsageError;
    }
    options.folderA = folders[0];
    options.folderB = folders[1];
    return ParseOutcome::Run;
}

// Entries in the order of a listing: each folder followed by what is below it.
template <typename Visit>
void VisitInOrder(const FolderTree& tree, Visit visit)
{
    std::vector<int> pending;
    const FolderEntry& root = tree.entries.front();
    for (int c = root.childCount; c-- > 0;)
        pending.push_back(root.firstChild + c);
    while (!pending.empty()) {
        const int index = pending.back();
        pending.pop_back();
        visit(index);
        const FolderEntry& entry = tree.entries[static_cast<std::size_t>(index)];
        for (int c = entry.childCount; c-- > 0;)
            pending.push_back(entry.firstChild + c);
    }
}

// Whether the entry itself differs, not only something below it.
bool DiffersItself(const FolderEntry& entry)
{
    return IsDifference(entry.state) && !(entry.IsFolder() && entry.state == EntryState::Different);
}

void WriteListing(OutputBuffer& out, const FolderTree& tree, bool brief)
{
    VisitInOrder(tree, [&](int index) {
        const FolderEntry& entry = tree.entries[static_cast<std::size_t>(index)];
        if (brief && !DiffersItself(entry))
            return;
        out.Put(EntryStateLabel(entry.state));
        out.Put('\t');
        out.Put(DisplayPath(RelativePath(tree, index)));
        if (entry.IsFolder() && entry.state != EntryState::KindDifferent)
            out.Put('/');
        out.Put('\n');
    });
    if (!brief) {
        out.Put("合計: ");
        out.Put(CountsSummary(Totals(tree)));
        out.Put('\n');
    }
}

bool HasTrouble(const FolderTree& tree)
{
    for (const FolderEntry& entry : tree.entries) {
        if (entry.state == EntryState::ReadError)
            return true;
    }
    return false;
}

void ReportErrors(const FolderTree& tree)
{
    for (std::size_t i = 0; i < tree.entries.size(); ++i) {
        const FolderEntry& entry = tree.entries[i];
        for (int side = 0; side < 2; ++side) {
            const int error = entry.sides[static_cast<std::size_t>(side)].error;
            if (error != 0)
                PrintCommandError(kCompareDirsCommand, DisplayPath(SidePath(tree, static_cast<int>(i), side)) + ": " +
                                                FileErrorText(error));
        }
    }
}

}  // namespace

int RunCompareDirsCommand(int argc, char** argv)
{
    UseExitCodes(ExitCodes::DiffStyle);
    DirsOptions options;
    std::string error;
    const ParseOutcome parsed = ParseDirsArguments(argc, argv, options, error);
    if (const std::optional<int> exitCode = ExitBeforeRun(parsed, kCompareDirsCommand, error, DirsUsage()))
        return *exitCode == kExitOk ? kExitSame : kExitTrouble;

    // Only the JSON names each file's encoding and line ends.
    options.request.describeFiles = options.output == DirsOutput::Json;
    const FolderTree tree = CompareFolders(options.folderA, options.folderB, options.request);
    ReportErrors(tree);
    OutputBuffer out(stdout);
    if (options.output == DirsOutput::Json)
        WriteFolderJson(out, tree);
    else
        WriteListing(out, tree, options.output == DirsOutput::Brief);
    if (!out.Flush()) {
        ReportOutputFailure(kCompareDirsCommand, errno);
        return kExitTrouble;
    }
    if (HasTrouble(tree))
        return kExitTrouble;
    return DifferenceCount(Totals(tree)) > 0 ? kExitDifferent : kExitSame;
}

}  // namespace kl::cli
