// `kestrilane-cli merge -o` into targets that are not plain writable files.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>

#include "tests/support/run_cli.h"
#include "tests/support/temp_dir.h"

namespace {

using kltest::CliResult;

class MergeTargetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        a_ = dir_.write("a.txt", "same\nold\n");
        b_ = dir_.write("b.txt", "same\nnew\n");
        const CliResult toStdout = kltest::RunCli(dir_, {"merge", a_, b_});
        ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
        merged_ = toStdout.out;
    }

    CliResult MergeInto(const std::string& target) { return kltest::RunCli(dir_, {"merge", a_, b_, "-o", target}); }

#if !defined(_WIN32)
    static mode_t TypeOf(const std::string& path)
    {
        struct stat info {};
        EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
        return info.st_mode & S_IFMT;
    }
#endif

    kltest::TempDir dir_;
    std::string a_, b_, merged_;
};

#if !defined(_WIN32)
// FIFOs and device nodes of a POSIX system.
TEST_F(MergeTargetTest, NamedPipeStaysAPipe)
{
    const std::string pipe = dir_.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);

    // Without a reader the save fails at once instead of waiting for one.
    const CliResult unread = MergeInto(pipe);
    EXPECT_EQ(unread.exitCode, 1);
    EXPECT_NE(unread.err.find("パイプを読み込むプログラムがないため書き込めません"), std::string::npos) << unread.err;
    EXPECT_EQ(TypeOf(pipe), S_IFIFO);

    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const CliResult written = MergeInto(pipe);
    std::string received;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(reader, buffer, sizeof buffer)) > 0)
        received.append(buffer, static_cast<std::size_t>(got));
    ::close(reader);
    EXPECT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(received, merged_);
    EXPECT_EQ(TypeOf(pipe), S_IFIFO);
}

TEST_F(MergeTargetTest, CharacterDeviceStaysADevice)
{
    const std::string device = dir_.file("null");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "this user may not make device nodes";
    const int probe = ::open(device.c_str(), O_WRONLY);
    if (probe < 0)
        GTEST_SKIP() << "device nodes cannot be opened on this file system";
    ::close(probe);

    const CliResult result = MergeInto(device);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(TypeOf(device), S_IFCHR);
}

#endif

TEST_F(MergeTargetTest, ReadOnlyFileIsRefusedAndKept)
{
    // Refused for the superuser too, who could replace it.
    const std::string target = dir_.write("read-only.txt", "keep\n");
    std::filesystem::permissions(target, std::filesystem::perms(0444));
    const CliResult result = MergeInto(target);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(target), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("読み取り専用のファイルです"), std::string::npos) << result.err;
    EXPECT_EQ(kltest::ReadFileBytes(target), "keep\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(target)));
}

}  // namespace
