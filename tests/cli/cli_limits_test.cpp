// kestrilane-cli at the edges of its resources: inputs that are not files, input that changes
// while it is read, paths that are not UTF-8, a full output device and too little memory.
// All of these are made with a POSIX shell, FIFOs, /dev/full and prlimit.
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/platform/cp932.h"
#include "tests/support/run_cli.h"
#include "tests/support/temp_dir.h"

namespace {

using kltest::CliResult;
using kltest::ShellQuoted;

// Runs "BEFORE kestrilane-cli ARGS AFTER" through the shell; before may set a limit and
// exec the program, after may redirect its standard output.
CliResult RunShell(const kltest::TempDir& dir, const std::string& before, const std::vector<std::string>& args,
                   const std::string& after = {})
{
    std::string command = before + " " + ShellQuoted(KESTRILANE_CLI);
    for (const std::string& arg : args)
        command += " " + ShellQuoted(arg);
    return kltest::RunShellCommand(dir, command + " " + after);
}

TEST(CliLimits, InputsThatAreNotFilesAreRefusedAtOnce)
{
    kltest::TempDir dir;
    const std::string a = dir.write("a.txt", "a\n");
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& input : {fifo, std::string("/dev/zero")}) {
        SCOPED_TRACE(input);
        // timeout ends a run that waits for a writer (exit 124) instead of hanging the test.
        const CliResult result = RunShell(dir, "timeout 60", {"compare", input, a});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "kestrilane-cli compare: ファイル「" + input + "」を開けません。\n(通常のファイルではありません)\n");
    }
}

// A regular file of size 0 with content (a file of the system's information) is what a file
// that grew after it was opened looks like to the reader.
TEST(CliLimits, AnInputThatChangedWhileItWasReadIsNoted)
{
    const std::string path = "/proc/version";
    struct stat status{};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size != 0)
        GTEST_SKIP() << "no " << path << " of size 0";
    kltest::TempDir dir;
    const CliResult result = RunShell(dir, "", {"compare", "--json", path, dir.write("a.txt", "a\n")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "kestrilane-cli compare: ファイル「/proc/version」は読み込み中に変更されました"
                          "（再読み込みで今の内容を読み込めます）\n");
}

TEST(CliLimits, PathsThatAreNoUtf8AreShownWithEscapes)
{
    kltest::TempDir dir;
    const std::string a = dir.write("a.txt", "a\n");
    const std::string sjisName = dir.write("\x83\x65.txt", "x\n");
    const std::string shownName = dir.path() + "/\\x83e.txt";
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"compare", dir.file("\x83\x66.txt"), a}, "「" + dir.path() + "/\\x83f.txt」を開けません。"},
        {{"linediff", sjisName, "5", a, "1"}, "'" + shownName + "' has 1 line"},
    };
    for (const Case& c : cases) {
        const CliResult result = RunShell(dir, "", c.args);
        SCOPED_TRACE(result.err);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_TRUE(kl::IsValidUtf8(result.err));
        EXPECT_NE(result.err.find(c.message), std::string::npos);
    }
}

// File names in the headers of the output: the listing shows them as the messages do, the
// unified diff quotes them as diff does (which patch reads back).
TEST(CliLimits, FileNamesInHeadersAreEscaped)
{
    kltest::TempDir dir;
    const std::string newline = "a\nb";
    const std::string sjis = "c\x83" "d";
    const std::string kanji = "k\xe6\xbc\xa2.txt";
    dir.write(newline, "1\n");
    dir.write(sjis, "2\n");
    dir.write(kanji, "3\n");
    dir.write("sp ace", "4\n");
    dir.write("plain", "5\n");
    dir.write("a\\b\"", "6\n");
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> lines;  // the header lines up to the tab before the time
    };
    const Case cases[] = {
        {{"compare", newline, sjis}, {"A: a\\x0Ab  ", "B: c\\x83d  "}},
        {{"compare", "--unified", newline, sjis}, {"--- \"a\\nb\"\t", "+++ \"c\\203d\"\t"}},
        {{"compare", "--unified", "sp ace", kanji}, {"--- \"sp ace\"\t", "+++ \"k\\346\\274\\242.txt\"\t"}},
        {{"compare", "--unified", "plain", "a\\b\""}, {"--- plain\t", "+++ \"a\\\\b\\\"\"\t"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kltest::ShownArguments(c.args));
        const CliResult result = RunShell(dir, "cd " + ShellQuoted(dir.path()) + " && exec", c.args);
        EXPECT_TRUE(kl::IsValidUtf8(result.out));
        for (const std::string& line : c.lines)
            EXPECT_NE(("\n" + result.out).find("\n" + line), std::string::npos) << line << "\n" << result.out;
    }
}

