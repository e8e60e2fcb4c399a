#include "engine/merge/merge_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

int FilesIn(const std::string& directory)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(directory))
        ++count;
    return count;
}

TEST(MergeOutput, WritesTheBytesUnchangedAndReplacesOldContent)
{
    kltest::TempDir dir;
    const std::string path = dir.write("merged.txt", "old content that is longer than the new one\n");
    const std::string bytes("a\r\nb\rc\n\x82\xa0\0end", 14);
    std::string error = "stale";
    ASSERT_TRUE(kl::SaveMergedText(path, bytes, error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(kltest::ReadFileBytes(path), bytes);
    EXPECT_EQ(FilesIn(dir.path()), 1);  // no temporary file left behind

    ASSERT_TRUE(kl::SaveMergedText(path, "", error));
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST(MergeOutput, FailureLeavesTheOldTargetIntactAndNamesTheFile)
{
    kltest::TempDir dir;
    // A target that is a directory cannot be replaced by a file; the directory and what
    // it holds stay as they were, whoever runs the test.
    const std::string folder = dir.file("folder");
    fs::create_directory(folder);
    const std::string inside = dir.write("folder/kept.txt", "kept\n");
    const std::string missingFolder = dir.file("no-such-folder/merged.txt");
    for (const std::string& target : {folder, missingFolder}) {
        std::string error;
        EXPECT_FALSE(kl::SaveMergedText(target, "new\n", error)) << target;
        EXPECT_NE(error.find(target), std::string::npos) << error;
        EXPECT_NE(error.find("保存できませんでした"), std::string::npos) << error;
    }
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(kltest::ReadFileBytes(inside), "kept\n");
    EXPECT_EQ(FilesIn(folder), 1);
    EXPECT_EQ(FilesIn(dir.path()), 1);  // only the folder: no temporary file
    EXPECT_FALSE(fs::exists(dir.file("no-such-folder")));
}

TEST(MergeOutput, FailureSaysWhyInJapanese)
{
    kltest::TempDir dir;
    const std::string folder = dir.file("folder");
    fs::create_directory(folder);
    std::string error;
    EXPECT_FALSE(kl::SaveMergedText(dir.file("no-such-folder/merged.txt"), "new\n", error));
    EXPECT_NE(error.find("(フォルダーが見つかりません)"), std::string::npos) << error;
    EXPECT_FALSE(kl::SaveMergedText(folder, "new\n", error));
    EXPECT_NE(error.find("(ファイルではなくフォルダーです)"), std::string::npos) << error;
}

}  // namespace
