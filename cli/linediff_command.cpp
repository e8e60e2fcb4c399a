// `kestrilane-cli linediff`: compares one line of a file with one line of another file
// character by character and prints the common and differing runs.
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "engine/document/text_document.h"
#include "engine/linedetail/line_compare.h"
#include "engine/platform/cp932.h"
#include "engine/platform/display_path.h"
#include "engine/platform/text_encoding.h"

namespace kl::cli {

namespace {

constexpr std::string_view kLineDiffCommand = "linediff";
constexpr int kTabColumns = 8;

std::string LineDiffUsage()
{
    return std::string("usage: kestrilane-cli linediff [OPTIONS] FILE_1 LINE_1 FILE_2 LINE_2\n"
                       "Compares line LINE_1 of FILE_1 with line LINE_2 of FILE_2 (1-based numbers)\n"
                       "character by character. The listing shows both lines with '^' under the\n"
                       "characters of the differing runs.\n") +
           EncodingsUsage() +
           "The listing is written in UTF-8.\n"
           "options:\n"
           "  --json                    print {\"segments1\": [...], \"segments2\": [...]} with\n"
           "                            the runs as {\"start\": byte offset, \"end\": byte\n"
           "                            offset, \"isDifference\": 0 or 1}, and \"note\" when\n"
           "                            lines of over 10000 characters were compared the\n"
           "                            cheaper way\n" +
           ReadingSwitchesUsage("FILE_1", "FILE_2") +
           "  --help                    show this text\n";
}

struct LineDiffOptions {
    bool json = false;
    ReadingOptions reading;
    std::string files[2];
    int lineNumbers[2] = {0, 0};  // 1-based
};

// A positive decimal number that fits an int, or 0.
int PositiveNumber(std::string_view text)
{
    if (text.empty() || text.size() > 10)
        return 0;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= 0x7FFFFFFF ? static_cast<int>(value) : 0;
}

ParseOutcome ParseArguments(int argc, char** argv, LineDiffOptions& options, std::string& error)
{
    std::vector<std::string_view> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--help" || arg == "-h") {
            return ParseOutcome::Help;
        } else if (const OptionRead read = ReadReadingOption(arg, options.reading, error);
                   read != OptionRead::NotThis) {
            if (read == OptionRead::Invalid)
                return ParseOutcome::UsageError;
        } else if (arg.size() > 1 && arg[0] == '-' && PositiveNumber(arg.substr(1)) == 0) {
            error = "unknown option '" + std::string(arg) + "'";
            return ParseOutcome::UsageError;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 4) {
        error = "FILE_1 LINE_1 FILE_2 LINE_2 are needed, " + std::to_string(positional.size()) + " arguments given";
        return ParseOutcome::UsageError;
    }
    for (int k = 0; k < 2; ++k) {
        options.files[k] = std::string(positional[static_cast<std::size_t>(2 * k)]);
        const std::string_view number = positional[static_cast<std::size_t>(2 * k + 1)];
        options.lineNumbers[k] = PositiveNumber(number);
        if (options.lineNumbers[k] == 0) {
            error = "LINE_" + std::to_string(k + 1) + " must be a positive line number, not '" + std::string(number) + "'";
            return ParseOutcome::UsageError;
        }
    }
    return ParseOutcome::Run;
}

void PrintJsonSegments(const char* name, const std::vector<LineSegment>& segments)
{
    std::printf("\"%s\": [", name);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const LineSegment& s = segments[i];
        std::printf("%s{\"start\": %d, \"end\": %d, \"isDifference\": %d}", i == 0 ? "" : ", ",
                    static_cast<int>(s.start), static_cast<int>(s.end), static_cast<int>(s.isDifference));
    }
    std::printf("]");
}

// The line (without its line end) in UTF-8 and a marker line with '^' under every column
// of a character that starts in a difference run. Columns follow the display width:
// a double-byte character takes two, a tab reaches the next multiple of 8, and control
// characters show as '?'.
struct MarkedLine {
    std::string text;
    std::string marks;
};

// Columns a character takes on a terminal: one for ASCII and half-width katakana, two for
// the rest.
std::size_t Columns(std::string_view character, TextEncoding encoding)
{
    if (character.empty())
        return 0;
    std::size_t pos = 0;
    const char32_t cp = DecodeCharIn(encoding, character, pos);
    const bool narrow = cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F) || cp == 0xFFFD;
    return narrow ? 1 : 2;
}

