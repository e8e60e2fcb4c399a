#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/document/document_ops.h"
#include "engine/document/text_save.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using kl::SaveOutcome;

class TextSaveTest : public ::testing::Test {
protected:
    std::string Load(const std::string& name, const std::string& bytes, bool eucChg = false)
    {
        const std::string path = dir.write(name, bytes);
        std::string error;
        EXPECT_TRUE(kl::LoadIntoDocument(doc, path, eucChg, error)) << error;
        return path;
    }
    // The text k as the editor leaves it: new lines, the file's origin kept.
    void Edit(int k, std::vector<std::string_view> lines, kl::TextEncoding held)
    {
        auto text = std::make_shared<kl::Text>(kl::TextFromLines(lines));
        text->encoding = held;
        text->origin = doc.texts[static_cast<std::size_t>(k)]->origin;
        doc.texts[static_cast<std::size_t>(k)] = text;
        doc.edited[static_cast<std::size_t>(k)] = true;
    }

    kltest::TempDir dir;
    kl::TextDocument doc;
};

TEST_F(TextSaveTest, AnEditedTextIsWrittenInItsFilesEncodingAndIsNoLongerEdited)
{
    const std::string path = Load("euc.txt", "\xb4\xc1\r\n\x8e\xb6\xa4\xa2\n", true);
    fs::permissions(path, fs::perms(0640));
    const fs::perms before = fs::status(path).permissions();
    Edit(0, {"\x8a\xbf\r\n", "\x8e\xb6\xa4\xa2\n", "\x8e\x9a\r\n"}, kl::TextEncoding::Cp932);

    EXPECT_EQ(kl::SaveText(doc, 0, {}).outcome, SaveOutcome::Saved);
    // The line the conversion had left alone keeps its bytes; the new line is EUC-JP.
    EXPECT_EQ(kltest::ReadFileBytes(path), "\xb4\xc1\r\n\x8e\xb6\xa4\xa2\n\xbb\xfa\r\n");
    EXPECT_EQ(fs::status(path).permissions(), before);
    EXPECT_FALSE(doc.edited[0]);
    EXPECT_NE(doc.fileInfos[0].find("] 13 byte"), std::string::npos) << doc.fileInfos[0];
    // Known as written: the next save asks nothing.
    EXPECT_EQ(kl::SaveText(doc, 0, {}).outcome, SaveOutcome::Saved);
}

TEST_F(TextSaveTest, ACharacterTheFileCannotHoldWritesNothingUntilAnotherEncodingIsChosen)
{
    const std::string path = Load("sjis.txt", "\x8a\xbf\n");
    Edit(0, {"\xe6\xbc\xa2\xf0\x9f\x98\x80\n"}, kl::TextEncoding::Utf8);

    const kl::SaveResult refused = kl::SaveText(doc, 0, {});
    EXPECT_EQ(refused.outcome, SaveOutcome::Unencodable);
    ASSERT_TRUE(refused.unencodable);
    EXPECT_EQ(refused.unencodable->character, U'\U0001F600');
    EXPECT_EQ(kltest::ReadFileBytes(path), "\x8a\xbf\n");
    EXPECT_TRUE(doc.edited[0]);

    kl::SaveRequest asUtf8;
    asUtf8.encoding = kl::FileEncoding::Utf8;
    EXPECT_EQ(kl::SaveText(doc, 0, asUtf8).outcome, SaveOutcome::Saved);
    EXPECT_EQ(kltest::ReadFileBytes(path), "\xe6\xbc\xa2\xf0\x9f\x98\x80\n");
    EXPECT_EQ(doc.texts[0]->origin.encoding, kl::FileEncoding::Utf8);
    EXPECT_EQ(doc.encodingChoices[0], kl::EncodingChoice::Utf8);  // read back as written
}

TEST_F(TextSaveTest, SavingUnderAnotherNameMovesTheSideToTheNewFile)
{
    const std::string old = Load("a.txt", "a\n");
    Load("b.txt", "b\n");
    Edit(0, {"a2\n"}, kl::TextEncoding::Cp932);
    kl::SaveRequest request;
    request.path = dir.file("c.txt");
    request.encoding = kl::FileEncoding::Utf16Le;

    EXPECT_EQ(kl::SaveText(doc, 0, request).outcome, SaveOutcome::Saved);
    EXPECT_EQ(kltest::ReadFileBytes(request.path), std::string("\xff\xfe" "a\0" "2\0" "\n\0", 8));
    EXPECT_EQ(kltest::ReadFileBytes(old), "a\n");
    EXPECT_EQ(doc.filePaths[0], request.path);
    EXPECT_EQ(doc.fileNames[0], "c.txt");
    EXPECT_EQ(kl::SaveText(doc, 0, {}).outcome, SaveOutcome::Saved);  // its own file now
}

TEST_F(TextSaveTest, AFileChangedSinceLoadingIsOnlyOverwrittenWhenAllowed)
{
    const std::string path = Load("a.txt", "a\n");
    Edit(0, {"b\n"}, kl::TextEncoding::Cp932);
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(2));

    EXPECT_EQ(kl::SaveText(doc, 0, {}).outcome, SaveOutcome::ChangedOnDisk);
    EXPECT_EQ(kltest::ReadFileBytes(path), "a\n");
    kl::SaveRequest overwrite;
    overwrite.overwriteChanged = true;
    EXPECT_EQ(kl::SaveText(doc, 0, overwrite).outcome, SaveOutcome::Saved);
    EXPECT_EQ(kltest::ReadFileBytes(path), "b\n");
}

// A file without any write permission bit is refused to every user, the superuser too.
TEST_F(TextSaveTest, AReadOnlyFileIsRefused)
{
    const std::string path = Load("a.txt", "a\n");
    fs::permissions(path, fs::perms(0444));
    Edit(0, {"b\n"}, kl::TextEncoding::Cp932);

    EXPECT_EQ(kl::SaveText(doc, 0, {}).outcome, SaveOutcome::ReadOnly);
    EXPECT_EQ(kltest::ReadFileBytes(path), "a\n");
    EXPECT_TRUE(doc.edited[0]);
}

}  // namespace
