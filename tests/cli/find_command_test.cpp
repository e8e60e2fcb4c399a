#include <gtest/gtest.h>

#include "engine/platform/cp932.h"
#include "tests/support/run_cli.h"

namespace {

TEST(FindCommand, FindsAWordInBothEncodingsAndExitsAsGrep)
{
    kltest::TempDir dir;
    const std::string a = dir.write("a.txt", kl::Utf8ToCp932("一行目\r\n設定ファイル\r\nＣｏｎｆｉｇ\r\n"));
    const std::string b = dir.write("b.txt", "設定\nconfig 設定\n");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out;
    };
    const Case cases[] = {
        {{"find", "設定", a, b}, 0, a + ":2:設定ファイル\n" + b + ":1:設定\n" + b + ":2:config 設定\n"},
        {{"find", "--count", "設定", a, b}, 0, a + ":1\n" + b + ":2\n"},
        {{"find", "--count", "--ignore-case", "ｃｏｎｆｉｇ", a, b}, 0, a + ":1\n" + b + ":0\n"},
        {{"find", "--regex", "^設定$", a, b}, 0, b + ":1:設定\n"},
        {{"find", "無い", a}, 1, ""},
        {{"find", "--regex", "(", a}, 2, ""},
        {{"find", "x", dir.file("missing.txt")}, 2, ""},
        {{"find", "x", dir.file("missing.txt"), b}, 2, ""},  // read while the first fails
        {{"find", "x", a, dir.file("missing.txt")}, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kltest::ShownArguments(c.args));
        const kltest::CliResult result = kltest::RunCli(dir, c.args);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out, c.out);
    }
}

}  // namespace
