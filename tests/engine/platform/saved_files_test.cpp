// Saving, reading and settings writes that must hold on every system: folder and file names
// with Japanese characters, and the targets a save refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/document/document_ops.h"
#include "engine/document/file_reader.h"
#include "engine/document/file_stamp.h"
#include "engine/platform/atomic_file.h"
#include "engine/platform/file_time.h"
#include "engine/platform/file_transfer.h"
#include "engine/platform/private_profile.h"
#include "engine/platform/utf8_path.h"
#include "tests/support/temp_dir.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kl::PathFromUtf8(folder)))
        names.push_back(kl::Utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SavedFiles, JapaneseFolderAndFileNames)
{
    kltest::TempDir dir;
    const std::string folder = dir.file("比較フォルダー");
    ASSERT_TRUE(fs::create_directory(kl::PathFromUtf8(folder)));
    const std::string name = "会議メモ・第２版.txt";
    const std::string path = kl::Utf8FromPath(kl::PathFromUtf8(folder) / kl::PathFromUtf8(name));

    ASSERT_TRUE(kl::ReplaceFileAtomically(path, "一行目\r\n"));
    kl::TextDocument doc;
    std::string error;
    ASSERT_TRUE(kl::LoadIntoDocument(doc, path, false, error)) << error;
    EXPECT_EQ(doc.fileNames[0], name);
    EXPECT_TRUE(kl::FileUnchanged(path, doc.fileStamps[0]));
    EXPECT_TRUE(kl::LastWriteTime(path).has_value());

    const kl::ReplaceResult replaced = kl::ReplaceFileAtomically(path, "二行目\n");
    ASSERT_TRUE(replaced) << replaced.reason;
    const kl::FileReadResult read = kl::ReadWholeFile(path);
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(std::string(read.bytes.get(), read.size), "二行目\n");

    const std::string settings = kl::Utf8FromPath(kl::PathFromUtf8(folder) / kl::PathFromUtf8("設定.ini"));
    ASSERT_TRUE(kl::WriteIniString(settings, "MESSAGE", "LEFT", "x"));
    ASSERT_TRUE(kl::WriteIniString(settings, "MESSAGE", "RIGHT", "y"));
    EXPECT_EQ(kl::ReadIniString(settings, "MESSAGE", "LEFT", "", 16), "x");
    ASSERT_TRUE(kl::DeleteIniKey(settings, "MESSAGE", "LEFT"));
    EXPECT_EQ(kltest::ReadFileBytes(settings), "[MESSAGE]\nRIGHT=y\n");

    const std::string copies = dir.file("写し");
    ASSERT_TRUE(fs::create_directory(kl::PathFromUtf8(copies)));
    const kl::TransferResult copied = kl::TransferFile(path, copies, kl::TransferKind::Copy);
    ASSERT_TRUE(copied.ok);
    EXPECT_EQ(copied.targetName, name);
    EXPECT_EQ(kltest::ReadFileBytes(copied.targetPath), "二行目\n");

    // Nothing but the files themselves and the settings writers' lock file is left.
    EXPECT_EQ(Names(folder), (std::vector<std::string>{name, "設定.ini", "設定.ini.lock"}));
}

TEST(SavedFiles, RefusedTargetsAreLeftAsTheyWere)
{
    struct Case {
        const char* name;
        std::string (*make)(const kltest::TempDir& dir);  // returns the target
        int errorNumber;
        const char* reason;
    };
    const Case cases[] = {
        {"read-only file",
         [](const kltest::TempDir& dir) {
             const std::string path = dir.write("読み取り専用.txt", "old\n");
             fs::permissions(kl::PathFromUtf8(path), fs::perms(0444));
             return path;
         },
         EACCES, "読み取り専用のファイルです"},
        {"folder",
         [](const kltest::TempDir& dir) {
             fs::create_directory(kl::PathFromUtf8(dir.file("フォルダー")));
             return dir.file("フォルダー");
         },
         EISDIR, "ファイルではなくフォルダーです"},
        {"missing folder", [](const kltest::TempDir& dir) { return dir.file("ない/a.txt"); }, ENOTDIR,
         "フォルダーが見つかりません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kltest::TempDir dir;
        const std::string target = c.make(dir);
        const std::vector<std::string> names = Names(dir.path());
        const kl::ReplaceResult result = kl::ReplaceFileAtomically(target, "new\n");
        EXPECT_FALSE(result);
        EXPECT_EQ(result.errorNumber, c.errorNumber);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(Names(dir.path()), names);
        if (fs::is_regular_file(kl::PathFromUtf8(target))) {
            EXPECT_EQ(kltest::ReadFileBytes(target), "old\n");
        }
    }
}

#if defined(_WIN32)
// ReplaceFileW gives the new file the old one's attributes, and a reader that shares the
// file keeps reading the old content while it is replaced.
TEST(SavedFiles, AWindowsReplacementKeepsAttributesAndReaders)
{
    kltest::TempDir dir;
    const std::string path = dir.write("隠し.txt", "old\n");
    const std::wstring wide = kl::WideFromUtf8(path);
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const HANDLE reader = ::CreateFileW(wide.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);

    const kl::ReplaceResult result = kl::ReplaceFileAtomically(path, "new\n");
    char buffer[16] = {};
    DWORD got = 0;
    ::ReadFile(reader, buffer, sizeof buffer, &got, nullptr);
    ::CloseHandle(reader);
    ASSERT_TRUE(result) << result.reason;
    EXPECT_EQ(std::string(buffer, got), "old\n");
    EXPECT_EQ(kltest::ReadFileBytes(path), "new\n");
    EXPECT_NE(::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"隠し.txt"});
}
#endif

}  // namespace
