#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "engine/document/document_ops.h"
#include "engine/document/newline_rebuild.h"
#include "engine/document/text_write_back.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using kl::WriteBackOutcome;

class WriteBackTest : public ::testing::Test {
protected:
    // Loads the file as the next text and repairs its line ends in memory.
    std::string LoadAndRepair(const std::string& name, const std::string& bytes, bool eucChg = false)
    {
        const std::string path = dir.write(name, bytes);
        std::string error;
        EXPECT_TRUE(kl::LoadIntoDocument(doc, path, eucChg, error)) << error;
        kl::RebuildDocumentNewlines(doc);
        return path;
    }

    kltest::TempDir dir;
    kl::TextDocument doc;
};

TEST_F(WriteBackTest, WritesTheRepairedBytesAndKeepsThePermissions)
{
    const std::string path = LoadAndRepair("a.txt", "one\ntwo\r\r\nthree\rend");
    fs::permissions(path, fs::perms(0640));
    const fs::perms before = fs::status(path).permissions();

    EXPECT_EQ(kl::WriteBackText(doc, 0, false).outcome, WriteBackOutcome::Written);
    EXPECT_EQ(kltest::ReadFileBytes(path), "one\r\ntwo\r\n\r\nthree\r\nend");
    EXPECT_EQ(fs::status(path).permissions(), before);
    // The document knows the file as written now: no question the next time, and the
    // information text gives the new size.
    EXPECT_EQ(kl::WriteBackText(doc, 0, false).outcome, WriteBackOutcome::Written);
    EXPECT_NE(doc.fileInfos[0].find("] 22 byte"), std::string::npos) << doc.fileInfos[0];
}

TEST_F(WriteBackTest, AFileChangedSinceLoadingIsOnlyOverwrittenWhenAllowed)
{
    const struct {
        const char* name;
        void (*change)(const std::string& path);
    } cases[] = {
        {"other size", [](const std::string& path) { std::ofstream(path, std::ios::app) << "more\n"; }},
        {"same size, later time",
         [](const std::string& path) {
             fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(2));
         }},
        {"removed", [](const std::string& path) { fs::remove(path); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc = {};
        const std::string path = LoadAndRepair(c.name, "a\nb\n");
        c.change(path);
        const std::string onDisk = kltest::ReadFileBytes(path);

        EXPECT_EQ(kl::WriteBackText(doc, 0, false).outcome, WriteBackOutcome::ChangedOnDisk);
        EXPECT_EQ(kltest::ReadFileBytes(path), onDisk);
        EXPECT_EQ(kl::WriteBackText(doc, 0, true).outcome, WriteBackOutcome::Written);
        EXPECT_EQ(kltest::ReadFileBytes(path), "a\r\nb\r\n");
    }
}

TEST_F(WriteBackTest, AConvertedTextIsNeverWritten)
{
    const std::string file = "\xc6\xfc\n";  // EUC-JP, converted to Shift_JIS on loading
    const std::string path = LoadAndRepair("euc.txt", file, true);
    ASSERT_EQ(doc.texts[0]->text(0), "\x93\xfa\r\n");
    EXPECT_EQ(kl::WriteBackText(doc, 0, true).outcome, WriteBackOutcome::Converted);
    EXPECT_EQ(kltest::ReadFileBytes(path), file);
}

#if !defined(_WIN32)
// A folder's permissions (on Windows a folder's read-only attribute does not stop writes).
TEST_F(WriteBackTest, ARefusedOrFailedWriteLeavesTheFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    const std::string readOnly = LoadAndRepair("read-only.txt", "a\n");
    fs::permissions(readOnly, fs::perms(0444));
    fs::create_directories(dir.file("locked"));
    const std::string inLockedFolder = LoadAndRepair("locked/b.txt", "b\n");
    fs::permissions(dir.file("locked"), fs::perms(0555));

    EXPECT_EQ(kl::WriteBackText(doc, 0, true).outcome, WriteBackOutcome::ReadOnly);
    const kl::WriteBackResult failed = kl::WriteBackText(doc, 1, true);
    EXPECT_EQ(failed.outcome, WriteBackOutcome::Failed);
    EXPECT_EQ(failed.errorNumber, EACCES);
    fs::permissions(dir.file("locked"), fs::perms(0755));
    EXPECT_EQ(kltest::ReadFileBytes(readOnly), "a\n");
    EXPECT_EQ(kltest::ReadFileBytes(inLockedFolder), "b\n");
    EXPECT_EQ(doc.texts[0]->bytes(), "a\r\n");
    EXPECT_EQ(doc.texts[1]->bytes(), "b\r\n");
}

#endif

TEST_F(WriteBackTest, TheSameFileLoadedTwiceIsWrittenWithoutAQuestion)
{
    const std::string path = LoadAndRepair("same.txt", "x\n");
    std::string error;
    ASSERT_TRUE(kl::LoadIntoDocument(doc, path, false, error)) << error;
    kl::RebuildDocumentNewlines(doc);

    EXPECT_EQ(kl::WriteBackText(doc, 0, false).outcome, WriteBackOutcome::Written);
    EXPECT_EQ(kl::WriteBackText(doc, 1, false).outcome, WriteBackOutcome::Written);
    EXPECT_EQ(kltest::ReadFileBytes(path), "x\r\n");
}

TEST_F(WriteBackTest, NothingToWriteForATextNotLoaded)
{
    EXPECT_EQ(kl::WriteBackText(doc, 0, true).outcome, WriteBackOutcome::Failed);
    EXPECT_EQ(kl::WriteBackText(doc, 2, true).outcome, WriteBackOutcome::Failed);
}

}  // namespace
