// The POSIX side of the atomic save: modes, owners, links, special files, signals and
// resource limits. What holds on every system is in saved_files_test.cpp.
#if !defined(_WIN32)
#include "engine/platform/atomic_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/platform/save_temporary.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

bool Root()
{
    return ::geteuid() == 0;
}

std::vector<std::string> Names(const std::string& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A character device node in the test's folder, when this user may make one and the file
// system lets it be opened.
bool MakeCharDevice(const std::string& path, unsigned minor)
{
    if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor)) != 0)
        return false;
    const int fd = ::open(path.c_str(), O_WRONLY);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

TEST(ReplaceFileAtomically, RefusesWhatItMayNotReplace)
{
    struct Case {
        const char* name;
        std::function<std::string(const kltest::TempDir&)> make;  // returns the target
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"read-only file, also for the superuser",
         [](const kltest::TempDir& dir) {
             const std::string path = dir.write("read-only.txt", "old\n");
             ::chmod(path.c_str(), 0444);
             return path;
         },
         "読み取り専用のファイルです"},
        {"read-only file behind a link",
         [](const kltest::TempDir& dir) {
             const std::string path = dir.write("read-only-target.txt", "old\n");
             ::chmod(path.c_str(), 0444);
             fs::create_symlink(path, dir.file("link.txt"));
             return dir.file("link.txt");
         },
         "読み取り専用のファイルです"},
        {"socket",
         [](const kltest::TempDir& dir) {
             const std::string path = dir.file("socket");
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             path.copy(address.sun_path, sizeof address.sun_path - 1);
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
             ::close(fd);
             return path;
         },
         "通常のファイルではないため保存できません"},
    };
    for (const Case& c : cases) {
        kltest::TempDir dir;
        const std::string target = c.make(dir);
        struct stat before {};
        ASSERT_EQ(::stat(target.c_str(), &before), 0) << c.name;
        const std::vector<std::string> names = Names(dir.path());

        const kl::ReplaceResult result = kl::ReplaceFileAtomically(target, "new\n");
        EXPECT_FALSE(result) << c.name;
        EXPECT_EQ(result.reason, c.reason) << c.name;
        struct stat after {};
        ASSERT_EQ(::stat(target.c_str(), &after), 0) << c.name;
        EXPECT_EQ(after.st_ino, before.st_ino) << c.name;
        EXPECT_EQ(after.st_mode, before.st_mode) << c.name;
        if (S_ISREG(after.st_mode)) {
            EXPECT_EQ(kltest::ReadFileBytes(target), "old\n") << c.name;
        }
        EXPECT_EQ(Names(dir.path()), names) << c.name;
    }
}

