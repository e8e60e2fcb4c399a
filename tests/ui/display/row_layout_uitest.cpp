// Tab stops of a row: painting against the selection highlight and hit-testing; rows wrapped
// at a width, and where wrapped rows stand.
#include <QFont>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/display/shown_rows.h"
#include "engine/edit/text_edit.h"
#include "ui/display/row_geometry.h"
#include "ui/display/row_layout.h"
#include "tests/support/test_scale.h"

namespace {

TEST(TabStops, PaintingAndSelectionDifferOnlyAfterAShortSegment)
{
    constexpr int tab = 32;
    const struct {
        int segmentWidth;
        int painted;
        int selection;
    } cases[] = {
        {0, 32, 32},    // empty segment: one full tab in both
        {1, 32, 64},    // narrower than a tab: first stop painted, second stop selected
        {31, 32, 64},
        {32, 64, 64},   // a full tab wide or more: the next stop in both
        {40, 64, 64},
        {95, 96, 96},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kl::TabAdvance(c.segmentWidth, tab, kl::TabStops::Painted), c.painted) << c.segmentWidth;
        EXPECT_EQ(kl::TabAdvance(c.segmentWidth, tab, kl::TabStops::Selection), c.selection) << c.segmentWidth;
    }
    EXPECT_EQ(kl::TabAdvance(7, 0, kl::TabStops::Selection), 7);  // no tab cell measured yet
}

TEST(TabStops, PrefixWidthAfterATabFollowsTheChosenStops)
{
    kl::TextMeasure measure;
    QFont font(QStringLiteral("monospace"));
    font.setPixelSize(12);
    measure.SetFont(font);
    const int a = measure.Advance(u'a');
    ASSERT_GT(a, 0);
    const int tab = 4 * a;
    const std::string text = "a\tb\r\n";
    // The boundary before "b": one tab stop when painted, two when selecting.
    EXPECT_EQ(kl::PrefixWidth(measure, tab, text, 2, kl::TabStops::Painted), tab);
    EXPECT_EQ(kl::PrefixWidth(measure, tab, text, 2, kl::TabStops::Selection), 2 * tab);
    // A tab first in the row advances one tab in both.
    const std::string leading = "\tb\n";
    EXPECT_EQ(kl::PrefixWidth(measure, tab, leading, 1, kl::TabStops::Selection), tab);
}

}  // namespace