// A file larger than the longest line a text can hold is looked at before it is read: a 2
// GiB file without a line end (here a sparse one) is refused at once, in little memory.
TEST(CliLimits, AFileWithATooLongLineIsRefusedBeforeItIsRead)
{
    kltest::TempDir dir;
    const std::string big = dir.file("big.txt");
    const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const bool sized = ::ftruncate(fd, off_t{1} << 31) == 0;
    ::close(fd);
    if (!sized)
        GTEST_SKIP() << "no 2 GiB file here";
    const std::string limit = "prlimit --as=268435456";
    const std::string tiny = dir.write("a.txt", "a\n");
    if (RunShell(dir, limit, {"compare", tiny, tiny}).exitCode != 0)
        GTEST_SKIP() << "the program does not start in 256 MB of address space (a sanitizer build?)";
    const CliResult result = RunShell(dir, limit, {"compare", big, tiny});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("2 GB を超える行があります"), std::string::npos) << result.err;
}

TEST(CliLimits, AFailedWriteToStandardOutputFailsTheRun)
{
    kltest::TempDir dir;
    const std::string a = dir.write("a.txt", "a\nb\n");
    const std::string b = dir.write("b.txt", "a\nc\n");
    const std::string full = "標準出力に書き込めません（ディスクの空き領域が不足しています）";
    struct Case {
        std::vector<std::string> args;
        std::string command;
        int exitCode = 1;
    };
    const Case cases[] = {
        {{"--help"}, "--help"},
        {{"compare", "--help"}, "compare"},
        {{"compare", a, b}, "compare"},
        {{"compare", "--json", a, b}, "compare"},
        {{"compare", "--unified", a, b}, "compare", 2},
        {{"compare", "--stat", a, b}, "compare", 2},
        {{"linediff", a, "2", b, "2"}, "linediff"},
        {{"merge", "--help"}, "merge"},
        {{"merge", a, b}, "merge"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kltest::ShownArguments(c.args));
        const CliResult result = RunShell(dir, "", c.args, ">/dev/full");
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err, "kestrilane-cli " + c.command + ": " + full + "\n");
    }
}

// With its address space limited, the program loads two versions of a million short lines
// but cannot compare them (loading needs about 40 MB, comparing more than 100 MB): the run
// ends with a message and an exit code that says it failed, not with an abort. For the
// diff-style outputs that is 2, since 1 would tell a script "different, output complete".
TEST(CliLimits, RunningOutOfMemoryAfterLoadingEndsWithAMessageAndAFailure)
{
    kltest::TempDir dir;
    const std::string limit = "prlimit --as=67108864";
    const std::string tiny = dir.write("tiny.txt", "a\n");
    if (RunShell(dir, limit, {"compare", tiny, tiny}).exitCode != 0)
        GTEST_SKIP() << "the program does not start in 64 MB of address space (a sanitizer build?)";

    std::string lines;
    for (int k = 0; k < 1000000; ++k)
        lines += std::to_string(k) + '\n';
    const std::string a = dir.write("a.txt", lines);
    const std::string b = dir.write("b.txt", "changed\n" + lines);
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {{"compare"}, 1}, {{"merge"}, 1}, {{"compare", "--unified"}, 2}, {{"compare", "--brief"}, 2},
        {{"compare", "--stat"}, 2},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {a, b});
        SCOPED_TRACE(kltest::ShownArguments(args));
        const CliResult result = RunShell(dir, limit, args, ">/dev/null");
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err, "kestrilane-cli " + c.args[0] + ": メモリが足りないため処理を続けられませんでした\n");
    }
}

}  // namespace
#endif