MarkedLine MarkLine(std::string_view line, const std::vector<LineSegment>& segments, TextEncoding encoding)
{
    std::vector<char> differing(line.size(), 0);
    for (const LineSegment& s : segments) {
        if (s.isDifference == 0)
            continue;
        for (std::int32_t k = s.start; k < s.end && static_cast<std::size_t>(k) < line.size(); ++k)
            differing[static_cast<std::size_t>(k)] = 1;
    }
    MarkedLine out;
    const std::size_t contentEnd = line.size() - LineEndLength(line, encoding);
    std::size_t column = 0;
    for (std::size_t pos = 0; pos < contentEnd;) {
        const std::size_t next = NextCharIn(encoding, line, pos);
        std::size_t width = encoding == TextEncoding::Cp932 ? next - pos : Columns(line.substr(pos, next - pos), encoding);
        if (line[pos] == '\t') {
            width = kTabColumns - column % kTabColumns;
            out.text.append(width, ' ');
        } else {
            std::string glyph = DecodeToUtf8(encoding, line.substr(pos, next - pos));
            for (char& c : glyph) {
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                    c = '?';
            }
            out.text += glyph;
        }
        out.marks.append(width, differing[pos] != 0 ? '^' : ' ');
        column += width;
        pos = next;
    }
    out.marks.erase(out.marks.find_last_not_of(' ') + 1);
    return out;
}

void PrintMarkedLine(int row, std::string_view line, const std::vector<LineSegment>& segments,
                     TextEncoding encoding)
{
    const MarkedLine marked = MarkLine(line, segments, encoding);
    std::printf("%d %s\n", row, marked.text.c_str());
    std::printf("%s%s\n", marked.marks.empty() ? "" : "  ", marked.marks.c_str());
}

}  // namespace

int RunLineDiffCommand(int argc, char** argv)
{
    LineDiffOptions options;
    std::string error;
    const ParseOutcome parsed = ParseArguments(argc, argv, options, error);
    if (const std::optional<int> exitCode = ExitBeforeRun(parsed, kLineDiffCommand, error, LineDiffUsage()))
        return *exitCode;

    TextDocument doc;
    doc.recording = false;
    for (int k = 0; k < 2; ++k) {
        if (!LoadInputFile(doc, options.files[k], options.reading.eucChg, kLineDiffCommand,
                           options.reading.encodings[static_cast<std::size_t>(k)]))
            return kExitFile;
    }
    // Taken once both are loaded: loading the second may convert the first to its encoding.
    std::string_view lines[2];
    for (int k = 0; k < 2; ++k) {
        const Text& table = *doc.texts[static_cast<std::size_t>(k)];
        const int count = table.count();
        if (options.lineNumbers[k] > count) {
            PrintCommandError(kLineDiffCommand, "LINE_" + std::to_string(k + 1) + " is " + std::to_string(options.lineNumbers[k]) +
                                            ", but '" + DisplayPath(options.files[k]) + "' has " + std::to_string(count) +
                                            (count == 1 ? " line" : " lines"));
            return kExitUsage;
        }
        lines[k] = table.text(options.lineNumbers[k] - 1);
    }

    const TextEncoding encoding = doc.texts[0]->encoding;
    const LinePairResult result = CompareLinePair(lines[0], lines[1], {}, {}, encoding);
    // Long lines are compared the cheaper way; the output says so.
    const std::string note = Cp932ToUtf8(LineCompareMethodNote(result.method));
    if (options.json) {
        std::printf("{");
        PrintJsonSegments("segments1", result.segments1);
        std::printf(", ");
        PrintJsonSegments("segments2", result.segments2);
        if (!note.empty())
            std::printf(", \"note\": \"%s\"", note.c_str());
        std::printf("}\n");
    } else {
        PrintMarkedLine(1, lines[0], result.segments1, encoding);
        PrintMarkedLine(2, lines[1], result.segments2, encoding);
        if (!note.empty())
            std::printf("（%s）\n", note.c_str());
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return ReportOutputFailure(kLineDiffCommand, errno);
    return kExitOk;
}

}  // namespace kl::cli
