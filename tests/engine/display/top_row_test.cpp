// The top row after a display-mode switch keeps the same line at the top.
#include <gtest/gtest.h>
#include <memory>

#include "engine/display/display_options.h"
#include "engine/display/top_row.h"
#include "engine/document/text_document.h"

namespace {

// DocA a0..a3, DocB b0..b3, aligned as
//   row 0  a0 | b0      row 3  -- | b2
//   row 1  a1 | --      row 4  a2 | b3
//   row 2  -- | b1      row 5  a3 | --
kl::DisplayRow RowOf(int line)
{
    return line < 0 ? kl::DisplayRow{kl::kNoLine, kl::kNoLine, kl::ROW_FILLER, kl::RowMessage::Left}
                    : kl::DisplayRow{line, kl::kNoLine, kl::ROW_COMMON, kl::RowMessage::None};
}

// The switch between two display modes of doc, unpaired.
int TopRowAfterModeSwitch(const kl::TextDocument& doc, int side, int from, int to, int topRow)
{
    const auto shown = [&](int mode) {
        return kl::ShownRows(doc.texts, doc.result, {static_cast<kl::DisplayMode>(mode), false});
    };
    return kl::TopRowAfterSwitch(shown(from), shown(to), side, topRow);
}

kl::TextDocument AlignedDocument()
{
    kl::TextDocument doc;
    doc.texts = {std::make_shared<const kl::Text>(kl::TextFromLines({"a0\n", "a1\n", "a2\n", "a3\n"})),
                 std::make_shared<const kl::Text>(kl::TextFromLines({"b0\n", "b1\n", "b2\n", "b3\n"}))};
    auto result = std::make_shared<kl::CompareResult>();
    result->texts = doc.texts;
    const int linesA[] = {0, 1, -1, -1, 2, 3};
    const int linesB[] = {0, -1, 1, 2, 3, -1};
    for (int row = 0; row < 6; ++row) {
        result->sides[kl::DOC_A].rows.push_back(RowOf(linesA[row]));
        result->sides[kl::DOC_B].rows.push_back(RowOf(linesB[row]));
    }
    doc.result = std::move(result);
    return doc;
}

TEST(TopRowTest, MapsTheTopLineBetweenTheModes)
{
    const kl::TextDocument doc = AlignedDocument();
    const struct {
        int side;
        int from;
        int topRow;
        int expected;
    } cases[] = {
        {kl::DOC_A, DISPLAY_SOURCE, 0, 0},
        {kl::DOC_A, DISPLAY_SOURCE, 1, 1},
        {kl::DOC_A, DISPLAY_SOURCE, 2, 4},
        {kl::DOC_A, DISPLAY_SOURCE, 3, 5},
        {kl::DOC_A, DISPLAY_SOURCE, 40, 5},  // past the end: the last row
        {kl::DOC_B, DISPLAY_SOURCE, 1, 2},
        {kl::DOC_B, DISPLAY_SOURCE, 3, 4},
        {kl::DOC_A, DISPLAY_RESULT, 1, 1},
        {kl::DOC_A, DISPLAY_RESULT, 2, 2},   // filler: the line of the next row that has one
        {kl::DOC_A, DISPLAY_RESULT, 3, 2},
        {kl::DOC_A, DISPLAY_RESULT, 5, 3},
        {kl::DOC_A, DISPLAY_RESULT, 90, 3},
        {kl::DOC_B, DISPLAY_RESULT, 1, 1},
        {kl::DOC_B, DISPLAY_RESULT, 4, 3},
        {kl::DOC_B, DISPLAY_RESULT, 5, 3},   // trailing filler: the last line
        {kl::DOC_A, DISPLAY_SOURCE, -7, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "side " << c.side << " mode " << c.from << " top " << c.topRow);
        const int to = c.from == DISPLAY_SOURCE ? DISPLAY_RESULT : DISPLAY_SOURCE;
        EXPECT_EQ(TopRowAfterModeSwitch(doc, c.side, c.from, to, c.topRow), c.expected);
    }
}

TEST(TopRowTest, StaysWhenTheModeStaysAndClampsToTheRows)
{
    const kl::TextDocument doc = AlignedDocument();
    EXPECT_EQ(TopRowAfterModeSwitch(doc, kl::DOC_A, DISPLAY_RESULT, DISPLAY_RESULT, 4), 4);
    EXPECT_EQ(TopRowAfterModeSwitch(doc, kl::DOC_A, DISPLAY_RESULT, DISPLAY_RESULT, 9), 5);
    EXPECT_EQ(TopRowAfterModeSwitch(doc, kl::DOC_B, DISPLAY_SOURCE, DISPLAY_SOURCE, 9), 3);
}

TEST(TopRowTest, ModesWithoutRowsGiveTheFirstRow)
{
    kl::TextDocument doc = AlignedDocument();
    doc.result = std::make_shared<const kl::CompareResult>();
    EXPECT_EQ(TopRowAfterModeSwitch(doc, kl::DOC_A, DISPLAY_SOURCE, DISPLAY_RESULT, 3), 0);
    EXPECT_EQ(TopRowAfterModeSwitch(doc, kl::DOC_A, DISPLAY_RESULT, DISPLAY_SOURCE, 3), 3);

    const kl::TextDocument empty;
    EXPECT_EQ(TopRowAfterModeSwitch(empty, kl::DOC_B, DISPLAY_RESULT, DISPLAY_SOURCE, 5), 0);
}

}  // namespace
