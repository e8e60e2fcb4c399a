#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/document/document_ops.h"
#include "engine/platform/utf8_path.h"
#include "engine/document/text_loader.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::string_literals;
using kl::OpenOutcome;

// A result over the document's texts with one row and one block per side, standing for
// the result of an earlier comparison.
std::shared_ptr<const kl::CompareResult> ResultWithARowAndBlock(const kl::TextDocument& doc)
{
    auto result = std::make_shared<kl::CompareResult>();
    result->texts = doc.texts;
    for (kl::SideResult& side : result->sides) {
        side.rows.push_back({});
        side.blocks.push_back({});
    }
    return result;
}

class DocumentOpsTest : public ::testing::Test {
protected:
    OpenOutcome Open(const std::string& path, bool answer = true)
    {
        return kl::OpenDocumentFile(doc, path, false, [&] { ++questions; return answer; }, error);
    }

    kltest::TempDir dir;
    kl::TextDocument doc;
    std::string error;
    int questions = 0;
};

TEST_F(DocumentOpsTest, EmptyDocumentQueries)
{
    EXPECT_EQ(kl::LoadedTextCount(doc), 0);
    for (int k : {kl::DOC_A, kl::DOC_B, -1, 2}) {
        EXPECT_EQ(kl::LineCount(doc, k), 0);
        EXPECT_EQ(kl::LongestLine(doc, k), 256);
    }
    EXPECT_EQ(kl::DocumentTitle(doc, "無題"), "無題");
}

TEST_F(DocumentOpsTest, LoadsDocAThenDocB)
{
    const std::string a = dir.write("before.txt", "one\r\nthree33\r\nx");
    const std::string b = dir.write("after.txt", "a\0b\nc\r"s);

    EXPECT_EQ(Open(a), OpenOutcome::LoadedDocA);
    EXPECT_EQ(kl::DocumentTitle(doc, "before.txt"), "before.txt");
    EXPECT_EQ(Open(b), OpenOutcome::LoadedDocB);
    EXPECT_EQ(questions, 0);
    EXPECT_TRUE(error.empty());

    EXPECT_EQ(kl::LoadedTextCount(doc), 2);
    EXPECT_EQ(kl::LineCount(doc, kl::DOC_A), 3);
    EXPECT_EQ(kl::LineCount(doc, kl::DOC_B), 2);
    EXPECT_EQ(kl::LongestLine(doc, kl::DOC_A), 1);
    EXPECT_EQ(kl::LongestLine(doc, kl::DOC_B), 0);
    EXPECT_EQ(doc.texts[kl::DOC_B]->text(0), "a\0b\n"s);  // NUL bytes survive loading
    EXPECT_EQ(doc.filePaths, (std::vector<std::string>{a, b}));
    EXPECT_EQ(doc.fileNames, (std::vector<std::string>{"before.txt", "after.txt"}));
    ASSERT_EQ(doc.fileInfos.size(), 2u);
    const std::time_t modified = std::chrono::system_clock::to_time_t(
        std::chrono::file_clock::to_sys(std::filesystem::last_write_time(a)));
    EXPECT_EQ(doc.fileInfos[0], kl::FormatFileInfo(modified, 15));
    EXPECT_EQ(doc.pendingTreePaths, (std::array<int, 3>{1, 2, 0}));
    EXPECT_EQ(kl::DocumentTitle(doc, "ignored"), "before.txt-after.txt");
}

TEST_F(DocumentOpsTest, JapaneseFileNames)
{
    std::filesystem::create_directory(kl::PathFromUtf8(dir.file("比較")));
    const std::string a = dir.file("比較/旧版.txt");
    const std::string b = dir.file("比較/新版.txt");
    for (const std::string& path : {a, b}) {
        std::ofstream out(kl::PathFromUtf8(path), std::ios::binary);
        out << "x\n";
    }
    EXPECT_EQ(Open(a), OpenOutcome::LoadedDocA);
    EXPECT_EQ(Open(b), OpenOutcome::LoadedDocB);
    EXPECT_EQ(doc.fileNames, (std::vector<std::string>{"旧版.txt", "新版.txt"}));
    EXPECT_EQ(kl::DocumentTitle(doc, "Kestrilane"), "旧版.txt-新版.txt");
}

