// A run on a snapshot of the texts, merged back, gives the document what a run on the
// document itself gives; a document that changed meanwhile is left alone.
#include "engine/compare/run_snapshot.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/compare/compare_run.h"
#include "engine/document/text_loader.h"

namespace {

using kl::TextDocument;

TextDocument MakeDoc(std::string_view a, std::string_view b)
{
    TextDocument doc;
    doc.lineTables[kl::DOC_A] = std::make_unique<kl::LineTable>(kl::SplitLines(a, false));
    doc.lineTables[kl::DOC_B] = std::make_unique<kl::LineTable>(kl::SplitLines(b, false));
    doc.filePaths = {"/a", "/b"};
    doc.fileInfos = {" [2024/01/02 03:04] 10 byte", " [2023/12/31 23:59] 7 byte"};
    return doc;
}

const char kTextA[] = "alpha\nbeta\ngamma\ndelta\nbeta\n";
const char kTextB[] = "beta\ngamma\nalpha\nepsilon\ndelta\n";

void RunOn(TextDocument& doc)
{
    kl::g_abortRequested = 0;
    kl::g_compareRunning = 1;
    ASSERT_EQ(kl::RunCompare(doc, kl::CompareRunSettings{}, {}), kl::kRunCompleted);
}

TEST(RunSnapshot, CopiesTheTextsWithoutMatchFields)
{
    TextDocument doc = MakeDoc(kTextA, kTextB);
    RunOn(doc);  // the document now carries the match fields of a previous run
    const TextDocument snapshot = kl::SnapshotForRun(doc);

    for (int k : {kl::DOC_A, kl::DOC_B}) {
        ASSERT_TRUE(snapshot.lineTables[k]);
        const kl::LineTable& copy = *snapshot.lineTables[k];
        const kl::LineTable& original = *doc.lineTables[k];
        EXPECT_NE(&copy, &original);
        ASSERT_EQ(copy.count(), original.count());
        for (int i = 0; i < copy.count(); ++i) {
            EXPECT_EQ(copy.text(i), original.text(i));
            EXPECT_EQ(copy.lines[i].newlineKind, original.lines[i].newlineKind);
            EXPECT_EQ(copy.lines[i].blockSize, 0);
            EXPECT_EQ(copy.lines[i].partnerSlots[0], kl::kNoLine);
            EXPECT_TRUE(copy.lines[i].partnerLines.empty());
        }
    }
    EXPECT_EQ(snapshot.fileInfos, doc.fileInfos);
    EXPECT_TRUE(snapshot.rowsA.empty());
    EXPECT_TRUE(snapshot.blocksA.empty());
}

TEST(RunSnapshot, MergedResultEqualsARunInPlace)
{
    TextDocument inPlace = MakeDoc(kTextA, kTextB);
    RunOn(inPlace);

    TextDocument doc = MakeDoc(kTextA, kTextB);
    const kl::LineTable* tableA = doc.lineTables[kl::DOC_A].get();
    TextDocument snapshot = kl::SnapshotForRun(doc);
    RunOn(snapshot);
    ASSERT_TRUE(kl::MergeRunResult(doc, snapshot));

    // The document keeps its own tables (views may hold them) with the new match fields.
    EXPECT_EQ(doc.lineTables[kl::DOC_A].get(), tableA);
    for (int k : {kl::DOC_A, kl::DOC_B}) {
        const kl::LineTable& merged = *doc.lineTables[k];
        const kl::LineTable& expected = *inPlace.lineTables[k];
        for (int i = 0; i < merged.count(); ++i) {
            SCOPED_TRACE(testing::Message() << "text " << k << " line " << i);
            EXPECT_EQ(merged.lines[i].blockSize, expected.lines[i].blockSize);
            EXPECT_EQ(merged.lines[i].partnerSlots, expected.lines[i].partnerSlots);
            EXPECT_EQ(merged.lines[i].partnerLines, expected.lines[i].partnerLines);
        }
    }
    ASSERT_EQ(doc.rowsA.size(), inPlace.rowsA.size());
    for (std::size_t r = 0; r < doc.rowsA.size(); ++r) {
        EXPECT_EQ(doc.rowsA[r].text, inPlace.rowsA[r].text);
        EXPECT_EQ(doc.rowsA[r].kind, inPlace.rowsA[r].kind);
        EXPECT_EQ(doc.rowsB[r].text, inPlace.rowsB[r].text);
    }
    ASSERT_EQ(doc.blocksA.size(), inPlace.blocksA.size());
    ASSERT_EQ(doc.blocksB.size(), inPlace.blocksB.size());
    for (std::size_t b = 0; b < doc.blocksA.size(); ++b) {
        EXPECT_EQ(doc.blocksA[b].kind, inPlace.blocksA[b].kind);
        EXPECT_EQ(doc.blocksA[b].firstRow, inPlace.blocksA[b].firstRow);
    }
    // The paths were never part of the snapshot and stay.
    EXPECT_EQ(doc.filePaths, (std::vector<std::string>{"/a", "/b"}));
}

TEST(RunSnapshot, ChangedDocumentIsLeftAlone)
{
    const struct {
        const char* name;
        void (*change)(TextDocument&);
    } cases[] = {
        {"texts released", [](TextDocument& doc) { doc.lineTables = {}; }},
        {"DocB released", [](TextDocument& doc) { doc.lineTables[kl::DOC_B].reset(); }},
        {"DocB replaced", [](TextDocument& doc) {
             doc.lineTables[kl::DOC_B] = std::make_unique<kl::LineTable>(kl::SplitLines("x\n", false));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextDocument doc = MakeDoc(kTextA, kTextB);
        TextDocument snapshot = kl::SnapshotForRun(doc);
        RunOn(snapshot);
        c.change(doc);
        EXPECT_FALSE(kl::MergeRunResult(doc, snapshot));
        EXPECT_TRUE(doc.rowsA.empty());
        EXPECT_TRUE(doc.blocksA.empty());
        if (doc.lineTables[kl::DOC_A]) {
            EXPECT_EQ(doc.lineTables[kl::DOC_A]->lines[0].blockSize, 0);
        }
    }
}

}  // namespace
