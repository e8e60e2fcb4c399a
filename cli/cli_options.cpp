#include "cli/cli_options.h"

#include <optional>
#include <string_view>
#include <vector>

#include "engine/compare/line_filters.h"
#include "engine/compare/presets.h"
#include "engine/platform/cp932.h"

namespace kl::cli {

namespace {

// The value of "--name=VALUE" when arg has that form.
std::optional<std::string_view> OptionValue(std::string_view arg, std::string_view name)
{
    if (arg.size() <= name.size() || arg.substr(0, name.size()) != name || arg[name.size()] != '=')
        return std::nullopt;
    return arg.substr(name.size() + 1);
}

// Five digits, or five digits, a hyphen and four digits.
bool IsPresetCode(std::string_view code)
{
    if (code.size() != 5 && (code.size() != 10 || code[5] != '-'))
        return false;
    for (std::size_t k = 0; k < code.size(); ++k) {
        if (k != 5 && (code[k] < '0' || code[k] > '9'))
            return false;
    }
    return true;
}

// The delimiter is one byte of code page 932: an ASCII character or a half-width katakana.
std::optional<char> DelimiterByte(std::string_view text)
{
    if (text.size() == 1)
        return text[0];
    if (!IsValidUtf8(text))
        return std::nullopt;
    // A character without a code comes back as '?'.
    const std::string converted = Utf8ToCp932(text);
    if (converted.size() != 1 || converted == "?")
        return std::nullopt;
    return converted[0];
}

std::optional<int> ContextLines(std::string_view text)
{
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    int lines = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        lines = lines * 10 + (c - '0');
    }
    return lines;
}

// The encoding named by an --encoding-a / --encoding-b value.
std::optional<EncodingChoice> EncodingChoiceNamed(std::string_view name)
{
    if (name == "auto")
        return EncodingChoice::Auto;
    if (name == "sjis" || name == "shift_jis" || name == "cp932")
        return EncodingChoice::ShiftJis;
    if (name == "utf8" || name == "utf-8")
        return EncodingChoice::Utf8;
    if (name == "eucjp" || name == "euc-jp")
        return EncodingChoice::EucJp;
    return std::nullopt;
}

std::optional<CompareMode> ModeNamed(std::string_view name)
{
    if (name == "normal")
        return COMPARE_NORMAL;
    if (name == "detailed")
        return COMPARE_DETAILED;
    if (name == "minimal")
        return COMPARE_MINIMAL;
    return std::nullopt;
}

}  // namespace

bool ReadLineEqualitySwitch(std::string_view arg, CompareOptions& options)
{
    if (arg == "--ignore-newline")
        options.ignoreNewline = true;
    else if (arg == "--ignore-space-tab")
        options.ignoreSpaceTab = true;
    else if (arg == "--wide-space-as-two")
        options.wideSpaceAsTwo = 1;
    else if (arg == "--ignore-trailing-spaces")
        options.ignoreTrailingSpaces = 1;
    else
        return false;
    return true;
}

OptionRead ReadReadingOption(std::string_view arg, ReadingOptions& reading, std::string& error)
{
    if (arg == "--euc") {
        reading.eucChg = true;
        return OptionRead::Taken;
    }
    const std::optional<std::string_view> first = OptionValue(arg, "--encoding-a");
    const std::optional<std::string_view> second = OptionValue(arg, "--encoding-b");
    if (!first && !second)
        return OptionRead::NotThis;
    const std::optional<EncodingChoice> choice = EncodingChoiceNamed(first ? *first : *second);
    if (!choice) {
        error = "--encoding-a and --encoding-b take auto, sjis, utf8 or eucjp";
        return OptionRead::Invalid;
    }
    reading.encodings[first ? 0 : 1] = *choice;
    return OptionRead::Taken;
}

const char* EncodingsUsage()
{
    return "Files are read as Shift_JIS (code page 932) or UTF-8, told apart by their bytes\n"
           "unless chosen with --encoding-a / --encoding-b; UTF-16 is read as UTF-8, and a\n"
           "Shift_JIS text beside a UTF-8 one is read as UTF-8.\n";
}

std::string ReadingSwitchesUsage(std::string_view first, std::string_view second)
{
    return "  --euc                     convert EUC-JP lines of Shift_JIS texts when loading\n"
           "  --encoding-a=E, --encoding-b=E\n"
           "                            read " + std::string(first) + " / " + std::string(second) +
           " as E: auto (from its bytes,\n"
           "                            the default), sjis, utf8 or eucjp (EUC-JP converted\n"
           "                            to Shift_JIS)\n";
}

