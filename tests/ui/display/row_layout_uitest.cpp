// Tab stops of a row: painting against the selection highlight and hit-testing.
#include <QFont>
#include <gtest/gtest.h>
#include <string>

#include "ui/display/row_layout.h"

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
