// kestrilane-cli as git's difftool: git hands it temporary copies of both versions. The
// test drives git through a POSIX shell.
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/run_cli.h"
#include "tests/support/temp_dir.h"

namespace {

using kltest::ShellQuoted;

TEST(GitDifftool, ConsoleFrontEndComparesBothVersions)
{
    if (std::system("git --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "git is not installed";
    kltest::TempDir dir;
    const std::string repo = dir.file("repo");
    const std::string git = "git -C " + ShellQuoted(repo) + " -c user.name=t -c user.email=t@example.com ";
    ASSERT_EQ(std::system(("git init -q " + ShellQuoted(repo)).c_str()), 0);
    dir.write("repo/f.txt", "first\nsecond\nthird\n");
    ASSERT_EQ(std::system((git + "add f.txt && " + git + "commit -qm one").c_str()), 0);
    dir.write("repo/f.txt", "first\nchanged\nthird\n");

    const std::string out = dir.file("out.txt");
    const std::string command = git + "difftool -y -x " + ShellQuoted(std::string(KESTRILANE_CLI) + " compare --unified") +
                                " > " + ShellQuoted(out) + " 2>&1";
    // git passes on the tool's exit code 1 ("the files differ") as its own failure.
    std::system(command.c_str());
    const std::string diff = kltest::ReadFileBytes(out);
    EXPECT_NE(diff.find("-second\n+changed\n"), std::string::npos) << diff;
    EXPECT_NE(diff.find("@@ -1,3 +1,3 @@"), std::string::npos) << diff;
}

}  // namespace
#endif
