// kestrilane-cli at the edges of its resources: inputs that are not files, input that changes
// while it is read, paths that are not UTF-8, a full output device and too little memory.
// All of these are made with a POSIX shell, FIFOs, /dev/full and prlimit.
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <sys/stat.h>

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

TEST(CliLimits, AFailedWriteToStandardOutputFailsTheRun)
{
    kltest::TempDir dir;
    const std::string a = dir.write("a.txt", "a\nb\n");
    const std::string b = dir.write("b.txt", "a\nc\n");
    const std::string full = "標準出力に書き込めません（ディスクの空き領域が不足しています）";
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"--help"}, "kestrilane-cli --help: " + full + "\n"},
        {{"compare", "--help"}, "kestrilane-cli compare: " + full + "\n"},
        {{"compare", a, b}, "kestrilane-cli compare: " + full + "\n"},
        {{"compare", "--json", a, b}, "kestrilane-cli compare: " + full + "\n"},
        {{"linediff", a, "2", b, "2"}, "kestrilane-cli linediff: " + full + "\n"},
        {{"merge", "--help"}, "kestrilane-cli merge: " + full + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kltest::ShownArguments(c.args));
        const CliResult result = RunShell(dir, "", c.args, ">/dev/full");
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, c.message);
    }
}

// With its address space limited, the program loads both copies of a million short lines but
// cannot compare them (loading needs about 40 MB, comparing more than 100 MB): the run ends
// with exit code 1 and a message, not with an abort.
TEST(CliLimits, RunningOutOfMemoryAfterLoadingEndsWithAMessage)
{
    kltest::TempDir dir;
    const std::string limit = "ulimit -v 65536 && exec";
    const std::string tiny = dir.write("tiny.txt", "a\n");
    if (RunShell(dir, limit, {"compare", tiny, tiny}).exitCode != 0)
        GTEST_SKIP() << "the program does not start in 64 MB of address space (a sanitizer build?)";

    std::string lines;
    for (int k = 0; k < 1000000; ++k)
        lines += std::to_string(k) + '\n';
    const std::string input = dir.write("lines.txt", lines);
    for (const char* command : {"compare", "merge"}) {
        SCOPED_TRACE(command);
        const CliResult result = RunShell(dir, limit, {command, input, input}, ">/dev/null");
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, std::string("kestrilane-cli ") + command + ": メモリが足りないため処理を続けられませんでした\n");
    }
}

}  // namespace
#endif
