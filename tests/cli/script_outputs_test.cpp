// The script outputs of compare. --unified: the diff, applied to FILE_A by patch and by
// git apply, must give FILE_B byte for byte, for generated pairs with edits, moved blocks,
// mixed line ends and missing final line ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/support/run_cli.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_scale.h"

namespace {

using kltest::CliResult;

#if !defined(_WIN32)
// patch and git apply, run through a POSIX shell.
using kltest::ShellQuoted;

const std::vector<std::string> kWords = {"x", "y", "z", "", "\x82\xa0", "x y", "Y"};
const std::vector<std::string> kEnds = {"\n", "\n", "\r\n", "\r"};

std::vector<std::string> RandomLines(std::mt19937& random, std::size_t count)
{
    std::vector<std::string> lines(count);
    for (std::string& line : lines)
        line = kWords[random() % kWords.size()] + kEnds[random() % kEnds.size()];
    return lines;
}

// DocB made from DocA's lines: replaced, inserted and removed lines, a moved block, a
// changed line end.
std::vector<std::string> Edited(std::mt19937& random, std::vector<std::string> lines)
{
    for (int edits = static_cast<int>(random() % 6); edits > 0; --edits) {
        const std::size_t at = lines.empty() ? 0 : random() % lines.size();
        switch (random() % 5) {
        case 0:
            if (!lines.empty())
                lines[at] = RandomLines(random, 1)[0];
            break;
        case 1: lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), RandomLines(random, 1 + random() % 3).front()); break;
        case 2:
            if (!lines.empty())
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 3: {
            const std::size_t length = std::min<std::size_t>(1 + random() % 4, lines.size() - at);
            std::vector<std::string> block(lines.begin() + static_cast<std::ptrdiff_t>(at),
                                           lines.begin() + static_cast<std::ptrdiff_t>(at + length));
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at), lines.begin() + static_cast<std::ptrdiff_t>(at + length));
            const std::size_t to = lines.empty() ? 0 : random() % (lines.size() + 1);
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(to), block.begin(), block.end());
            break;
        }
        default:
            if (!lines.empty()) {
                std::string& line = lines[at];
                line.erase(line.find_last_not_of("\r\n") + 1);
                line += kEnds[random() % kEnds.size()];
            }
            break;
        }
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines, bool dropFinalEnd)
{
    std::string text;
    for (const std::string& line : lines)
        text += line;
    if (dropFinalEnd) {
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
    }
    return text;
}

int Shell(const std::string& command)
{
    return std::system(command.c_str());
}

TEST(UnifiedPatch, PatchAndGitApplyTurnFileAIntoFileB)
{
    // Without a mode the diff is the minimal one; the matcher's modes must give working
    // patches as well.
    const std::vector<std::vector<std::string>> optionSets = {
        {}, {"--ignore-newline"}, {"--ignore-space-tab"}, {"--detailed"}, {"--mode=normal"},
        {"--mode=normal", "--ignore-newline"}, {"--mode=detailed", "--ignore-space-tab"}};
    std::mt19937 random(4242);
    kltest::TempDir dir;
    std::filesystem::create_directories(dir.file("a"));
    std::filesystem::create_directories(dir.file("b"));
    std::filesystem::create_directories(dir.file("work"));
    for (int round = 0; round < kltest::ScaledCases(300); ++round) {
        const std::vector<std::string> linesA = RandomLines(random, random() % 12);
        const std::string a = Joined(linesA, random() % 4 == 0);
        const std::string b = Joined(Edited(random, linesA), random() % 4 == 0);
        dir.write("a/f.txt", a);
        dir.write("b/f.txt", b);
        SCOPED_TRACE(testing::PrintToString(a) + " -> " + testing::PrintToString(b));

        const unsigned context = random() % 4;
        std::vector<std::string> args = {"compare", "--unified=" + std::to_string(context)};
        const std::vector<std::string>& options = optionSets[random() % optionSets.size()];
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(dir.file("a/f.txt"));
        args.push_back(dir.file("b/f.txt"));
        const CliResult diff = kltest::RunCli(dir, args);
        ASSERT_EQ(diff.exitCode, a == b ? 0 : 1) << diff.err << diff.out;
        if (a == b) {
            EXPECT_EQ(diff.out, "");
            continue;
        }
        // The labels carry the full paths; both tools take the file to patch from the
        // command line or the working directory instead.
        dir.write("p.diff", diff.out);
        dir.write("work/f.txt", a);
        ASSERT_EQ(Shell("patch -s -N " + ShellQuoted(dir.file("work/f.txt")) + " " + ShellQuoted(dir.file("p.diff"))), 0)
            << diff.out;
        EXPECT_EQ(kltest::ReadFileBytes(dir.file("work/f.txt")), b) << diff.out;

        // git apply takes hunks without context only on request and then cannot tell
        // where the file ends; GNU diff's own -U0 output fails it the same way.
        if (context == 0)
            continue;
        dir.write("work/f.txt", a);
        const std::string labelA = dir.file("a/f.txt");
        const std::string apply = "cd " + ShellQuoted(dir.file("work")) + " && git apply -p" +
                                  std::to_string(std::count(labelA.begin(), labelA.end(), '/')) + " " +
                                  ShellQuoted(dir.file("p.diff")) + " 2>/dev/null";
        ASSERT_EQ(Shell(apply), 0) << diff.out;
        EXPECT_EQ(kltest::ReadFileBytes(dir.file("work/f.txt")), b) << diff.out;
        if (HasFailure())
            return;
    }
}

#endif

// The script outputs answer with diff's exit codes: 0 same, 1 different, 2 trouble.
TEST(ScriptOutputs, ExitCodesAndOutput)
{
    kltest::TempDir dir;
    const std::string a = dir.write("a.txt", "m\n1\n2\nx\n");
    const std::string b = dir.write("b.txt", "1\n2\nm\ny\nz\n");
    const std::string crlf = dir.write("crlf.txt", "m\r\n1\r\n2\r\nx\r\n");
    const std::string missing = dir.file("missing.txt");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out;  // expected standard output; "*" for any
    };
    const std::vector<Case> cases = {
        {{"--unified", a, dir.write("same.txt", "m\n1\n2\nx\n")}, 0, ""},
        {{"--unified", a, b}, 1, "*"},
        {{"--unified", a, missing}, 2, ""},
        {{"--unified=x", a, b}, 2, ""},
        {{"--brief", a, b}, 1, "Files " + a + " and " + b + " differ\n"},
        // Equal under the options: the same, though the bytes differ.
        {{"--brief", "--ignore-newline", a, crlf}, 0, ""},
        {{"--brief", missing, b}, 2, ""},
        {{"--stat", a, b}, 1, "common 2\nonly-a 1\nonly-b 2\nmoved-a 1\nmoved-b 1\n"},
        {{"--stat", "--ignore-newline", a, crlf}, 0, "common 4\nonly-a 0\nonly-b 0\nmoved-a 0\nmoved-b 0\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"compare"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult result = kltest::RunCli(dir, args);
        EXPECT_EQ(result.exitCode, c.exitCode) << kltest::ShownArguments(args) << result.err;
        if (c.out != "*") {
            EXPECT_EQ(result.out, c.out) << kltest::ShownArguments(args);
        }
    }
}

}  // namespace