TEST_F(DocumentOpsTest, EmptyFileLoadsWithZeroLines)
{
    EXPECT_EQ(Open(dir.write("empty.txt", "")), OpenOutcome::LoadedDocA);
    EXPECT_EQ(kl::LoadedTextCount(doc), 1);
    EXPECT_EQ(kl::LineCount(doc, kl::DOC_A), 0);
    EXPECT_EQ(kl::LongestLine(doc, kl::DOC_A), 0);
    EXPECT_NE(doc.fileInfos[0].find("] 0 byte"), std::string::npos) << doc.fileInfos[0];
}

TEST_F(DocumentOpsTest, ThirdFileRefusedLeavesEverything)
{
    Open(dir.write("a.txt", "a\n"));
    Open(dir.write("b.txt", "b\n"));
    doc.result = ResultWithARowAndBlock(doc);
    const kl::Text* textA = doc.texts[kl::DOC_A].get();
    const kl::CompareResult* result = doc.result.get();

    EXPECT_EQ(Open(dir.write("c.txt", "c\n"), false), OpenOutcome::Refused);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(doc.texts[kl::DOC_A].get(), textA);
    EXPECT_EQ(doc.fileNames, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(doc.result.get(), result);
    EXPECT_EQ(doc.result->Rows(kl::DOC_A).size(), 1u);
    EXPECT_EQ(doc.result->Blocks(kl::DOC_B).size(), 1u);
    EXPECT_EQ(doc.pendingTreePaths, (std::array<int, 3>{1, 2, 0}));
}

TEST_F(DocumentOpsTest, ThirdFileAcceptedClearsAndBecomesDocA)
{
    Open(dir.write("a.txt", "a\n"));
    Open(dir.write("b.txt", "b\n"));
    doc.result = ResultWithARowAndBlock(doc);

    EXPECT_EQ(Open(dir.write("c.txt", "c1\nc2\n"), true), OpenOutcome::LoadedDocA);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(kl::LoadedTextCount(doc), 1);
    EXPECT_EQ(kl::LineCount(doc, kl::DOC_A), 2);
    EXPECT_EQ(doc.fileNames, (std::vector<std::string>{"c.txt"}));
    EXPECT_EQ(kl::LongestLine(doc, kl::DOC_B), 256);
    ASSERT_TRUE(doc.result);
    EXPECT_TRUE(doc.result->Rows(kl::DOC_A).empty());
    EXPECT_TRUE(doc.result->Rows(kl::DOC_B).empty());
    EXPECT_TRUE(doc.result->Blocks(kl::DOC_A).empty());
    EXPECT_EQ(doc.pendingTreePaths, (std::array<int, 3>{1, 0, 0}));
}

TEST_F(DocumentOpsTest, UnreadableFileFailsWithoutChanges)
{
    const std::string a = dir.write("a.txt", "a\n");
    Open(a);
    const std::string missing = dir.file("missing.txt");
    const std::string folder = dir.file("folder");
    std::filesystem::create_directory(folder);

    for (const std::string& path : {missing, folder}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(Open(path), OpenOutcome::Failed);
        EXPECT_NE(error.find("ファイル「" + path + "」を開けません。"), std::string::npos) << error;
        EXPECT_EQ(kl::LoadedTextCount(doc), 1);
        EXPECT_FALSE(doc.texts[kl::DOC_B]);
        EXPECT_EQ(doc.filePaths, (std::vector<std::string>{a}));
        EXPECT_EQ(doc.fileNames.size(), 1u);
        EXPECT_EQ(doc.fileInfos.size(), 1u);
        EXPECT_EQ(kl::LongestLine(doc, kl::DOC_B), 256);
        EXPECT_EQ(doc.pendingTreePaths, (std::array<int, 3>{1, 0, 0}));
    }
    EXPECT_NE(error.find("フォルダー"), std::string::npos) << error;
}

TEST_F(DocumentOpsTest, LoadWithTwoTextsLoadedDoesNothing)
{
    Open(dir.write("a.txt", "a\n"));
    Open(dir.write("b.txt", "b\n"));
    error = "stale";
    EXPECT_FALSE(kl::LoadIntoDocument(doc, dir.write("c.txt", "c\n"), false, error));
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(doc.fileNames, (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST_F(DocumentOpsTest, TreeQueueTakesFirstFreeSlot)
{
    Open(dir.write("a.txt", "a\n"));
    doc.pendingTreePaths[0] = 0;  // the file tree pane took DocA's path
    Open(dir.write("b.txt", "b\n"));
    EXPECT_EQ(doc.pendingTreePaths, (std::array<int, 3>{2, 0, 0}));
}

TEST_F(DocumentOpsTest, NothingQueuedWhileNotRecording)
{
    doc.recording = false;
    Open(dir.write("a.txt", "a\n"));
    Open(dir.write("b.txt", "b\n"));
    EXPECT_EQ(doc.pendingTreePaths, (std::array<int, 3>{0, 0, 0}));
    kl::ClearDocument(doc);
    EXPECT_FALSE(doc.recording);
}

TEST_F(DocumentOpsTest, ClearReleasesEverything)
{
    Open(dir.write("a.txt", "a\n"));
    Open(dir.write("b.txt", "b\n"));
    doc.result = ResultWithARowAndBlock(doc);
    kl::ClearDocument(doc);
    EXPECT_EQ(kl::LoadedTextCount(doc), 0);
    EXPECT_FALSE(doc.texts[kl::DOC_A]);
    EXPECT_FALSE(doc.texts[kl::DOC_B]);
    EXPECT_TRUE(doc.filePaths.empty() && doc.fileNames.empty() && doc.fileInfos.empty());
    ASSERT_TRUE(doc.result);
    EXPECT_TRUE(doc.result->texts[kl::DOC_A] == nullptr && doc.result->texts[kl::DOC_B] == nullptr);
    EXPECT_TRUE(doc.result->Rows(kl::DOC_B).empty() && doc.result->Blocks(kl::DOC_A).empty() &&
                doc.result->Blocks(kl::DOC_B).empty());
    EXPECT_EQ(doc.pendingTreePaths, (std::array<int, 3>{0, 0, 0}));
    EXPECT_TRUE(doc.recording);
    EXPECT_EQ(kl::LongestLine(doc, kl::DOC_A), 256);
}

TEST_F(DocumentOpsTest, EucConversionOnLoad)
{
    const std::string path = dir.write("euc.txt", "\xc6\xfc\xcb\xdc\r\n\xa5\xa2\x8e\xb1\n");
    EXPECT_TRUE(kl::LoadIntoDocument(doc, path, true, error));
    const kl::Text& text = *doc.texts[kl::DOC_A];
    EXPECT_EQ(text.text(0), "\x93\xfa\x96\x7b\r\n");
    EXPECT_EQ(text.text(1), "\x83\x41\xb1\n");
    EXPECT_EQ(kl::LineLength(text, 1), 5);
    // The information text gives the size of the file, not of the converted text.
    EXPECT_NE(doc.fileInfos[0].find("] 11 byte"), std::string::npos) << doc.fileInfos[0];
}

TEST_F(DocumentOpsTest, EachLoadRecordsTheFileAsItWas)
{
    const std::string a = dir.write("a.txt", "abc\n");
    Open(a);
    ASSERT_EQ(doc.fileStamps.size(), 1u);
    EXPECT_TRUE(doc.fileStamps[0].known);
    EXPECT_EQ(doc.fileStamps[0].size, 4u);
    EXPECT_EQ(doc.fileStamps[0].modified, std::filesystem::last_write_time(a));
    EXPECT_TRUE(kl::FileUnchanged(a, doc.fileStamps[0]));
    kl::ClearDocument(doc);
    EXPECT_TRUE(doc.fileStamps.empty());
}

TEST_F(DocumentOpsTest, AMovedFileIsKnownByItsNewPath)
{
    const std::string a = dir.write("a.txt", "a\n");
    Open(a);
    Open(dir.write("b.txt", "b\n"));
    const kl::TextPair texts = doc.texts;
    const std::vector<std::string> infos = doc.fileInfos;

    const std::string moved = dir.file("moved/ａ.txt");
    EXPECT_TRUE(kl::RenameFilePath(doc, a, moved));
    EXPECT_EQ(doc.filePaths, (std::vector<std::string>{moved, dir.file("b.txt")}));
    EXPECT_EQ(doc.fileNames, (std::vector<std::string>{"ａ.txt", "b.txt"}));
    EXPECT_EQ(kl::DocumentTitle(doc, ""), "ａ.txt-b.txt");
    EXPECT_EQ(doc.texts, texts);
    EXPECT_EQ(doc.fileInfos, infos);
    EXPECT_FALSE(kl::RenameFilePath(doc, a, dir.file("again.txt")));
}

}  // namespace

namespace {

TEST(MixedEncodingPair, TheCodePage932TextIsReadAsUtf8SoEqualContentCompares)
{
    kltest::TempDir dir;
    const std::string sjis = "\x93\xfa\x96\x7b\r\nabc\r\n";  // 日本 / abc
    const std::string utf8 = "\xE6\x97\xA5\xE6\x9C\xAC\r\nabc\r\n";
    for (const bool utf8First : {false, true}) {
        SCOPED_TRACE(utf8First);
        kl::TextDocument doc;
        std::string error;
        ASSERT_TRUE(kl::LoadIntoDocument(doc, dir.write("a.txt", utf8First ? utf8 : sjis), false, error)) << error;
        ASSERT_TRUE(kl::LoadIntoDocument(doc, dir.write("b.txt", utf8First ? sjis : utf8), false, error)) << error;
        const kl::Text& converted = *doc.texts[utf8First ? 1 : 0];
        EXPECT_EQ(converted.encoding, kl::TextEncoding::Utf8);
        EXPECT_EQ(converted.conversion, kl::Text::Conversion::FromCp932);
        EXPECT_TRUE(converted.converted);
        EXPECT_EQ(converted.bytes(), utf8);
        EXPECT_EQ(kl::LineLength(converted, 0), 6);  // as read from the file
        EXPECT_EQ(doc.texts[0]->bytes(), doc.texts[1]->bytes());
    }
}

// An ASCII text beside a UTF-8 (or UTF-16) one reads the same either way: nothing is
// converted, so nothing is noted as converted.
TEST(MixedEncodingPair, AnAsciiTextKeepsItsBytesAndCountsAsUnconverted)
{
    kltest::TempDir dir;
    const std::string ascii = "abc\r\n";
    for (const std::string& other : {std::string("\xE6\x97\xA5\r\n"), std::string("\xFF\xFE\xE5\x65\r\0\n\0", 8)}) {
        kl::TextDocument doc;
        std::string error;
        ASSERT_TRUE(kl::LoadIntoDocument(doc, dir.write("a.txt", ascii), false, error)) << error;
        ASSERT_TRUE(kl::LoadIntoDocument(doc, dir.write("b.txt", other), false, error)) << error;
        EXPECT_EQ(doc.texts[0]->encoding, kl::TextEncoding::Utf8);
        EXPECT_FALSE(doc.texts[0]->converted);
        EXPECT_EQ(doc.texts[0]->conversion, kl::Text::Conversion::None);
        EXPECT_EQ(doc.texts[0]->bytes(), ascii);
    }
}

}  // namespace

namespace {

TEST_F(DocumentOpsTest, SwapSidesExchangesEverythingOfBothTexts)
{
    const std::string a = dir.write("a.txt", "one\n");
    const std::string b = dir.write("b.txt", "two\r\nlines\r\n");
    ASSERT_EQ(Open(a), OpenOutcome::LoadedDocA);
    EXPECT_FALSE(kl::SwapSides(doc));  // one text: nothing to swap
    ASSERT_EQ(Open(b), OpenOutcome::LoadedDocB);
    doc.encodingChoices = {kl::EncodingChoice::Utf8, kl::EncodingChoice::Auto};
    doc.result = ResultWithARowAndBlock(doc);
    const auto textA = doc.texts[0];
    const auto infos = doc.fileInfos;
    doc.pendingTreePaths = {0, 0, 0};

    ASSERT_TRUE(kl::SwapSides(doc));
    EXPECT_EQ(kl::LineCount(doc, kl::DOC_A), 2);
    EXPECT_EQ(doc.texts[1], textA);
    EXPECT_EQ(doc.filePaths, (std::vector<std::string>{b, a}));
    EXPECT_EQ(doc.fileNames, (std::vector<std::string>{"b.txt", "a.txt"}));
    EXPECT_EQ(doc.fileInfos, (std::vector<std::string>{infos[1], infos[0]}));
    EXPECT_EQ(doc.encodingChoices, (std::array{kl::EncodingChoice::Auto, kl::EncodingChoice::Utf8}));
    EXPECT_TRUE(doc.result->sides[0].rows.empty());
    EXPECT_EQ(doc.pendingTreePaths, (std::array<int, 3>{1, 2, 0}));
    EXPECT_EQ(kl::DocumentTitle(doc, ""), "b.txt-a.txt");
}

}  // namespace
