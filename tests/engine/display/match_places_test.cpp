#include "engine/display/match_places.h"

#include <gtest/gtest.h>

#include "engine/compare/compare.h"
#include "engine/document/text_loader.h"

namespace {

TEST(MatchPlaces, MatchesFollowTheRowsAndWrapAtTheEnds)
{
    const kl::TextPair texts{std::make_shared<const kl::Text>(kl::SplitLines("x\nkey a\nsame\n", false)),
                             std::make_shared<const kl::Text>(kl::SplitLines("same\nkey b\nkey key\n", false))};
    auto result = std::make_shared<const kl::CompareResult>(kl::Compare(texts, {}));
    const kl::ShownRows shown(texts, result, {});
    kl::SearchQuery query{"key", true, false, kl::SearchSides::Both};
    const kl::SearchResult found = kl::FindInTexts(texts, query);
    const std::vector<kl::MatchPlace> places = kl::MatchesInRowOrder(shown, found);
    ASSERT_EQ(places.size(), 4u);
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(shown.LineAt(places[i].side, places[i].row), places[i].match.line);
        if (i > 0) {  // row order, DocA first on a row, offsets in order
            EXPECT_LE(places[i - 1].row, places[i].row);
        }
    }
    EXPECT_EQ(places[3].match.begin, 4u);  // the second "key" of "key key"

    bool wrapped = false;
    const kl::MatchPlace& last = places.back();
    EXPECT_EQ(kl::NextMatchIndex(places, last.row, last.side, last.match.begin, true, wrapped), 0);
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(kl::NextMatchIndex(places, places[0].row, places[0].side, places[0].match.begin, false, wrapped), 3);
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(kl::NextMatchIndex(places, places[1].row, places[1].side, places[1].match.begin, true, wrapped), 2);
    EXPECT_FALSE(wrapped);
    EXPECT_EQ(kl::NextMatchIndex(places, places[2].row, places[2].side, places[2].match.begin, false, wrapped), 1);
    EXPECT_EQ(kl::NextMatchIndex({}, 0, 0, 0, true, wrapped), -1);

    // Every line of a side has the row it is shown on.
    const std::vector<int> rows = kl::RowOfEachLine(shown, kl::DOC_B);
    ASSERT_EQ(rows.size(), 3u);
    for (int line = 0; line < 3; ++line)
        EXPECT_EQ(shown.LineAt(kl::DOC_B, rows[static_cast<std::size_t>(line)]), line);
}

}  // namespace
