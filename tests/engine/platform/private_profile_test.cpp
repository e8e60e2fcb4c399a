#include "engine/platform/private_profile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// 漢字 in code page 932 and in UTF-8.
const std::string kKanjiCp932 = "\x8a\xbf\x8e\x9a";
const std::string kKanjiUtf8 = "\xe6\xbc\xa2\xe5\xad\x97";

struct ReadCase {
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::string defaultValue;
    std::size_t bufferSize;
    std::string expected;
};

TEST(ReadIniString, FollowsThePrivateProfileRules)
{
    const std::vector<ReadCase> cases = {
        {"names ignore case", "[color]\nsame=abc\n", "COLOR", "SAME", "d", 32, "abc"},
        {"blanks around key and value", "[S]\n  k \t=  \t v a \t \n", "S", "k", "d", 32, "v a"},
        {"blanks inside the brackets", "[ S ]\nk=v\n", "s", "K", "d", 32, "v"},
        {"double quotes removed", "[S]\nk=\" a b \"\n", "S", "k", "d", 32, " a b "},
        {"single quotes removed", "[S]\nk='x'\n", "S", "k", "d", 32, "x"},
        {"only one pair of quotes", "[S]\nk=\"\"x\"\"\n", "S", "k", "d", 32, "\"x\""},
        {"unmatched quotes kept", "[S]\nk=\"x'\n", "S", "k", "d", 32, "\"x'"},
        {"a lone quote kept", "[S]\nk=\"\n", "S", "k", "d", 32, "\""},
        {"empty quotes", "[S]\nk=\"\"\n", "S", "k", "d", 32, ""},
        {"empty value is not the default", "[S]\nk=\n", "S", "k", "d", 32, ""},
        {"equals sign inside the value", "[S]\nk=a=b\n", "S", "k", "d", 32, "a=b"},
        {"value cut by the buffer", "[S]\nk=abcdef\n", "S", "k", "d", 4, "abc"},
        {"buffer of one", "[S]\nk=abc\n", "S", "k", "d", 1, ""},
        {"buffer of zero", "[S]\nk=abc\n", "S", "k", "d", 0, ""},
        {"cut keeps a whole double-byte character", "[S]\nk=a" + kKanjiUtf8 + "\n", "S", "k", "d", 4,
         "a\x8a\xbf"},
        {"cut never splits a double-byte character", "[S]\nk=a" + kKanjiUtf8 + "\n", "S", "k", "d", 3,
         "a"},
        {"comment lines ignored", "[S]\n;k=1\n  ; k=2\nk=3\n", "S", "k", "d", 32, "3"},
        {"first key wins", "[S]\nk=1\nK=2\n", "S", "k", "d", 32, "1"},
        {"first section wins", "[S]\nk=1\n[S]\nk=2\nj=3\n", "S", "j", "d", 32, "d"},
        {"key of another section", "[A]\nk=1\n[B]\nj=2\n", "B", "k", "d", 32, "d"},
        {"key before any section", "k=1\n[S]\nj=2\n", "S", "k", "d", 32, "d"},
        {"line without equals sign", "[S]\nk\nk=5\n", "S", "k", "d", 32, "5"},
        {"missing section", "[A]\nk=1\n", "S", "k", "dflt", 32, "dflt"},
        {"default cut by the buffer", "", "S", "k", "abcdef", 3, "ab"},
        {"default cut before a double-byte character", "", "S", "k", "a" + kKanjiCp932, 3, "a"},
        {"CR LF line ends", "[S]\r\nk=v\r\nj=w\r\n", "S", "j", "d", 32, "w"},
        {"last line without line end", "[S]\nk=v", "S", "k", "d", 32, "v"},
        {"UTF-8 byte order mark", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "d", 32, "v"},
        {"UTF-8 text given as code page 932", "[S]\nk=" + kKanjiUtf8 + "\n", "S", "k", "d", 32,
         kKanjiCp932},
        {"code page 932 file", "[S]\nk=" + kKanjiCp932 + "\x83\x5c\n", "S", "k", "d", 32,
         kKanjiCp932 + "\x83\x5c"},
        {"UTF-8 value beside a Latin-1 comment", "; caf\xe9\n[S]\nk=" + kKanjiUtf8 + "\n", "S", "k", "d",
         32, kKanjiCp932},
        {"UTF-8 line in a code page 932 file", "[S]\nj=" + kKanjiCp932 + "\nk=" + kKanjiUtf8 + "\n", "S",
         "k", "d", 32, kKanjiCp932},
        {"code page 932 line in a UTF-8 file", "[S]\nj=" + kKanjiUtf8 + "\nk=" + kKanjiCp932 + "\n", "S",
         "k", "d", 32, kKanjiCp932},
        {"code page 932 section name", "[" + kKanjiCp932 + "]\nk=v\n", kKanjiCp932, "k", "d", 32, "v"},
    };
    kltest::TempDir dir;
    for (const ReadCase& c : cases) {
        const std::string path = dir.write("case.ini", c.file);
        EXPECT_EQ(kl::ReadIniString(path, c.section, c.key, c.defaultValue, c.bufferSize), c.expected)
            << c.name;
    }
}