std::string CompareSwitchesUsage()
{
    return "  --detailed                detailed comparison (searches every line)\n"
           "  --minimal                 minimal comparison (fewest changed lines, as diff)\n"
           "  --mode=M                  normal, detailed or minimal (--unified: minimal)\n"
           "  --ignore-newline          ignore line-end differences\n"
           "  --ignore-space-tab        leave half-width spaces and tabs out\n"
           "  --wide-space-as-two       count a full-width space as two spaces\n"
           "  --ignore-trailing-spaces  ignore trailing half-width spaces\n"
           "  --delimiter=C             compare only head and tail up to the byte C\n"
           "  --ignore-case             ASCII and full-width Latin letters without case\n"
           "  --ignore-blank-lines      lines empty or of spaces and tabs take no part\n"
           "  --line-filter=RE          lines matching the regular expression take no part\n"
           "                            (repeatable)\n"
           "  --substitute=/RE/TEXT/    replace RE by TEXT in the compared keys (repeatable)\n"
           "  --preset=CODE             apply a compare-mode code last (01100, 01100-1000)\n" +
           ReadingSwitchesUsage("FILE_A", "FILE_B");
}

std::string CompareUsage()
{
    return std::string("usage: kestrilane-cli compare [OPTIONS] FILE_A FILE_B\n"
                       "       kestrilane-cli compare --html [--context N] FILE_A FILE_B [-o OUT]\n"
                       "Compares two texts line by line and prints the aligned result.\n") +
           EncodingsUsage() +
           "The listing and the JSON are written in UTF-8.\n"
           "Listing columns: line number, DocA text, marker, line number, DocB text.\n"
           "Markers: ' ' common, '<' only in FILE_A, '>' only in FILE_B,\n"
           "         '~' a FILE_A line that exists elsewhere in FILE_B,\n"
           "         '.' lines left out by --ignore-blank-lines or --line-filter.\n"
           "options:\n"
           "  --json                    print the whole result as one JSON object\n"
           "  --paired                  with --json: add \"shown\", the rows with changed lines\n"
           "                            side by side and their changed characters marked;\n"
           "                            with --html: pair the changed lines likewise\n"
           "  -u, --unified[=N]         print a unified diff with N context lines (3)\n"
           "  -q, --brief               only say whether the files differ\n"
           "  --stat                    print the number of lines of each kind\n"
           "  --html                    write an HTML report: both files, the compare method,\n"
           "                            the totals, a list of the differences and the rows\n"
           "                            side by side in the window's default colours\n"
           "                            (UTF-8, no script)\n"
           "  --context=N, --context N  with --html: only the differences and N rows around\n"
           "                            each; left-out rows are marked \"… 120行省略 …\"\n"
           "  --no-newline-marks        with --html: no line-end marks\n"
           "  -o OUT                    with --html: write the report to OUT (replaced as a\n"
           "                            whole) instead of standard output\n"
           "Exit status: 0 for --unified, --brief and --stat when the files give no\n"
           "difference, 1 when they differ, 2 on trouble; otherwise 0 on success.\n" +
           CompareSwitchesUsage() +
           "  --no-position-message     put the right message opposite moved lines\n"
           "  --left-message=TEXT       filler text opposite lines only in FILE_B\n"
           "  --right-message=TEXT      filler text opposite lines only in FILE_A\n"
           "  --help                    show this text\n";
}

