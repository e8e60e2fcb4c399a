// Copying and moving a file into a folder: free names, taken names, and failures that must
// leave every file where it was.
#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"
#include "engine/platform/file_transfer.h"

namespace {

namespace fs = std::filesystem;

class FileTransferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory(dir.file("src"));
        fs::create_directory(dir.file("dst"));
        source = dir.write("src/x.txt", "source bytes\r\n");
    }

    std::string Dst(const std::string& name) const { return dir.file("dst/" + name); }
    void Put(const std::string& name, const std::string& bytes) const { dir.write("dst/" + name, bytes); }

    kltest::TempDir dir;
    std::string source;
};

TEST_F(FileTransferTest, CopyToAFreeNameKeepsTheSource)
{
    const kl::TransferResult result = kl::TransferFile(source, dir.file("dst"), kl::TransferKind::Copy);
    ASSERT_TRUE(result.ok);
    EXPECT_FALSE(result.renamed);
    EXPECT_EQ(result.targetName, "x.txt");
    EXPECT_EQ(fs::path(result.targetPath), fs::path(Dst("x.txt")));
    EXPECT_EQ(kltest::ReadFileBytes(Dst("x.txt")), "source bytes\r\n");
    EXPECT_EQ(kltest::ReadFileBytes(source), "source bytes\r\n");
}

TEST_F(FileTransferTest, CopyKeepsTheModificationTime)
{
    const auto old = fs::last_write_time(source) - std::chrono::hours(24 * 400);
    fs::last_write_time(source, old);
    ASSERT_TRUE(kl::TransferFile(source, dir.file("dst"), kl::TransferKind::Copy).ok);
    EXPECT_EQ(fs::last_write_time(Dst("x.txt")), old);
}

TEST_F(FileTransferTest, TakenNamesAreSkippedAndLeftAlone)
{
    for (const kl::TransferKind kind : {kl::TransferKind::Copy, kl::TransferKind::Move}) {
        SCOPED_TRACE(kind == kl::TransferKind::Copy ? "copy" : "move");
        Put("x.txt", "first");
        Put("x0.txt", "second");
        fs::remove(Dst("x1.txt"));
        dir.write("src/x.txt", "source bytes\r\n");

        const kl::TransferResult result = kl::TransferFile(source, dir.file("dst"), kind);
        ASSERT_TRUE(result.ok);
        EXPECT_TRUE(result.renamed);
        EXPECT_EQ(result.targetName, "x1.txt");
        EXPECT_EQ(kltest::ReadFileBytes(Dst("x1.txt")), "source bytes\r\n");
        EXPECT_EQ(kltest::ReadFileBytes(Dst("x.txt")), "first");
        EXPECT_EQ(kltest::ReadFileBytes(Dst("x0.txt")), "second");
        EXPECT_EQ(fs::exists(source), kind == kl::TransferKind::Copy);
    }
}

TEST_F(FileTransferTest, TheThirtiethRenameIsTheLastOneTried)
{
    Put("x.txt", "taken");
    for (int i = 0; i < 29; ++i)
        Put("x" + std::to_string(i) + ".txt", "taken");

    kl::TransferResult result = kl::TransferFile(source, dir.file("dst"), kl::TransferKind::Copy);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.targetName, "x29.txt");

    // Now all thirty-one names are taken.
    result = kl::TransferFile(source, dir.file("dst"), kl::TransferKind::Move);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(fs::exists(Dst("x30.txt")));
    EXPECT_EQ(kltest::ReadFileBytes(source), "source bytes\r\n");
}

TEST_F(FileTransferTest, CopyIntoTheSourcesOwnFolderMakesASecondFile)
{
    const kl::TransferResult result = kl::TransferFile(source, dir.file("src"), kl::TransferKind::Copy);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.targetName, "x0.txt");
    EXPECT_EQ(kltest::ReadFileBytes(dir.file("src/x0.txt")), "source bytes\r\n");
    EXPECT_EQ(kltest::ReadFileBytes(source), "source bytes\r\n");
}

TEST_F(FileTransferTest, MoveEndsWithTheFileOnlyAtTheTarget)
{
    const kl::TransferResult result = kl::TransferFile(source, dir.file("dst"), kl::TransferKind::Move);
    ASSERT_TRUE(result.ok);
    EXPECT_FALSE(fs::exists(source));
    EXPECT_EQ(kltest::ReadFileBytes(Dst("x.txt")), "source bytes\r\n");
    EXPECT_EQ(fs::hard_link_count(Dst("x.txt")), 1u);
}

TEST_F(FileTransferTest, MoveOfASymbolicLinkMovesTheLinkedData)
{
#if defined(_WIN32)
    GTEST_SKIP() << "making a symbolic link needs a privilege on Windows";
#endif
    const std::string link = dir.file("src/link.txt");
    fs::create_symlink("x.txt", link);  // relative: would dangle if the link itself moved
    const kl::TransferResult result = kl::TransferFile(link, dir.file("dst"), kl::TransferKind::Move);
    ASSERT_TRUE(result.ok);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Dst("link.txt"))));
    EXPECT_EQ(kltest::ReadFileBytes(Dst("link.txt")), "source bytes\r\n");
    EXPECT_EQ(kltest::ReadFileBytes(source), "source bytes\r\n");
}

TEST_F(FileTransferTest, FailuresLeaveTheSourceInPlace)
{
    const struct {
        const char* name;
        std::string sourcePath;
        std::string folder;
    } cases[] = {
        {"missing folder", source, dir.file("no such folder")},
        {"folder is a file", source, source},
        {"missing source", dir.file("src/none.txt"), dir.file("dst")},
        {"source is a folder", dir.file("src"), dir.file("dst")},
        {"no folder chosen", source, ""},
        {"no source", "", dir.file("dst")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const kl::TransferKind kind : {kl::TransferKind::Copy, kl::TransferKind::Move}) {
            EXPECT_FALSE(kl::TransferFile(c.sourcePath, c.folder, kind).ok);
            EXPECT_EQ(kltest::ReadFileBytes(source), "source bytes\r\n");
        }
    }
    EXPECT_TRUE(fs::is_empty(dir.file("dst")));
}

#if !defined(_WIN32)
// A folder's permissions (on Windows a folder's read-only attribute does not stop writes).
TEST_F(FileTransferTest, MoveThatCannotRemoveTheSourceUndoesTheCopy)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser removes files from read-only folders";
    fs::permissions(dir.file("src"), fs::perms::owner_write, fs::perm_options::remove);
    const kl::TransferResult result = kl::TransferFile(source, dir.file("dst"), kl::TransferKind::Move);
    fs::permissions(dir.file("src"), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(kltest::ReadFileBytes(source), "source bytes\r\n");
    EXPECT_TRUE(fs::is_empty(dir.file("dst")));
}

TEST_F(FileTransferTest, ACopyIntoAReadOnlyFolderFails)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    fs::permissions(dir.file("dst"), fs::perms::owner_write, fs::perm_options::remove);
    const kl::TransferResult result = kl::TransferFile(source, dir.file("dst"), kl::TransferKind::Move);
    fs::permissions(dir.file("dst"), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(kltest::ReadFileBytes(source), "source bytes\r\n");
    EXPECT_TRUE(fs::is_empty(dir.file("dst")));
}

#endif

}  // namespace
