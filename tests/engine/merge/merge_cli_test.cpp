// Runs `kestrilane-cli merge` as a program.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run_cli.h"
#include "tests/support/temp_dir.h"

namespace {

using kltest::CliResult;

class MergeCliTest : public ::testing::Test {
protected:
    // Runs the merge command with args after its name.
    CliResult Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "merge");
        return kltest::RunCli(dir_, args);
    }

    // The merge of two texts written to standard output, with extra arguments first.
    std::string Merged(const std::string& a, const std::string& b, std::vector<std::string> args = {})
    {
        args.push_back(dir_.write("a.txt", a));
        args.push_back(dir_.write("b.txt", b));
        const CliResult result = Run(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return result.out;
    }

    kltest::TempDir dir_;
};

TEST_F(MergeCliTest, IdenticalFilesReproduceTheFile)
{
    const std::string text = "first\r\nsecond\n\x82\xa0\x82\xa2\r\rlast without line end";
    EXPECT_EQ(Merged(text, text), text);

    const std::string a = dir_.write("same-a.txt", text);
    const std::string b = dir_.write("same-b.txt", text);
    const std::string out = dir_.file("out.txt");
    const CliResult result = Run({a, b, "-o", out});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(kltest::ReadFileBytes(out), text);
}

TEST_F(MergeCliTest, OptionsChooseLinesAndMarkers)
{
    const std::string a = "a\nx\nb\n";
    const std::string b = "a\ny\nb\n";
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    const Case cases[] = {
        {{}, "a\n!DOC_A>>>x\n!DOC_B>>>y\nb\n"},
        {{"--exclude-a"}, "a\n!DOC_B>>>y\nb\n"},
        {{"--exclude-b"}, "a\n!DOC_A>>>x\nb\n"},
        {{"--exclude-common"}, "!DOC_A>>>x\n!DOC_B>>>y\n"},
        {{"--exclude-a", "--exclude-b", "--exclude-common"}, ""},
        {{"--no-prefix-a"}, "a\nx\n!DOC_B>>>y\nb\n"},
        {{"--no-prefix-b"}, "a\n!DOC_A>>>x\ny\nb\n"},
        {{"--prefix-a=<<", "--prefix-b="}, "a\n<<x\ny\nb\n"},
        {{"--prefix-b=★"}, "a\n!DOC_A>>>x\n\x81\x9ay\nb\n"},          // UTF-8 becomes code page 932
#if !defined(_WIN32)  // Windows passes arguments as UTF-16, which holds no such bytes
        {{"--prefix-a=\x81\x9a"}, "a\n\x81\x9ax\n!DOC_B>>>y\nb\n"},   // code page 932 stays
#endif
        {{"--no-prefix-a", "--prefix-a=ignored"}, "a\nx\n!DOC_B>>>y\nb\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Merged(a, b, c.args), c.expected) << kltest::ShownArguments(c.args);
}

TEST_F(MergeCliTest, CompareOptionsApply)
{
    // Trailing spaces and line ends are ignored: nothing differs.
    EXPECT_EQ(Merged("a  \r\nb\n", "a\nb\r\n", {"--ignore-trailing-spaces", "--ignore-newline"}), "a  \r\nb\n");
    EXPECT_EQ(Merged("a  \nb\n", "a\nb\n"), "!DOC_A>>>a  \n!DOC_B>>>a\nb\n");
}

TEST_F(MergeCliTest, AnEmptyFileMergesToTheOtherFilesLines)
{
    EXPECT_EQ(Merged("", "a\nb\n"), "!DOC_B>>>a\n!DOC_B>>>b\n");
    const std::string empty = dir_.write("empty.txt", "");
    const std::string out = dir_.write("out.txt", "old\n");
    const CliResult result = Run({empty, empty, "-o", out});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(kltest::ReadFileBytes(out), "");
}

TEST_F(MergeCliTest, UsageErrorsExitWith2)
{
    const std::string a = dir_.write("a.txt", "a\n");
    const std::string b = dir_.write("b.txt", "b\n");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {a},
        {a, b, a},
        {"--bogus", a, b},
        {"--json", a, b},
        {a, b, "-o"},
        {a, b, "-o", ""},
        {a, b, "-o", dir_.file("x"), "-o", dir_.file("y")},
        {"--preset=12", a, b},
    };
    for (const auto& args : cases) {
        const std::string shown = kltest::ShownArguments(args);
        const CliResult result = Run(args);
        EXPECT_EQ(result.exitCode, 2) << shown;
        EXPECT_NE(result.err.find("usage: kestrilane-cli merge"), std::string::npos) << shown;
        EXPECT_EQ(result.out, "") << shown;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.file("x")));
}

TEST_F(MergeCliTest, HelpGoesToStandardOutput)
{
    const CliResult result = Run({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("usage: kestrilane-cli merge"), std::string::npos);
}

TEST_F(MergeCliTest, UnreadableInputExitsWith1AndNamesIt)
{
    const std::string a = dir_.write("a.txt", "a\n");
    const std::string missing = dir_.file("missing.txt");
    const std::string out = dir_.file("out.txt");
    const CliResult result = Run({a, missing, "-o", out});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(MergeCliTest, UnwritableOutputExitsWith1AndKeepsTheTarget)
{
    const std::string a = dir_.write("a.txt", "a\n");
    const std::string b = dir_.write("b.txt", "b\n");
    const std::string folder = dir_.file("folder");
    std::filesystem::create_directory(folder);
    const std::string kept = dir_.write("folder/kept.txt", "kept\n");
    for (const std::string& out : {folder, dir_.file("missing-folder/out.txt")}) {
        const CliResult result = Run({a, b, "-o", out});
        EXPECT_EQ(result.exitCode, 1) << out;
        EXPECT_NE(result.err.find(out), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(kltest::ReadFileBytes(kept), "kept\n");
}

}  // namespace
