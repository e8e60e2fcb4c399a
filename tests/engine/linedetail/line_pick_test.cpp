// Which lines a right-click picks, what the line information window reports, and where a
// moved-line message leads.
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "engine/display/display_options.h"
#include "engine/linedetail/line_pick.h"
#include "engine/document/text_loader.h"
#include "tests/engine/merge/compared_result.h"

namespace {

std::shared_ptr<const kl::Text> TextOf(std::string_view bytes)
{
    return std::make_shared<const kl::Text>(kl::SplitLines(bytes, false));
}

kl::TextDocument Document(std::string_view a, std::string_view b)
{
    kl::TextDocument doc;
    doc.texts = {TextOf(a), TextOf(b)};
    auto result = std::make_shared<kl::CompareResult>(kl::Compare(doc.texts, {}));
    doc.result = std::move(result);
    return doc;
}

std::optional<kl::LinePick> PickLinePair(const kl::TextDocument& doc, int side, int mode, int row)
{
    return kl::PickLinePair(kl::ShownRows(doc.texts, doc.result, {static_cast<kl::DisplayMode>(mode), false}), side, row);
}

TEST(PickLinePair, ShownAsLoadedTakesTheSameLineNumberOnBothSides)
{
    const kl::TextDocument doc = Document("a\nb\nc\n", "x\ny\n");
    struct Case {
        int side;
        int row;
        bool picks;
    };
    for (const Case& c : {Case{0, 1, true}, Case{1, 0, true}, Case{0, 2, false}, Case{1, 2, false}, Case{0, -1, false}}) {
        SCOPED_TRACE(testing::Message() << c.side << ":" << c.row);
        const auto pick = PickLinePair(doc, c.side, DISPLAY_SOURCE, c.row);
        ASSERT_EQ(pick.has_value(), c.picks);
        if (!pick)
            continue;
        EXPECT_EQ(pick->line1.index, c.row);
        EXPECT_EQ(pick->line2.index, c.row);
        EXPECT_EQ(pick->line1.text, doc.texts[static_cast<std::size_t>(c.side)]);
        EXPECT_EQ(pick->line2.text, doc.texts[static_cast<std::size_t>(1 - c.side)]);
    }
}

TEST(PickLinePair, AResultFillerRowTakesTheNextLineBelowItInEachColumn)
{
    // Rows: common a / a, only-A "old" against a filler, then common z / z.
    const kl::TextDocument doc = Document("a\nold\nz\n", "a\nz\n");
    const auto& rowsB = doc.result->Rows(1);
    ASSERT_EQ(rowsB.size(), 3u);
    ASSERT_EQ(rowsB[1].lineIndex, kl::kNoLine);

    const auto fromB = PickLinePair(doc, 1, DISPLAY_RESULT, 1);
    ASSERT_TRUE(fromB);
    EXPECT_EQ(fromB->line1.bytes(), "z\n");
    EXPECT_EQ(fromB->line2.bytes(), "old\n");
    const auto fromA = PickLinePair(doc, 0, DISPLAY_RESULT, 1);
    ASSERT_TRUE(fromA);
    EXPECT_EQ(fromA->line1.bytes(), "old\n");
    EXPECT_EQ(fromA->line2.bytes(), "z\n");
    EXPECT_FALSE(PickLinePair(doc, 0, DISPLAY_RESULT, 3));
}

TEST(PickLinePair, ALineKeepsItsTextAliveWhenTheDocumentLetsGo)
{
    kl::TextDocument doc = Document("first\n", "second\n");
    const auto pick = PickLinePair(doc, 0, DISPLAY_SOURCE, 0);
    ASSERT_TRUE(pick);
    doc = kl::TextDocument{};
    EXPECT_EQ(pick->line1.bytes(), "first\n");
    EXPECT_EQ(pick->line2.bytes(), "second\n");
}

TEST(MatchInfoOf, ReportsTheBlockSizeAndThePartnersInSlotOrder)
{
    kl::CompareResult result;
    result.sides[0].blockSize.assign(6, 0);
    result.sides[0].blockSize[4] = 12;
    result.sides[0].partnerSlots = kl::PartnerSlotTable(6);
    result.sides[0].partnerSlots.Set(4, 0, 4);
    result.sides[0].partnerSlots.Set(4, 1, 8);

    const kl::LineMatchInfo matched = kl::MatchInfoOf(result, 0, 4);
    EXPECT_EQ(matched.blockSize, 12);
    EXPECT_EQ(matched.partners, (std::vector<int>{4, 8}));
    const kl::LineMatchInfo alone = kl::MatchInfoOf(result, 0, 3);
    EXPECT_EQ(alone.blockSize, 0);
    EXPECT_TRUE(alone.partners.empty());
    // Before any comparison there is nothing to report, for any line.
    const kl::CompareResult notCompared;
    EXPECT_TRUE(kl::MatchInfoOf(notCompared, 1, 7).partners.empty());
}

TEST(MovedLinePartner, LeadsFromTheMessageToTheRowOfTheMovedLine)
{
    // The block m1..m3 moved to the top of DocB: opposite its DocA lines stand messages.
    const kl::CompareResult result =
        kltest::ComparedResult("s0\ns1\ns2\ns3\nm1\nm2\nm3\ns4\n", "m1\nm2\nm3\ns0\ns1\ns2\ns3\ns4\n");
    std::vector<int> lines;
    for (int row = 0; row < result.RowCount(); ++row) {
        const auto target = kl::MovedLinePartner(result.Rows(1), row);
        if (!target)
            continue;
        lines.push_back(target->line);
        EXPECT_EQ(result.Rows(1)[static_cast<std::size_t>(target->row)].lineIndex, target->line);
    }
    EXPECT_EQ(lines, (std::vector<int>{0, 1, 2}));
    // Plain filler rows and rows with lines lead nowhere.
    EXPECT_FALSE(kl::MovedLinePartner(result.Rows(0), 0));
    EXPECT_FALSE(kl::MovedLinePartner(result.Rows(1), 3));
}

}  // namespace
