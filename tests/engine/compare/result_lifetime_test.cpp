// A comparison reads its texts and returns a value: it never changes the texts, and its
// result keeps them alive, so a document may let them go (or load others) while a view,
// a merge or a worker still reads the result.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/compare/compare.h"
#include "engine/document/document_ops.h"
#include "engine/document/text_loader.h"

namespace {

using kl::CompareResult;
using kl::TextDocument;

const char kTextA[] = "alpha\nbeta\ngamma\ndelta\nbeta\n";
const char kTextB[] = "beta\ngamma\nalpha\nepsilon\ndelta\n";

std::shared_ptr<const kl::Text> Load(std::string_view bytes)
{
    return std::make_shared<const kl::Text>(kl::SplitLines(bytes, false));
}

TextDocument MakeDoc()
{
    TextDocument doc;
    doc.texts = {Load(kTextA), Load(kTextB)};
    return doc;
}

CompareResult CompareTexts(const kl::TextPair& texts)
{
    CompareResult result = kl::Compare(texts, kl::CompareRequest{});
    EXPECT_EQ(result.outcome, kl::RunOutcome::Completed);
    return result;
}

// The text every row of column side shows.
std::vector<std::string> RowTexts(const CompareResult& result, int side)
{
    std::vector<std::string> texts;
    std::string scratch;
    for (const kl::DisplayRow& row : result.Rows(side))
        texts.emplace_back(kl::RowText(result, side, row, scratch));
    return texts;
}

TEST(ResultLifetime, CompareLeavesItsTextsAsTheyWere)
{
    const TextDocument doc = MakeDoc();
    const CompareResult first = CompareTexts(doc.texts);
    const CompareResult again = CompareTexts(doc.texts);  // texts that were compared before
    const CompareResult fresh = CompareTexts({Load(kTextA), Load(kTextB)});

    for (int k : {kl::DOC_A, kl::DOC_B}) {
        SCOPED_TRACE(k);
        // The result shares the document's texts; their bytes and lines are unchanged.
        EXPECT_EQ(first.texts[k], doc.texts[k]);
        EXPECT_EQ(doc.texts[k]->bytes(), k == kl::DOC_A ? kTextA : kTextB);
        EXPECT_EQ(doc.texts[k]->starts, fresh.texts[k]->starts);

        // No earlier run shows in a later one.
        const kl::SideResult& merged = again.sides[k];
        const kl::SideResult& expected = fresh.sides[k];
        for (int i = 0; i < doc.texts[k]->count(); ++i) {
            SCOPED_TRACE(testing::Message() << "line " << i);
            EXPECT_EQ(merged.blockSize[i], expected.blockSize[i]);
            EXPECT_EQ(merged.partnerSlots[i], expected.partnerSlots[i]);
            const auto partners = merged.partnerLines.Of(i);
            const auto expectedPartners = expected.partnerLines.Of(i);
            EXPECT_EQ(std::vector<std::int32_t>(partners.begin(), partners.end()),
                      std::vector<std::int32_t>(expectedPartners.begin(), expectedPartners.end()));
        }
        EXPECT_EQ(RowTexts(again, k), RowTexts(fresh, k));
        ASSERT_EQ(again.Rows(k).size(), fresh.Rows(k).size());
        for (std::size_t r = 0; r < again.Rows(k).size(); ++r)
            EXPECT_EQ(again.Rows(k)[r].kind, fresh.Rows(k)[r].kind);
        ASSERT_EQ(again.Blocks(k).size(), fresh.Blocks(k).size());
        for (std::size_t b = 0; b < again.Blocks(k).size(); ++b) {
            EXPECT_EQ(again.Blocks(k)[b].kind, fresh.Blocks(k)[b].kind);
            EXPECT_EQ(again.Blocks(k)[b].firstRow, fresh.Blocks(k)[b].firstRow);
        }
    }
}

TEST(ResultLifetime, ResultKeepsItsTextsWhenTheDocumentLetsThemGo)
{
    const struct {
        const char* name;
        void (*change)(TextDocument&);
    } cases[] = {
        {"document cleared", [](TextDocument& doc) { kl::ClearDocument(doc); }},
        {"DocB released", [](TextDocument& doc) { doc.texts[kl::DOC_B].reset(); }},
        {"DocB replaced", [](TextDocument& doc) { doc.texts[kl::DOC_B] = Load("x\n"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextDocument doc = MakeDoc();
        doc.result = std::make_shared<const CompareResult>(CompareTexts(doc.texts));
        std::shared_ptr<const CompareResult> held = doc.result;  // as a view holds it
        const std::vector<std::string> rowsA = RowTexts(*held, kl::DOC_A);
        const std::vector<std::string> rowsB = RowTexts(*held, kl::DOC_B);
        const std::weak_ptr<const kl::Text> textB = doc.texts[kl::DOC_B];

        c.change(doc);
        EXPECT_FALSE(textB.expired());
        EXPECT_EQ(RowTexts(*held, kl::DOC_A), rowsA);
        EXPECT_EQ(RowTexts(*held, kl::DOC_B), rowsB);
        EXPECT_EQ(held->TextOf(kl::DOC_B)->bytes(), kTextB);

        // Once the last reader lets go of the result, the text it alone held is freed.
        doc.result = std::make_shared<const CompareResult>();
        held.reset();
        EXPECT_TRUE(textB.expired());
    }
}

}  // namespace
