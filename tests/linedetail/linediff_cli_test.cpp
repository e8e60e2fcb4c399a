// kestrilane-cli linediff, run as a separate process.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/temp_dir.h"

namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

CliRun RunCli(const kltest::TempDir& dir, const std::string& arguments)
{
    const std::string errPath = dir.file("stderr.txt");
    const std::string command = Quoted(KESTRILANE_CLI) + " linediff " + arguments + " 2>" + Quoted(errPath);
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, got);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = kltest::ReadFileBytes(errPath);
    return run;
}

TEST(LineDiffCli, JsonOfOneDifferingCharacter)
{
    kltest::TempDir dir;
    const std::string a = dir.write("a.txt", "first\r\nabcXdef\r\n");
    const std::string b = dir.write("b.txt", "abcYdef\r\n");
    const CliRun run = RunCli(dir, "--json " + Quoted(a) + " 2 " + Quoted(b) + " 1");
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
    const CliRun run = RunCli(dir, Quoted(a) + " 1 " + Quoted(b) + " 1");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "1 あいうX\n        ^\n2 あいうYZ\n        ^^\n");
}

TEST(LineDiffCli, UsageErrors)
{
    kltest::TempDir dir;
    const std::string a = Quoted(dir.write("a.txt", "one\r\ntwo\r\n"));
    const std::string cases[] = {
        a + " 3 " + a + " 1",    // beyond the last line of FILE_1
        a + " 1 " + a + " 3",    // beyond the last line of FILE_2
        a + " 0 " + a + " 1",    // not positive
        a + " x " + a + " 1",    // not a number
        a + " -1 " + a + " 1",   // negative
        a + " 1 " + a,           // missing LINE_2
        "--bogus " + a + " 1 " + a + " 1",
    };
    for (const std::string& arguments : cases) {
        const CliRun run = RunCli(dir, arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_NE(run.err.find("linediff"), std::string::npos) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
    }
}

TEST(LineDiffCli, UnreadableFileIsNamed)
{
    kltest::TempDir dir;
    const std::string a = dir.write("a.txt", "one\r\n");
    const std::string missing = dir.file("missing.txt");
    const CliRun run = RunCli(dir, Quoted(a) + " 1 " + Quoted(missing) + " 1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("missing.txt"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
}

}  // namespace