namespace wrapping {

// Random rows of ASCII, tabs and Japanese (UTF-8), some of them long.
std::string RandomRow(std::mt19937& random)
{
    static const char* const pieces[] = {"a", "W", "i", " ", "\t", "\xe6\x97\xa5", "\xe6\x9c\xac", "\xe3\x80\x82", "0"};
    std::string row;
    const int length = std::uniform_int_distribution<int>(0, 1)(random) ? 10 : 120;
    const int count = std::uniform_int_distribution<int>(0, length)(random);
    const bool ascii = std::uniform_int_distribution<int>(0, 2)(random) == 0;
    for (int i = 0; i < count; ++i)
        row += pieces[std::uniform_int_distribution<int>(0, ascii ? 3 : 8)(random)];
    return row + "\n";
}

TEST(Wrapping, LinesAreFilledGreedilyAndTheQuickCountAgreesWithTheWalk)
{
    kl::TextMeasure measure;
    QFont font(QStringLiteral("monospace"));
    font.setPixelSize(13);
    measure.SetFont(font);
    measure.SetEncoding(kl::TextEncoding::Utf8);
    const int tab = 4 * measure.Advance(u'a');
    std::mt19937 random(22);
    for (int round = 0; round < kltest::ScaledCases(40); ++round) {
        std::vector<std::string> lines;
        for (int i = 0; i < 50; ++i)
            lines.push_back(RandomRow(random));
        kl::Text loaded = kl::TextFromLines(std::vector<std::string_view>(lines.begin(), lines.end()));
        loaded.encoding = kl::TextEncoding::Utf8;
        auto text = std::make_shared<const kl::Text>(std::move(loaded));
        const kl::ShownRows shown({text, text}, nullptr, kl::DisplayOptions{kl::DISPLAY_SOURCE, false});
        const int width = std::uniform_int_distribution<int>(5, 400)(random);
        const std::vector<std::int32_t> counts = kl::WrappedLineCounts(measure, tab, width, shown, kl::DOC_A);
        ASSERT_EQ(counts.size(), lines.size());
        for (std::size_t row = 0; row < lines.size(); ++row) {
            SCOPED_TRACE(lines[row]);
            // Every line holds what fits in the width, and the next one starts with what did not.
            kl::RowWalker walker(measure, tab, lines[row], kl::TabStops::Painted, width);
            kl::RowStep step;
            kl::RowStep previous;
            int line = 0;
            int lineEnd = 0;
            const std::string_view text = lines[row];
            const auto isFullStop = [&](const kl::RowStep& s) { return text.substr(s.from, s.to - s.from) == "\xe3\x80\x82"; };
            while (walker.Next(step)) {
                if (step.line != line) {
                    ASSERT_EQ(step.line, line + 1);
                    ASSERT_EQ(step.x, 0);
                    // A tab would have reached the next stop, a multiple of the tab cell; a
                    // character that fitted went along with a full stop after it.
                    const int reach = step.kind == kl::RowStep::Kind::Tab ? (lineEnd / tab + 1) * tab : lineEnd + step.width;
                    if (reach <= width) {
                        EXPECT_EQ(text.substr(step.to, 3), "\xe3\x80\x82");
                    }
                    // A full stop begins a line only after one, a tab, or a character alone on its line.
                    if (isFullStop(step)) {
                        EXPECT_TRUE(isFullStop(previous) || previous.kind == kl::RowStep::Kind::Tab || previous.x == 0);
                    }
                    line = step.line;
                }
                if (step.x > 0) {
                    EXPECT_LE(step.x + step.width, width);
                }
                lineEnd = step.x + step.width;
                previous = step;
            }
            EXPECT_EQ(counts[row], line + 1);
            EXPECT_EQ(kl::WrappedLineCount(measure, tab, lines[row], width), line + 1);
        }
    }
}

TEST(Wrapping, RowsStandAsTallAsTheirTallerSide)
{
    std::mt19937 random(7);
    for (int round = 0; round < kltest::ScaledCases(50); ++round) {
        std::vector<std::int32_t> a(std::uniform_int_distribution<std::size_t>(0, 60)(random));
        std::vector<std::int32_t> b(std::uniform_int_distribution<std::size_t>(0, 60)(random));
        for (auto* counts : {&a, &b})
            for (std::int32_t& lines : *counts)
                lines = std::uniform_int_distribution<std::int32_t>(1, 4)(random);
        kl::RowGeometry geometry;
        geometry.SetLineHeight(10);
        geometry.SetSide(kl::DOC_A, a, 100);
        geometry.SetSide(kl::DOC_B, b, 100);
        long long top = 0;
        for (int row = 0; row < 70; ++row) {
            const int lines = std::max(row < static_cast<int>(a.size()) ? a[static_cast<std::size_t>(row)] : 1,
                                       row < static_cast<int>(b.size()) ? b[static_cast<std::size_t>(row)] : 1);
            ASSERT_EQ(geometry.Top(row), top) << row;
            EXPECT_EQ(geometry.Height(row), lines * 10);
            EXPECT_EQ(geometry.RowAt(top), row);
            EXPECT_EQ(geometry.RowAt(top + lines * 10 - 1), row);
            top += lines * 10;
        }
        // One row of one side changed: the same table as built from the new counts.
        const int side = static_cast<int>(random() % 2);
        std::vector<std::int32_t>& counts = side == kl::DOC_A ? a : b;
        if (counts.empty())
            continue;
        const auto row = std::uniform_int_distribution<std::size_t>(0, counts.size() - 1)(random);
        counts[row] = std::uniform_int_distribution<std::int32_t>(1, 4)(random);
        geometry.SetRowLines(side, static_cast<int>(row), counts[row]);
        kl::RowGeometry built;
        built.SetLineHeight(10);
        built.SetSide(kl::DOC_A, a, 100);
        built.SetSide(kl::DOC_B, b, 100);
        for (int r = 0; r < 70; ++r)
            ASSERT_EQ(geometry.Top(r), built.Top(r)) << r;
    }
}

}  // namespace wrapping

