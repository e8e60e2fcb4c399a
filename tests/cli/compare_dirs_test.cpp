// kestrilane-cli compare-dirs: its listing, JSON and exit codes as diff -rq has them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/platform/utf8_path.h"
#include "tests/support/run_cli.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class CompareDirsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(kl::PathFromUtf8(dir_.file("a/sub")));
        fs::create_directories(kl::PathFromUtf8(dir_.file("b/sub")));
        dir_.write("a/sub/same.txt", "x\r\n");
        dir_.write("b/sub/same.txt", "x\r\n");
    }
    kltest::CliResult Run(std::vector<std::string> options)
    {
        options.insert(options.begin(), "compare-dirs");
        options.push_back(dir_.file("a"));
        options.push_back(dir_.file("b"));
        return kltest::RunCli(dir_, options);
    }
    kltest::TempDir dir_;
};

TEST_F(CompareDirsTest, ExitCodesAsDiffHasThem)
{
    EXPECT_EQ(Run({}).exitCode, 0);
    dir_.write("a/sub/nl.txt", "x\r\n");
    dir_.write("b/sub/nl.txt", "x\n");
    const kltest::CliResult brief = Run({"--brief"});
    EXPECT_EQ(brief.exitCode, 1);
    EXPECT_EQ(brief.out, "相違\tsub/nl.txt\n");
    const kltest::CliResult text = Run({"--text"});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_NE(text.out.find("改行のみ相違\tsub/nl.txt\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("合計: 同一 1 / 改行のみ相違 1\n"), std::string::npos) << text.out;
    // Left out by the filter, the difference no longer counts.
    EXPECT_EQ(Run({"--exclude", "nl.*"}).exitCode, 0);
    EXPECT_EQ(Run({"--include", "*.md"}).exitCode, 0);
    fs::remove_all(kl::PathFromUtf8(dir_.file("b")));
    const kltest::CliResult missing = Run({});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find(dir_.file("b")), std::string::npos) << missing.err;
    EXPECT_EQ(Run({"--no-such-option"}).exitCode, 2);
}

TEST_F(CompareDirsTest, JsonGivesTheWholeTree)
{
    dir_.write("a/only.txt", "1");
    const kltest::CliResult result = Run({"--json"});
    EXPECT_EQ(result.exitCode, 1);
    for (const char* part : {"\"path\": \"sub/same.txt\", \"state\": \"同一\"", "\"state\": \"DocAのみ\"",
                             "\"size\": 3", "\"description\": \"ASCII CRLF\"", "\"b\": {\"kind\": \"missing\"}",
                             "\"totals\": {\"同一\": 1, \"DocAのみ\": 1}"})
        EXPECT_NE(result.out.find(part), std::string::npos) << part << "\n" << result.out;
}

}  // namespace
