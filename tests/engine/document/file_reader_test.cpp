// Why a file could not be read, in the Japanese words the open message shows.
#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <filesystem>
#include <string>

#include "engine/document/document_ops.h"
#include "engine/document/file_reader.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(FileReader, AMissingFileIsNamedInJapanese)
{
    kltest::TempDir dir;
    const kl::FileReadResult result = kl::ReadWholeFile(dir.file("missing.txt"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "ファイルが見つかりません");
}

TEST(FileReader, AFileUsedAsAFolderIsAMissingFolder)
{
    kltest::TempDir dir;
    const std::string file = dir.write("a.txt", "a\n");
    const kl::FileReadResult result = kl::ReadWholeFile(file + "/b.txt");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "フォルダーが見つかりません");
}

#if !defined(_WIN32)
// Taking the read permission away (Windows has only ACLs for that).
TEST(FileReader, AnUnreadableFileIsAccessDenied)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    kltest::TempDir dir;
    const std::string path = dir.write("locked.txt", "secret\n");
    fs::permissions(path, fs::perms::none);
    const kl::FileReadResult result = kl::ReadWholeFile(path);
    fs::permissions(path, fs::perms::owner_all);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "アクセスが拒否されました");
}

#endif

TEST(FileReader, TheOpenMessageCarriesTheReason)
{
    kltest::TempDir dir;
    kl::TextDocument doc;
    std::string error;
    const std::string path = dir.file("missing.txt");
    EXPECT_FALSE(kl::LoadIntoDocument(doc, path, false, error));
    EXPECT_EQ(error, "ファイル「" + path + "」を開けません。\n(ファイルが見つかりません)");
}

}  // namespace
