// The twin-line painter: run layout with tabs and line ends, the colours of the runs by
// row, and the link lines between paired runs.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <gtest/gtest.h>
#include <string>

#include "engine/linedetail/line_compare.h"
#include "ui/display/newline_mark.h"
#include "ui/display/row_layout.h"
#include "ui/linedetail/twin_line_painter.h"

namespace {

const QColor kUpper(255, 0, 255);
const QColor kLower(160, 150, 200);
const QColor kCommon(150, 190, 250);
const QColor kBack(Qt::white);

class TwinPainter : public ::testing::Test {
protected:
    TwinPainter() : image(900, 80, QImage::Format_RGB32)
    {
        image.fill(kBack);
        font.setPixelSize(14);
        measure.SetFont(font);
        mark = kl::NewlineMark(kBack);
    }

    kl::TwinPaintContext Context(QPainter& painter, int tabPixels)
    {
        painter.setFont(font);
        kl::TwinPaintContext context{painter, measure, kUpper, kLower, kCommon};
        context.tabPixels = tabPixels;
        context.textHeight = measure.metrics().height();
        context.fontSize = 14;
        context.fontHeight = 14;
        context.newlineMark = &mark;
        return context;
    }

    int Width(const std::string& ascii)
    {
        int width = 0;
        for (char c : ascii)
            width += measure.Advance(static_cast<char16_t>(c));
        return width;
    }

    QImage image;
    QFont font{QStringLiteral("monospace")};
    kl::TextMeasure measure;
    QPixmap mark;
};

TEST_F(TwinPainter, DrawRunLaysOutTabsAndLineEnds)
{
    QPainter painter(&image);
    const int pitch = 4 * Width(" ");
    kl::TwinPaintContext context = Context(painter, pitch);
    struct Case {
        const char* text;
        int expected;  // x after the run, from x0 = 10
    };
    const Case cases[] = {
        {"abc", 10 + Width("abc")},
        // Text before the first tab stands 3 pixels in; a tab after text narrower than one
        // pitch still advances two.
        {"\tab", 10 + 3 + pitch + Width("ab")},
        {"a\tb", 10 + 3 + 2 * pitch + Width("b")},
        // A line end shows the mark in a cell as wide as a double-byte character.
        {"abc\r\n", 10 + Width("abc") + 14},
        {"ab\n", 10 + Width("ab") + 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(kl::DrawRun(context, 10, 2, c.text, kCommon), c.expected);
        // What the line difference window is sized by.
        EXPECT_EQ(kl::RunWidth(measure, pitch, 14, c.text), c.expected - 10);
    }
}

TEST_F(TwinPainter, AZeroTabPitchStillAdvances)
{
    QPainter painter(&image);
    kl::TwinPaintContext context = Context(painter, 0);
    context.tabPixels = 0;
    EXPECT_EQ(kl::DrawRun(context, 0, 2, "\t\tx", kCommon), 3 + 1 + 1 + Width("x"));
}

TEST_F(TwinPainter, DifferencesTakeTheirRowsColourAndCommonRunsAreLinked)
{
    const std::string line1 = "abcXdefgh\r\n";
    const std::string line2 = "abcYdefgh\r\n";
    const kl::LinePairResult result = kl::CompareLinePair(line1, line2);
    ASSERT_FALSE(result.segments1.empty());
    ASSERT_EQ(result.segments1.front().isDifference, 1);
    ASSERT_EQ(result.segments2.front().isDifference, 1);

    const int secondRowTop = 40;
    std::vector<QLine> links;
    {
        QPainter painter(&image);
        kl::TwinPaintContext context = Context(painter, 8);
        links = kl::PaintTwinRows(context, result, line1, line2, 0, secondRowTop);
    }
    // The top pixel row of each text cell is background only: no glyph reaches it.
    EXPECT_EQ(image.pixelColor(1, 2), kUpper);
    EXPECT_EQ(image.pixelColor(1, secondRowTop + 2), kLower);
    EXPECT_EQ(image.pixelColor(Width("abcX") + 2, 2), kCommon);
    EXPECT_EQ(image.pixelColor(Width("abcY") + 2, secondRowTop + 2), kCommon);

    // "defgh\r" is common: one link from each edge of the lower run up to the upper one.
    ASSERT_EQ(links.size(), 2u);
    for (const QLine& link : links) {
        EXPECT_EQ(link.y1(), secondRowTop + 2);
        EXPECT_EQ(link.y2(), 14 + 2);
        const QPoint middle = (link.p1() + link.p2()) / 2;
        EXPECT_LT(image.pixelColor(middle).lightness(), 100) << middle.x() << "," << middle.y();
    }
    EXPECT_EQ(links[0].x1(), Width("abcY"));
    EXPECT_GT(links[1].x1(), links[0].x1());
}

TEST_F(TwinPainter, NothingIsDrawnWhenTheUpperRowHasNoRuns)
{
    const kl::LinePairResult result = kl::CompareLinePair("\r\n", "something\r\n");
    QPainter painter(&image);
    kl::TwinPaintContext context = Context(painter, 8);
    EXPECT_TRUE(kl::PaintTwinRows(context, result, "\r\n", "something\r\n", 0, 40).empty());
    painter.end();
    EXPECT_EQ(image.pixelColor(1, 42), kBack);
}

}  // namespace