TEST(ReadIniString, MissingFileGivesTheDefault)
{
    kltest::TempDir dir;
    EXPECT_EQ(kl::ReadIniString(dir.file("none.ini"), "S", "k", "dflt", 32), "dflt");
    EXPECT_EQ(kl::ReadIniString(dir.file("no/such/dir.ini"), "S", "k", "dflt", 32), "dflt");
    EXPECT_EQ(kl::ReadIniString("", "S", "k", "dflt", 32), "dflt");
    EXPECT_EQ(kl::ReadIniString(dir.path(), "S", "k", "dflt", 32), "dflt");  // a directory
}

TEST(WriteIniString, FirstWriteCreatesTheFileInUtf8)
{
    kltest::TempDir dir;
    const std::string path = dir.file("new.ini");
    ASSERT_TRUE(kl::WriteIniString(path, "MESSAGE", "LEFT", kKanjiCp932 + " >>"));
    EXPECT_EQ(kltest::ReadFileBytes(path), "[MESSAGE]\nLEFT=" + kKanjiUtf8 + " >>\n");
    EXPECT_EQ(kl::ReadIniString(path, "MESSAGE", "LEFT", "", 128), kKanjiCp932 + " >>");
}

struct EditCase {
    const char* name;
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

TEST(WriteIniString, KeepsEverythingElseInTheFile)
{
    const std::string base = "; settings\n[A]\nx=1\n; note\n\n[B]\ny=2\n";
    const std::vector<EditCase> cases = {
        {"replace a key, any case", base, "a", "X", "9", "; settings\n[A]\nX=9\n; note\n\n[B]\ny=2\n"},
        {"new key at the end of its section", base, "A", "z", "3",
         "; settings\n[A]\nx=1\n; note\nz=3\n\n[B]\ny=2\n"},
        {"new key in the last section", base, "B", "z", "3", base + "z=3\n"},
        {"new section appended", base, "C", "k", "v", base + "[C]\nk=v\n"},
        {"only the first of two equal keys", "[A]\nk=1\nk=2\n", "A", "k", "3", "[A]\nk=3\nk=2\n"},
        {"CR LF line ends kept", "[A]\r\nx=1\r\n", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
        {"byte order mark kept", "\xEF\xBB\xBF[A]\nx=1\n", "A", "x", "2", "\xEF\xBB\xBF[A]\nx=2\n"},
        {"missing last line end added", "[A]\nx=1", "A", "x", "2", "[A]\nx=2\n"},
        {"code page 932 line kept", "[A]\nx=" + kKanjiCp932 + "\n", "A", "y", "1",
         "[A]\nx=" + kKanjiCp932 + "\ny=1\n"},
        {"rewritten key stored in UTF-8", "[A]\nx=" + kKanjiCp932 + "\n", "A", "x", kKanjiCp932,
         "[A]\nx=" + kKanjiUtf8 + "\n"},
        {"value ending in CR and blanks kept", "[A]\nk=v \r\nx=1\n", "A", "x", "2", "[A]\nk=v \r\nx=2\n"},
        {"odd lines kept", "[A]\n; caf\xe9 \t\r\n  x = 1 \n[A]\nx=3\n", "A", "y", "2",
         "[A]\n; caf\xe9 \t\r\n  x = 1 \ny=2\n[A]\nx=3\n"},
        {"own line end of the key kept", "[A]\nx=1\r\ny=2\n", "A", "x", "3", "[A]\nx=3\r\ny=2\n"},
        {"line end added before a key after the last line", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
    };
    kltest::TempDir dir;
    for (const EditCase& c : cases) {
        const std::string path = dir.write("edit.ini", c.before);
        ASSERT_TRUE(kl::WriteIniString(path, c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(kltest::ReadFileBytes(path), c.after) << c.name;
    }
}

TEST(WriteIniString, ValuesReadBackExactly)
{
    const std::vector<std::string> values = {
        "", "plain", " leading", "trailing\t", "\"quoted\"", "'single'", "\"", "'a\"",
        "  \"both\"  ", "a=b;c", kKanjiCp932,
    };
    kltest::TempDir dir;
    const std::string path = dir.file("values.ini");
    for (const std::string& value : values) {
        ASSERT_TRUE(kl::WriteIniString(path, "S", "k", value)) << value;
        EXPECT_EQ(kl::ReadIniString(path, "S", "k", "default", 128), value) << value;
    }
}

TEST(WriteIniString, RefusesTextsThatWouldNotReadBack)
{
    struct Case {
        std::string section, key, value;
    };
    const std::vector<Case> cases = {
        {"S", "k", "two\nlines"}, {"S", "k", "cr\r"},  {"S", "k=x", "v"}, {"S", "", "v"},
        {"S", ";k", "v"},         {"S", "[k", "v"},    {"S]", "k", "v"}, {"", "k", "v"},
        {"S\n", "k", "v"},
    };
    kltest::TempDir dir;
    const std::string original = "[S]\nk=old\n";
    const std::string path = dir.write("refuse.ini", original);
    for (const Case& c : cases) {
        EXPECT_FALSE(kl::WriteIniString(path, c.section, c.key, c.value)) << c.section << "/" << c.key;
    }
    EXPECT_EQ(kltest::ReadFileBytes(path), original);
    EXPECT_FALSE(kl::WriteIniString("", "S", "k", "v"));
}

TEST(WriteIniStrings, StoresAGroupOrNothing)
{
    kltest::TempDir dir;
    const std::string path = dir.file("group.ini");
    const kl::IniEntry group[] = {{"A", "x", "1"}, {"B", "y", "2"}, {"A", "z", "3"}};
    ASSERT_TRUE(kl::WriteIniStrings(path, group));
    EXPECT_EQ(kltest::ReadFileBytes(path), "[A]\nx=1\nz=3\n[B]\ny=2\n");

    const kl::IniEntry broken[] = {{"A", "x", "9"}, {"B", "y", "bad\nvalue"}};
    EXPECT_FALSE(kl::WriteIniStrings(path, broken));
    EXPECT_EQ(kl::ReadIniString(path, "A", "x", "", 8), "1");
}

TEST(DeleteIniKey, RemovesOnlyThatKey)
{
    kltest::TempDir dir;
    const std::string path = dir.write("del.ini", "[A]\nx=1\ny=2\n[B]\nx=3\n");
    ASSERT_TRUE(kl::DeleteIniKey(path, "a", "X"));
    EXPECT_EQ(kltest::ReadFileBytes(path), "[A]\ny=2\n[B]\nx=3\n");
    EXPECT_TRUE(kl::DeleteIniKey(path, "A", "missing"));
    EXPECT_EQ(kltest::ReadFileBytes(path), "[A]\ny=2\n[B]\nx=3\n");

    const std::string none = dir.file("none.ini");
    EXPECT_TRUE(kl::DeleteIniKey(none, "A", "x"));
    EXPECT_FALSE(fs::exists(none));
}

// Files in dir other than the settings file and the writers' lock file: temporary files
// must never be left behind.
std::vector<std::string> OtherFiles(const kltest::TempDir& dir, const std::string& keep)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        if (entry.path().filename() != keep && entry.path().filename() != keep + ".lock") {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

TEST(WriteIniString, ReplacesTheFileWithoutLeavingTemporaryFiles)
{
    kltest::TempDir dir;
    const std::string path = dir.write("s.ini", "[A]\nx=1\n");
    fs::permissions(path, fs::perms(0640));
    const fs::perms before = fs::status(path).permissions();
    ASSERT_TRUE(kl::WriteIniString(path, "A", "x", "2"));
    EXPECT_TRUE(OtherFiles(dir, "s.ini").empty());
    EXPECT_EQ(fs::status(path).permissions(), before);
}

TEST(WriteIniString, WritesThroughASymbolicLink)
{
#if defined(_WIN32)
    GTEST_SKIP() << "making a symbolic link needs a privilege on Windows";
#endif
    kltest::TempDir dir;
    const std::string target = dir.write("real.ini", "[A]\nx=1\n");
    const std::string link = dir.file("link.ini");
    fs::create_symlink(target, link);
    ASSERT_TRUE(kl::WriteIniString(link, "A", "x", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(kltest::ReadFileBytes(target), "[A]\nx=2\n");
}

#if !defined(_WIN32)
// A folder's permissions (Windows has only ACLs for that), and a file size limit.
TEST(WriteIniString, FailureInAReadOnlyDirectoryKeepsTheOldFile)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    kltest::TempDir dir;
    const std::string original = "[A]\nx=1\n";
    const std::string path = dir.write("s.ini", original);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_FALSE(kl::WriteIniString(path, "A", "x", "2"));
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(kltest::ReadFileBytes(path), original);
}

#endif

TEST(WriteIniString, UnreadableFileIsNeverOverwritten)
{
    kltest::TempDir dir;
    // A directory in place of the file cannot be read, whoever runs the test.
    const std::string path = dir.file("s.ini");
    fs::create_directory(path);
    const fs::path inside = fs::path(path) / "keep";
    std::ofstream(inside.string()) << "data";
    EXPECT_FALSE(kl::WriteIniString(path, "A", "x", "2"));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(kltest::ReadFileBytes(inside.string()), "data");
}

#if !defined(_WIN32)
TEST(WriteIniString, FailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    kltest::TempDir dir;
    const std::string original = "[A]\nx=1\n";
    const std::string path = dir.write("s.ini", original);

    // A file size limit makes writing the new content fail even for the superuser.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = kl::WriteIniString(path, "A", "big", std::string(8192, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(kltest::ReadFileBytes(path), original);
    EXPECT_TRUE(OtherFiles(dir, "s.ini").empty());
}

#endif

TEST(WriteIniString, MissingDirectoryFails)
{
    kltest::TempDir dir;
    EXPECT_FALSE(kl::WriteIniString(dir.file("no/such/s.ini"), "A", "x", "1"));
}

TEST(WriteIniString, ReadOnlyFileIsNeverOverwritten)
{
    // Refused whoever runs the program: the superuser could replace it, but must not.
    kltest::TempDir dir;
    const std::string original = "[A]\nx=1\n";
    const std::string path = dir.write("s.ini", original);
    fs::permissions(path, fs::perms(0444));
    EXPECT_FALSE(kl::WriteIniString(path, "A", "x", "2"));
    EXPECT_EQ(kltest::ReadFileBytes(path), original);
}

TEST(ReadIniString, FileChangedInPlaceIsReadAgain)
{
    kltest::TempDir dir;
    const std::string path = dir.write("s.ini", "[A]\nx=1\n");
    kltest::SetModifiedTime(path, 1000000000);
    ASSERT_EQ(kl::ReadIniString(path, "A", "x", "", 8), "1");
    // The same file and size; only its time tells the change.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "[A]\nx=2\n";
    EXPECT_EQ(kl::ReadIniString(path, "A", "x", "", 8), "2");
}

#if !defined(_WIN32)
// Two processes started with fork.
TEST(WriteIniString, WritersInTwoProcessesKeepEachOthersKeys)
{
    kltest::TempDir dir;
    const std::string path = dir.file("shared.ini");
    constexpr int kKeys = 300;
    pid_t children[2];
    for (int writer = 0; writer < 2; ++writer) {
        children[writer] = ::fork();
        ASSERT_GE(children[writer], 0);
        if (children[writer] == 0) {
            bool ok = true;
            for (int k = 0; k < kKeys; ++k) {
                ok = kl::WriteIniString(path, "S", "w" + std::to_string(writer) + "-" + std::to_string(k), "v") && ok;
            }
            ::_exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    int kept = 0;
    for (int writer = 0; writer < 2; ++writer) {
        for (int k = 0; k < kKeys; ++k) {
            kept += kl::ReadIniString(path, "S", "w" + std::to_string(writer) + "-" + std::to_string(k), "", 4) == "v";
        }
    }
    EXPECT_EQ(kept, 2 * kKeys);
    EXPECT_TRUE(OtherFiles(dir, "shared.ini").empty());
}

#endif

}  // namespace
