// kestrilane-cli linediff, run as a separate process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_cli.h"
#include "tests/support/temp_dir.h"

namespace {

using kltest::CliResult;

CliResult RunLineDiff(const kltest::TempDir& dir, std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "linediff");
    return kltest::RunCli(dir, arguments);
}

TEST(LineDiffCli, JsonOfOneDifferingCharacter)
{
    kltest::TempDir dir;
    const std::string a = dir.write("a.txt", "first\r\nabcXdef\r\n");
    const std::string b = dir.write("b.txt", "abcYdef\r\n");
    const CliResult run = RunLineDiff(dir, {"--json", a, "2", b, "1"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"segments1\": [{\"start\": 0, \"end\": 4, \"isDifference\": 1}, {\"start\": 4, \"end\": 8, \"isDifference\": 0}], "
              "\"segments2\": [{\"start\": 0, \"end\": 4, \"isDifference\": 1}, {\"start\": 4, \"end\": 8, \"isDifference\": 0}]}\n");
}

TEST(LineDiffCli, ListingMarksDifferingColumns)
{
    kltest::TempDir dir;
    // "あいうX" and "あいうYZ": the full-width characters take two columns each.
    const std::string a = dir.write("a.txt", "\x82\xa0\x82\xa2\x82\xa4X\r\n");
    const std::string b = dir.write("b.txt", "\x82\xa0\x82\xa2\x82\xa4YZ\r\n");
    const CliResult run = RunLineDiff(dir, {a, "1", b, "1"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "1 あいうX\n        ^\n2 あいうYZ\n        ^^\n");
}

TEST(LineDiffCli, EncodingOptionsChooseHowEachFileIsRead)
{
    kltest::TempDir dir;
    // C3 A9 is "é" in UTF-8 and the half-width katakana "ﾃｩ" in Shift_JIS.
    const std::string a = dir.write("a.txt", "\xc3\xa9\xc3\xa9\r\n");
    const struct {
        std::vector<std::string> options;
        std::string listing;
    } cases[] = {
        {{}, "1 éé\n\n2 éé\n\n"},
        {{"--encoding-a=sjis", "--encoding-b=sjis"}, "1 ﾃｩﾃｩ\n\n2 ﾃｩﾃｩ\n\n"},
        {{"--encoding-a=utf8", "--encoding-b=auto"}, "1 éé\n\n2 éé\n\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = c.options;
        arguments.insert(arguments.end(), {a, "1", a, "1"});
        const CliResult run = RunLineDiff(dir, arguments);
        const std::string shown = kltest::ShownArguments(arguments);
        EXPECT_EQ(run.exitCode, 0) << shown << run.err;
        EXPECT_EQ(run.out, c.listing) << shown;
    }
}

TEST(LineDiffCli, UsageErrors)
{
    kltest::TempDir dir;
    const std::string a = dir.write("a.txt", "one\r\ntwo\r\n");
    const std::vector<std::vector<std::string>> cases = {
        {a, "3", a, "1"},    // beyond the last line of FILE_1
        {a, "1", a, "3"},    // beyond the last line of FILE_2
        {a, "0", a, "1"},    // not positive
        {a, "x", a, "1"},    // not a number
        {a, "-1", a, "1"},   // negative
        {a, "1", a},         // missing LINE_2
        {"--bogus", a, "1", a, "1"},
        {"--encoding-b=latin1", a, "1", a, "1"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        const CliResult run = RunLineDiff(dir, arguments);
        const std::string shown = kltest::ShownArguments(arguments);
        EXPECT_EQ(run.exitCode, 2) << shown;
        EXPECT_NE(run.err.find("linediff"), std::string::npos) << shown;
        EXPECT_TRUE(run.out.empty()) << shown;
    }
}

TEST(LineDiffCli, UnreadableFileIsNamed)
{
    kltest::TempDir dir;
    const std::string a = dir.write("a.txt", "one\r\n");
    const std::string missing = dir.file("missing.txt");
    const CliResult run = RunLineDiff(dir, {a, "1", missing, "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("missing.txt"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
}

}  // namespace
