// `compare --html`: the report on standard output or in a file, and its options.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/support/run_cli.h"
#include "tests/support/temp_dir.h"

namespace {

using kltest::CliResult;

// The report without its creation time, which differs from run to run.
std::string WithoutDate(const std::string& page)
{
    return std::regex_replace(page, std::regex("<th>作成日時<td>[^<]*"), "");
}

class HtmlReportCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        a_ = dir_.write("a.txt", "一\n二\n三\n四\n五\n六\n七\n八\n");
        b_ = dir_.write("b.txt", "一\n二\n三\n四\nご\n六\n七\n八\n");
    }
    CliResult Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "compare");
        return kltest::RunCli(dir_, args);
    }
    kltest::TempDir dir_;
    std::string a_;
    std::string b_;
};

TEST_F(HtmlReportCli, FileAndStandardOutputHoldTheSameReport)
{
    const CliResult shown = Run({"--html", "--context", "1", a_, b_});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("<td>UTF-8 LF<td>UTF-8 LF"), std::string::npos);
    EXPECT_NE(shown.out.find("… 3行省略 …"), std::string::npos);
    EXPECT_NE(shown.out.find("… 2行省略 …"), std::string::npos);

    const std::string out = dir_.file("report.html");
    const CliResult saved = Run({"--html", "--context=1", a_, b_, "-o", out});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_TRUE(saved.out.empty());
    EXPECT_EQ(WithoutDate(kltest::ReadFileBytes(out)), WithoutDate(shown.out));
}

TEST_F(HtmlReportCli, MisusedOptionsAreUsageErrors)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--html", "--context", a_, b_}, {"--html", "--context=x", a_, b_}, {"--context=2", a_, b_},
        {"--json", a_, b_, "-o", dir_.file("x")}, {"--html", a_, b_, "-o"},
    };
    for (const auto& args : cases) {
        const CliResult result = Run(args);
        EXPECT_EQ(result.exitCode, 2) << kltest::ShownArguments(args);
        EXPECT_TRUE(result.out.empty());
    }
}

TEST_F(HtmlReportCli, UnwritableTargetExitsWith1)
{
    const CliResult result = Run({"--html", a_, b_, "-o", dir_.file("no-such-folder/report.html")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("report.html"), std::string::npos);
}

}  // namespace
