#include "engine/settings/file_pair.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "engine/platform/private_profile.h"
#include "engine/settings/file_set_settings.h"
#include "tests/support/temp_dir.h"

namespace {

struct SplitCase {
    const char* name;
    std::string text;
    std::set<std::string> files;
    std::string docA;
    std::string docB;
};

TEST(SplitPairText, TakesTheFirstSplitWhereBothFilesExist)
{
    const std::vector<SplitCase> cases = {
        {"plain pair", "/d/a.txt - /d/b.txt", {"/d/a.txt", "/d/b.txt"}, "/d/a.txt", "/d/b.txt"},
        {"separator in DocA's name", "/d/x - y.txt - /d/b.txt", {"/d/x - y.txt", "/d/b.txt"},
         "/d/x - y.txt", "/d/b.txt"},
        {"separator in DocB's name", "/d/a.txt - /d/p - q.txt", {"/d/a.txt", "/d/p - q.txt"},
         "/d/a.txt", "/d/p - q.txt"},
        {"separator in both names", "/d/x - y - /d/p - q", {"/d/x - y", "/d/p - q"}, "/d/x - y",
         "/d/p - q"},
        {"two valid splits: DocA's part first", "/d/a - /d/b - /d/c",
         {"/d/a", "/d/b - /d/c", "/d/a - /d/b", "/d/c"}, "/d/a", "/d/b - /d/c"},
        {"overlapping separators", "/d/a - - /d/b", {"/d/a -", "/d/b"}, "/d/a -", "/d/b"},
        {"only one part exists at each split", "/d/x - y - /d/b", {"/d/x", "/d/b"}, "/d/x",
         "y - /d/b"},
        {"no file exists: the first separator", "/d/x - y.txt - /d/b.txt", {}, "/d/x",
         "y.txt - /d/b.txt"},
        {"DocB's path empty", "/d/a.txt - ", {"/d/a.txt"}, "/d/a.txt", ""},
        {"no separator", "/d/a.txt", {"/d/a.txt"}, "", ""},
        {"hyphen without blanks is no separator", "/d/a-b.txt - /d/c.txt", {}, "/d/a-b.txt",
         "/d/c.txt"},
    };
    for (const SplitCase& c : cases) {
        const kl::FilePair pair =
            kl::SplitPairText(c.text, [&c](const std::string& path) { return c.files.contains(path); });
        EXPECT_EQ(pair.docA, c.docA) << c.name;
        EXPECT_EQ(pair.docB, c.docB) << c.name;
    }
}

// A pair goes into the settings file and comes back as the same two file names.
TEST(FilePairStorage, PathsReadBackByteForByte)
{
    const std::vector<kl::FilePair> pairs = {
        {"/home/利用者/資料/会議メモ.txt", "/home/利用者/資料/会議メモ（改訂）.txt"},
        {"/d/a - b.txt", "/d/c - d - e.txt"},
        {"/d/ends in blank ", "/d/\ttab\t"},
        {"/d/\"quoted\"", "/d/x=y;z#[s]&~\\.txt"},
        {"/d/ｶﾅ①ⅰ№髙", "/d/全角　空白"},
    };
    for (const kl::FilePair& original : pairs) {
        kltest::TempDir dir;
        const std::string ini = dir.file("kestrilane.ini");
        std::string text;
        ASSERT_EQ(kl::MakePairText(original.docA, original.docB, text), kl::PairTextStatus::Ok)
            << original.docA << " | " << original.docB;
        ASSERT_EQ(kl::StoreFileSet(ini, text), kl::FileSetStore::Recorded);

        const std::vector<std::string> listed = kl::ReadFileSetEntries(ini);
        ASSERT_EQ(listed.size(), 1u);
        const kl::FilePair read = kl::SplitPairText(
            kl::SettingsTextToFileName(listed[0]),
            [&original](const std::string& path) { return path == original.docA || path == original.docB; });
        EXPECT_EQ(read.docA, original.docA);
        EXPECT_EQ(read.docB, original.docB);
    }
}

TEST(FilePairStorage, RefusesNamesThatWouldNotReadBack)
{
    struct Case {
        const char* name;
        std::string fileName;
    };
    const std::vector<Case> cases = {
        {"line feed", "/d/a\nb"},
        {"carriage return", "/d/a\rb"},
        {"NUL", std::string("/d/a\0b", 6)},
        {"not UTF-8", "/d/\x8a\xbf\x8e\x9a.txt"},
        {"no code page 932 code", "/d/café.txt"},
        {"outside the BMP", "/d/😀.txt"},
        {"wave dash maps one way", "/d/a〜b.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(kl::FileNameToSettingsText(c.fileName)) << c.name;
        std::string text = "stale";
        EXPECT_EQ(kl::MakePairText(c.fileName, "/d/b.txt", text), kl::PairTextStatus::DocAUnstorable) << c.name;
        EXPECT_EQ(text, "") << c.name;
        EXPECT_EQ(kl::MakePairText("/d/b.txt", c.fileName, text), kl::PairTextStatus::DocBUnstorable) << c.name;
    }
}

// The limit counts the stored code page 932 bytes (two per kanji), not the UTF-8 bytes.
TEST(FilePairStorage, LongestPairThatFits)
{
    const std::string docA = "/" + std::string(245, 'a');  // 246 bytes
    std::string kanji;
    for (int i = 0; i < 125; ++i)
        kanji += "漢";                                      // 250 bytes stored, 375 in UTF-8
    std::string text;
    ASSERT_EQ(kl::MakePairText(docA, kanji, text), kl::PairTextStatus::Ok);
    EXPECT_EQ(text.size(), kl::kFileSetEntryMaxBytes);

    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    ASSERT_EQ(kl::StoreFileSet(ini, text), kl::FileSetStore::Recorded);
    EXPECT_EQ(kl::SettingsTextToFileName(kl::ReadFileSetEntry(ini, 1)), docA + " - " + kanji);

    EXPECT_EQ(kl::MakePairText(docA + "a", kanji, text), kl::PairTextStatus::TooLong);
    EXPECT_EQ(text, "");
}

TEST(StoreFileSet, WritesTheKeyAfterCountInARingOfNineteen)
{
    struct Case {
        const char* name;
        const char* count;  // nullptr: no COUNT key
        int key;
    };
    const std::vector<Case> cases = {
        {"no count", nullptr, 1}, {"count 0", "0", 1},   {"count 5", "5", 6},
        {"count 18", "18", 19},   {"count 19", "19", 1}, {"hand-edited 25", "25", 1},
        {"negative", "-3", 1},
    };
    for (const Case& c : cases) {
        kltest::TempDir dir;
        const std::string ini = dir.file("kestrilane.ini");
        ASSERT_TRUE(kl::WriteIniString(ini, "FILESET", "7", "/old/7 - /old/b"));
        ASSERT_TRUE(kl::WriteIniString(ini, "FILESET", "19", "/old/19 - /old/b"));
        if (c.count) {
            ASSERT_TRUE(kl::WriteIniString(ini, "FILESET", "COUNT", c.count));
        }

        ASSERT_EQ(kl::StoreFileSet(ini, "/new/a - /new/b"), kl::FileSetStore::Recorded) << c.name;
        EXPECT_EQ(kl::ReadFileSetCount(ini), c.key) << c.name;
        EXPECT_EQ(kl::ReadFileSetEntry(ini, c.key), "/new/a - /new/b") << c.name;
        // The rest of the ring stays stored.
        if (c.key != 7) {
            EXPECT_EQ(kl::ReadFileSetEntry(ini, 7), "/old/7 - /old/b") << c.name;
        }
        if (c.key != 19) {
            EXPECT_EQ(kl::ReadFileSetEntry(ini, 19), "/old/19 - /old/b") << c.name;
        }
    }
}

TEST(StoreFileSet, RefusesAPairListedInTheFileNow)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    ASSERT_EQ(kl::StoreFileSet(ini, "/d/a - /d/b"), kl::FileSetStore::Recorded);
    const std::string before = kltest::ReadFileBytes(ini);
    EXPECT_EQ(kl::StoreFileSet(ini, "/d/a - /d/b"), kl::FileSetStore::AlreadyRecorded);
    EXPECT_EQ(kltest::ReadFileBytes(ini), before);

    // Written by another window since: still found.
    ASSERT_TRUE(kl::WriteIniString(ini, "FILESET", "2", "/d/c - /d/e"));
    ASSERT_TRUE(kl::WriteIniString(ini, "FILESET", "COUNT", "2"));
    EXPECT_EQ(kl::StoreFileSet(ini, "/d/c - /d/e"), kl::FileSetStore::AlreadyRecorded);

    // Only the listed keys count, and the comparison keeps case.
    ASSERT_TRUE(kl::WriteIniString(ini, "FILESET", "5", "/d/x - /d/y"));
    EXPECT_EQ(kl::StoreFileSet(ini, "/d/x - /d/y"), kl::FileSetStore::Recorded);
    EXPECT_EQ(kl::ReadFileSetCount(ini), 3);
    EXPECT_EQ(kl::StoreFileSet(ini, "/d/A - /d/b"), kl::FileSetStore::Recorded);
    EXPECT_EQ(kl::ReadFileSetCount(ini), 4);
}

#if !defined(_WIN32)  // two processes started with fork
// Two windows recording at the same moment, as two processes: every record takes a key of
// its own, so after 200 records the ring has gone round exactly 200 times and its 19 keys
// hold 19 different pairs.
TEST(StoreFileSet, TwoProcessesRecordingTogetherLoseNoRecord)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    constexpr int kRecordsEach = 100;
    std::vector<pid_t> children;
    for (int process = 0; process < 2; ++process) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int failures = 0;
            for (int k = 0; k < kRecordsEach; ++k) {
                const std::string pair = "/p" + std::to_string(process) + "/" + std::to_string(k) + " - /b";
                failures += kl::StoreFileSet(ini, pair) != kl::FileSetStore::Recorded;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(kl::ReadFileSetCount(ini), (2 * kRecordsEach - 1) % kl::kFileSetRingSize + 1);
    std::set<std::string> stored;
    for (int key = 1; key <= kl::kFileSetRingSize; ++key)
        stored.insert(kl::ReadFileSetEntry(ini, key));
    EXPECT_EQ(stored.size(), static_cast<std::size_t>(kl::kFileSetRingSize));
    EXPECT_EQ(stored.count(""), 0u);
}
#endif

TEST(StoreFileSet, ReportsAFailedWrite)
{
    kltest::TempDir dir;
    EXPECT_EQ(kl::StoreFileSet(dir.file("missing/kestrilane.ini"), "/d/a - /d/b"),
              kl::FileSetStore::WriteFailed);
    EXPECT_EQ(kl::StoreFileSet("", "/d/a - /d/b"), kl::FileSetStore::WriteFailed);
}

}  // namespace