namespace wrapping {

TEST(Wrapping, AfterAnEditOnlyTheChangedRowsAreMeasuredAgainWithTheSameCounts)
{
    kl::TextMeasure measure;
    QFont font(QStringLiteral("monospace"));
    font.setPixelSize(13);
    measure.SetFont(font);
    const int tab = 4 * measure.Advance(u'a');
    const auto shownOf = [](const std::vector<std::string>& lines) {
        kl::Text loaded = kl::TextFromLines(std::vector<std::string_view>(lines.begin(), lines.end()));
        loaded.encoding = kl::TextEncoding::Utf8;
        auto text = std::make_shared<const kl::Text>(std::move(loaded));
        return kl::ShownRows({text, text}, nullptr, kl::DisplayOptions{kl::DISPLAY_SOURCE, false});
    };
    std::mt19937 random(5);
    for (int round = 0; round < kltest::ScaledCases(60); ++round) {
        std::vector<std::string> lines;
        for (int i = 0; i < 30; ++i)
            lines.push_back(RandomRow(random));
        std::vector<std::string> edited = lines;
        for (int edits = std::uniform_int_distribution<int>(0, 3)(random); edits > 0; --edits) {
            const auto at = edited.begin() + std::uniform_int_distribution<int>(0, static_cast<int>(edited.size()))(random);
            switch (random() % 3) {
            case 0: edited.insert(at, RandomRow(random)); break;
            case 1: if (at != edited.end()) edited.erase(at); break;
            default: if (at != edited.end()) *at = RandomRow(random); break;
            }
        }
        const int width = std::uniform_int_distribution<int>(20, 300)(random);
        const kl::ShownRows before = shownOf(lines);
        const kl::ShownRows after = shownOf(edited);
        const auto beforeCounts = kl::WrappedLineCounts(measure, tab, width, before, kl::DOC_A);
        EXPECT_EQ(kl::WrappedLineCountsAfter(measure, tab, width, after, kl::DOC_A, before, beforeCounts),
                  kl::WrappedLineCounts(measure, tab, width, after, kl::DOC_A));

        // A line typed into, in place (the rows carried over) or with a new line, the lines
        // the edit changed told.
        const kl::Text& text = *before.TextOf(kl::DOC_A);
        const int line = std::uniform_int_distribution<int>(0, text.count() - 1)(random);
        const std::int64_t at = kl::LineStart(text, line);
        std::string typed = RandomRow(random);
        const bool inPlace = random() % 2 == 0;
        if (inPlace)
            typed.pop_back();  // no line end: the line stays one line
        kl::LineChange change;
        const auto typedText = kl::ApplyEdit(text, {kl::DOC_A, at, at, typed}, &change);
        const kl::ShownRows carried({typedText, before.SharedText(kl::DOC_B)}, nullptr,
                                    kl::DisplayOptions{kl::DISPLAY_SOURCE, false}, &before);
        ASSERT_EQ(carried.Generation() == before.Generation(), inPlace);
        EXPECT_EQ(kl::WrappedLineCountsAfter(measure, tab, width, carried, kl::DOC_A, before, beforeCounts, change),
                  kl::WrappedLineCounts(measure, tab, width, carried, kl::DOC_A));
    }
}

}  // namespace wrapping
