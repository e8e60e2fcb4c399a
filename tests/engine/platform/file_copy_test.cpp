// Copying a file or folder to the other side: never replacing unasked, keeping the time,
// refusing read-only targets, and links copied as links.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/platform/file_copy.h"
#include "engine/platform/utf8_path.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(FileCopy, NeverReplacesUnaskedAndKeepsTheTime)
{
    kltest::TempDir dir;
    const std::string source = dir.write("source.txt", "new");
    kltest::SetModifiedTime(source, 1600000000);
    const std::string target = dir.write("target.txt", "old");
    EXPECT_EQ(kl::CopyEntry(source, target, false).outcome, kl::CopyOutcome::TargetExists);
    EXPECT_EQ(kltest::ReadFileBytes(target), "old");
    EXPECT_EQ(kl::CopyEntry(source, target, true).outcome, kl::CopyOutcome::Copied);
    EXPECT_EQ(kltest::ReadFileBytes(target), "new");
    EXPECT_EQ(fs::last_write_time(kl::PathFromUtf8(target)), fs::last_write_time(kl::PathFromUtf8(source)));
    // Nothing but the target is left in the folder.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(kl::PathFromUtf8(dir.path())))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST(FileCopy, ReadOnlyTargetsAndMissingSourcesFail)
{
    kltest::TempDir dir;
    const std::string source = dir.write("source.txt", "new");
    const std::string target = dir.write("target.txt", "old");
    fs::permissions(kl::PathFromUtf8(target), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(kl::CopyEntry(source, target, true).outcome, kl::CopyOutcome::Refused);
    EXPECT_EQ(kltest::ReadFileBytes(target), "old");
    const kl::CopyResult missing = kl::CopyEntry(dir.file("none.txt"), dir.file("copy.txt"), false);
    EXPECT_EQ(missing.outcome, kl::CopyOutcome::Failed);
    EXPECT_NE(missing.error, 0);
}

TEST(FileCopy, FoldersAreCopiedWithEverythingBelow)
{
    kltest::TempDir dir;
    fs::create_directories(kl::PathFromUtf8(dir.file("from/deep")));
    dir.write("from/a.txt", "a");
    dir.write("from/deep/b.txt", "b");
#if !defined(_WIN32)
    fs::create_directory_symlink("..", kl::PathFromUtf8(dir.file("from/deep/up")));
#endif
    const kl::CopyResult result = kl::CopyEntry(dir.file("from"), dir.file("to"), false);
    EXPECT_EQ(result.outcome, kl::CopyOutcome::Copied);
    EXPECT_EQ(result.copiedFiles, 2);
    EXPECT_EQ(kltest::ReadFileBytes(dir.file("to/deep/b.txt")), "b");
#if !defined(_WIN32)
    EXPECT_TRUE(fs::is_symlink(kl::PathFromUtf8(dir.file("to/deep/up"))));
#endif
}

}  // namespace