TEST(ReplaceFileAtomically, RefusesAnotherUsersFile)
{
    if (!Root())
        GTEST_SKIP() << "needs the superuser to act as another user";
    kltest::TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    const std::string path = dir.write("roots.txt", "old\n");
    ::chmod(path.c_str(), 0666);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The replacement would belong to this user; the file is left as it is instead.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const kl::ReplaceResult result = kl::ReplaceFileAtomically(path, "new\n");
        ::_exit(!result && result.errorNumber == EPERM ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(kltest::ReadFileBytes(path), "old\n");
}

TEST(ReplaceFileAtomically, KeepsModeOwnerAndLinks)
{
    kltest::TempDir dir;
    const std::string target = dir.write("target.txt", "old\n");
    ::chmod(target.c_str(), 0604);
    if (Root()) {
        ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
    }
    const std::string link = dir.file("link.txt");
    fs::create_symlink("target.txt", link);

    ASSERT_TRUE(kl::ReplaceFileAtomically(link, "new\n"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(kltest::ReadFileBytes(target), "new\n");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    if (Root()) {
        EXPECT_EQ(info.st_uid, 4321u);
        EXPECT_EQ(info.st_gid, 4322u);
    }

    // A link to a file not there yet creates the file and stays a link.
    const std::string dangling = dir.file("dangling.txt");
    fs::create_symlink("created.txt", dangling);
    ASSERT_TRUE(kl::ReplaceFileAtomically(dangling, "made\n"));
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(kltest::ReadFileBytes(dir.file("created.txt")), "made\n");
}

// Sets a file's modification time back by the given number of hours.
void MakeOlder(const std::string& path, int hours)
{
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    const timespec times[2] = {info.st_atim, {info.st_mtim.tv_sec - hours * 3600L, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// A save removes nothing but old leftovers of its own kind: files that only look like
// temporary files, the temporary file of a save running elsewhere (another container or
// machine, where process ids mean nothing) and other users' files all stay.
TEST(ReplaceFileAtomically, RemovesOnlyOldMarkedLeftoversOfThisUser)
{
    kltest::TempDir dir;
    const std::vector<std::string> userFiles = {
        "notes.tmp-2024-31337", "report.txt.tmp-1-4000000", "a.txt.tmp-1-2", "a.txt.tmp-0-999999",
        ".kestrilane-save-ABCDEFGHIJKLMNOP.tmp", ".kestrilane-save-short.tmp", ".kestrilane-save-0123456789abcdef.tmp~",
    };
    for (const std::string& name : userFiles) {
        MakeOlder(dir.write(name, "mine"), 48);
    }
    const std::string runningSave = kl::NewSaveTemporaryName();
    dir.write(runningSave, "half written");
    MakeOlder(dir.file(runningSave), 1);
    const std::string leftover = kl::NewSaveTemporaryName();
    MakeOlder(dir.write(leftover, "killed"), 48);
    const std::string folder = kl::NewSaveTemporaryName();
    fs::create_directory(dir.file(folder));
    MakeOlder(dir.file(folder), 48);
    std::vector<std::string> expected = userFiles;
    expected.insert(expected.end(), {"a.txt", runningSave, folder});
    if (Root()) {
        const std::string othersLeftover = kl::NewSaveTemporaryName();
        ASSERT_EQ(::chown(dir.write(othersLeftover, "theirs").c_str(), 4321, 4321), 0);
        MakeOlder(dir.file(othersLeftover), 48);
        expected.push_back(othersLeftover);
    }
    std::sort(expected.begin(), expected.end());

    ASSERT_TRUE(kl::ReplaceFileAtomically(dir.file("a.txt"), "new\n"));
    EXPECT_EQ(Names(dir.path()), expected);
    EXPECT_EQ(kltest::ReadFileBytes(dir.file(runningSave)), "half written");
}

// Names up to the file system's limit of 255 bytes save, new and replaced alike.
TEST(ReplaceFileAtomically, SavesUnderTheLongestNames)
{
    std::string kanji82;
    for (int k = 0; k < 82; ++k)
        kanji82 += "\xe6\xbc\xa2";  // 漢
    for (const std::string& name : {kanji82 + ".txt", kanji82 + "\xe6\xbc\xa2\xe6\xbc\xa2\xe6\xbc\xa2"}) {
        SCOPED_TRACE(name.size());
        ASSERT_LE(name.size(), 255u);
        kltest::TempDir dir;
        const std::string target = dir.file(name);
        ASSERT_TRUE(kl::ReplaceFileAtomically(target, "first\n"));
        ASSERT_TRUE(kl::ReplaceFileAtomically(target, "second\n"));
        EXPECT_EQ(kltest::ReadFileBytes(target), "second\n");
        EXPECT_EQ(Names(dir.path()), std::vector<std::string>{name});
    }
}

TEST(ReplaceFileAtomically, FailureSaysWhyAndLeavesTheTarget)
{
    kltest::TempDir dir;
    const std::string path = dir.write("big.txt", "old\n");
    // A file size limit makes writing fail even for the superuser.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const kl::ReplaceResult result = kl::ReplaceFileAtomically(path, std::string(8192, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result);
    EXPECT_EQ(result.errorNumber, EFBIG);
    EXPECT_EQ(result.reason, "ファイルが大きすぎます");
    EXPECT_EQ(kltest::ReadFileBytes(path), "old\n");
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"big.txt"});
}

TEST(ReplaceFileAtomically, WritesIntoAFullDeviceWithoutReplacingIt)
{
    kltest::TempDir dir;
    const std::string full = dir.file("full");
    if (!MakeCharDevice(full, 7))
        GTEST_SKIP() << "no device nodes here";
    const kl::ReplaceResult result = kl::ReplaceFileAtomically(full, "new\n");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.reason, "ディスクの空き領域が不足しています");
    struct stat info {};
    ASSERT_EQ(::stat(full.c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

}  // namespace
#endif
