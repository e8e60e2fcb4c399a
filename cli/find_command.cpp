// `kestrilane-cli find`: searches one or two texts for a word or a regular expression, as the
// window's find bar does, and prints the matching lines or their counts.
#include <cerrno>
#include <cstdio>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cli_options.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/output_buffer.h"
#include "engine/platform/display_path.h"
#include "engine/platform/text_encoding.h"
#include "engine/search/text_search.h"

namespace kl::cli {

namespace {

constexpr std::string_view kFindCommand = "find";

std::string FindUsage()
{
    return std::string("usage: kestrilane-cli find [OPTIONS] PATTERN FILE_A [FILE_B]\n"
                       "Searches the files for PATTERN (UTF-8) as the window's find bar does: each\n"
                       "file in its own encoding, matches never crossing a line end. Prints each\n"
                       "matching line as FILE:LINE:TEXT in UTF-8.\n") +
           EncodingsUsage() +
           "options:\n"
           "  --ignore-case             no case distinction (ASCII and full-width letters)\n"
           "  --regex                   PATTERN is a regular expression (ECMAScript)\n"
           "  --count                   print FILE:COUNT, the number of matches in each file\n" +
           ReadingSwitchesUsage("FILE_A", "FILE_B") +
           "  --help                    show this text\n"
           "exit status: 0 a match was found, 1 none, 2 trouble\n";
}

struct FindOptions {
    SearchQuery query;
    bool count = false;
    ReadingOptions reading;
    std::vector<std::string> files;
};

ParseOutcome ParseArguments(int argc, char** argv, FindOptions& options, std::string& error)
{
    options.query.matchCase = true;
    std::vector<std::string_view> positional;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--ignore-case" || arg == "-i") {
            options.query.matchCase = false;
        } else if (arg == "--regex" || arg == "-E") {
            options.query.regularExpression = true;
        } else if (arg == "--count" || arg == "-c") {
            options.count = true;
        } else if (arg == "--help" || arg == "-h") {
            return ParseOutcome::Help;
        } else if (const OptionRead read = ReadReadingOption(arg, options.reading, error);
                   read != OptionRead::NotThis) {
            if (read == OptionRead::Invalid)
                return ParseOutcome::UsageError;
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return ParseOutcome::UsageError;
        }
    }
    if (positional.size() < 2 || positional.size() > 3) {
        error = "a pattern and one or two files are needed";
        return ParseOutcome::UsageError;
    }
    options.query.pattern = std::string(positional[0]);
    for (std::size_t k = 1; k < positional.size(); ++k)
        options.files.emplace_back(positional[k]);
    error = SearchPatternError(options.query);
    return error.empty() ? ParseOutcome::Run : ParseOutcome::UsageError;
}

// The two texts are searched at once, each on a thread of its own.
SearchResult FindInBothTexts(const TextPair& texts, const SearchQuery& query)
{
    if (!texts[1])
        return FindInTexts(texts, query);
    SearchQuery second = query;
    second.sides = SearchSides::DocB;
    // The future's end waits for the thread.
    std::future<SearchResult> other = std::async(std::launch::async, [&] { return FindInTexts(texts, second); });
    SearchQuery first = query;
    first.sides = SearchSides::DocA;
    SearchResult result = FindInTexts(texts, first);
    result.matches[1] = std::move(other.get().matches[1]);
    return result;
}

}  // namespace

int RunFindCommand(int argc, char** argv)
{
    FindOptions options;
    std::string error;
    const ParseOutcome parsed = ParseArguments(argc, argv, options, error);
    UseExitCodes(ExitCodes::DiffStyle);
    if (const std::optional<int> exitCode = ExitBeforeRun(parsed, kFindCommand, error, FindUsage()))
        return *exitCode;

    TextDocument doc;
    doc.recording = false;
    if (!LoadInputFiles(doc, options.files, options.reading, kFindCommand))
        return kExitUsage;
    const SearchResult result = FindInBothTexts(doc.texts, options.query);
    OutputBuffer out(stdout);
    for (std::size_t k = 0; k < options.files.size(); ++k) {
        const std::string name = DisplayPath(options.files[k]);
        const Text& text = *doc.texts[k];
        const std::vector<TextMatch>& matches = result.matches[k];
        if (options.count) {
            out.Put(name);
            out.Put(':');
            out.PutInt(static_cast<std::int64_t>(matches.size()));
            out.Put('\n');
            continue;
        }
        int lastLine = -1;
        for (const TextMatch& match : matches) {
            if (match.line == lastLine)
                continue;
            lastLine = match.line;
            out.Put(name);
            out.Put(':');
            out.PutInt(match.line + 1);
            out.Put(':');
            const std::string_view line = text.text(match.line);
            out.Put(DecodeToUtf8(text.encoding, line.substr(0, line.size() - static_cast<std::size_t>(NewlineKind(line)))));
            out.Put('\n');
        }
    }
    if (!out.Flush())
        return ReportOutputFailure(kFindCommand, errno);
    return result.count() > 0 ? kExitOk : kExitFile;
}

}  // namespace kl::cli