ParseOutcome ParseCompareArguments(int argc, char** argv, CompareCommandOptions& options,
                                   std::string& error)
{
    std::vector<std::string> files;
    std::optional<std::string_view> preset;
    CompareOptions& compare = options.run.options;
    bool optionsEnded = false;
    bool modeGiven = false;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            return ParseOutcome::Help;
        } else if (arg == "--json") {
            options.output = CompareOutput::Json;
        } else if (arg == "--paired") {
            options.paired = true;
        } else if (arg == "--unified" || arg == "-u") {
            options.output = CompareOutput::Unified;
        } else if (auto value = OptionValue(arg, "--unified")) {
            const std::optional<int> lines = ContextLines(*value);
            if (!lines) {
                error = "--unified=N needs a number of context lines";
                return ParseOutcome::UsageError;
            }
            options.output = CompareOutput::Unified;
            options.unifiedContext = *lines;
        } else if (arg == "--brief" || arg == "-q") {
            options.output = CompareOutput::Brief;
        } else if (arg == "--stat") {
            options.output = CompareOutput::Stat;
        } else if (arg == "--html") {
            options.output = CompareOutput::Html;
        } else if (arg == "--context" || arg.starts_with("--context=")) {
            const std::optional<std::string_view> value =
                arg == "--context" ? (k + 1 < argc ? std::optional<std::string_view>(argv[++k]) : std::nullopt)
                                   : OptionValue(arg, "--context");
            const std::optional<int> lines = value ? ContextLines(*value) : std::nullopt;
            if (!lines) {
                error = "--context needs a number of rows";
                return ParseOutcome::UsageError;
            }
            options.reportContext = *lines;
        } else if (arg == "--no-newline-marks") {
            options.newlineMarks = false;
        } else if (arg == "-o") {
            if (k + 1 >= argc || std::string_view(argv[k + 1]).empty()) {
                error = "-o needs a file name";
                return ParseOutcome::UsageError;
            }
            options.outPath = argv[++k];
        } else if (arg == "--detailed") {
            options.run.mode = COMPARE_DETAILED;
            modeGiven = true;
        } else if (arg == "--minimal") {
            options.run.mode = COMPARE_MINIMAL;
            modeGiven = true;
        } else if (auto value = OptionValue(arg, "--mode")) {
            const std::optional<CompareMode> mode = ModeNamed(*value);
            if (!mode) {
                error = "--mode takes normal, detailed or minimal";
                return ParseOutcome::UsageError;
            }
            options.run.mode = *mode;
            modeGiven = true;
        } else if (ReadLineEqualitySwitch(arg, compare)) {
        } else if (arg == "--ignore-case") {
            compare.ignoreCase = true;
        } else if (arg == "--ignore-blank-lines") {
            compare.ignoreBlankLines = true;
        } else if (auto value = OptionValue(arg, "--line-filter")) {
            compare.lineFilters.emplace_back(*value);
            compare.useLineFilters = true;
        } else if (auto value = OptionValue(arg, "--substitute")) {
            const std::optional<SubstitutionFilter> filter = ParseSubstitution(*value);
            if (!filter) {
                error = "--substitute takes /PATTERN/TEXT/ (any delimiter in place of /)";
                return ParseOutcome::UsageError;
            }
            compare.substitutions.push_back(*filter);
            compare.useSubstitutions = true;
        } else if (const OptionRead read = ReadReadingOption(arg, options.reading, error);
                   read != OptionRead::NotThis) {
            if (read == OptionRead::Invalid)
                return ParseOutcome::UsageError;
        } else if (arg == "--no-position-message") {
            options.run.messages.positionMessages = false;
        } else if (auto value = OptionValue(arg, "--delimiter")) {
            const std::optional<char> delimiter = DelimiterByte(*value);
            if (!delimiter) {
                error = "--delimiter needs exactly one single-byte character";
                return ParseOutcome::UsageError;
            }
            compare.method = 1;
            compare.delimiter = *delimiter;
        } else if (auto value = OptionValue(arg, "--preset")) {
            if (!IsPresetCode(*value)) {
                error = "--preset needs a code of five digits, for example 01100, or 01100-1000";
                return ParseOutcome::UsageError;
            }
            preset = *value;
        } else if (auto value = OptionValue(arg, "--left-message")) {
            options.run.messages.left = Utf8ToCp932(*value);
        } else if (auto value = OptionValue(arg, "--right-message")) {
            options.run.messages.right = Utf8ToCp932(*value);
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return ParseOutcome::UsageError;
        }
    }
    if (options.output != CompareOutput::Html && (options.reportContext >= 0 || !options.outPath.empty())) {
        error = "--context and -o go with --html";
        return ParseOutcome::UsageError;
    }
    if (files.size() != 2) {
        error = "two files are needed, " + std::to_string(files.size()) + " given";
        return ParseOutcome::UsageError;
    }
    if (const std::string invalid = InvalidFilterPattern(compare); !invalid.empty()) {
        error = "invalid regular expression " + invalid;
        return ParseOutcome::UsageError;
    }
    // A patch should be as small as diff's, unless the matcher's view is asked for.
    if (options.output == CompareOutput::Unified && !modeGiven)
        options.run.mode = COMPARE_MINIMAL;
    // A selected preset overrides the method and the switches when a run starts.
    if (preset)
        PresetFromCode(*preset, compare);
    options.fileA = files[0];
    options.fileB = files[1];
    return ParseOutcome::Run;
}

}  // namespace kl::cli
