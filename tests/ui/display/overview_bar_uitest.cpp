// The overview bar's picture: bands built from the result rows (D1) and the blocks (D2),
// the thumb's size and place, the separators, and the pixels painted from them.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/display/overview_painter.h"
#include "engine/document/text_loader.h"
#include "tests/ui/display/result_rows.h"

namespace {

using kl::OverviewBand;

std::string Lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

// A document whose texts have lineCountA and lineCountB lines (the bar maps nothing
// without them) and whose result is given by the tests.
kl::TextDocument DocWithLines(int lineCountA, int lineCountB)
{
    kl::TextDocument doc;
    doc.texts[kl::DOC_A] = std::make_shared<const kl::Text>(kl::SplitLines(Lines(lineCountA), false));
    doc.texts[kl::DOC_B] = std::make_shared<const kl::Text>(kl::SplitLines(Lines(lineCountB), false));
    return doc;
}

// Result rows of the given kinds, all common unless changed.
kl::CompareResult& SetRows(kl::TextDocument& doc, int count)
{
    const std::vector<kl::DisplayRow> rows(static_cast<std::size_t>(count), kltest::Row(0, kl::ROW_COMMON));
    return kltest::SetResultRows(doc, rows, rows);
}

kl::DiffBlock Block(int kind, int lineCount)
{
    kl::DiffBlock block;
    block.kind = kind;
    block.lineCount = lineCount;
    return block;
}

std::vector<std::pair<int, int>> Pairs(const std::vector<OverviewBand>& bands)
{
    std::vector<std::pair<int, int>> pairs;
    for (const OverviewBand& band : bands)
        pairs.emplace_back(band.y, band.kind);
    return pairs;
}

const QColor kBarWindow(255, 255, 255);
const QColor kBarSame(200, 200, 200);
const QColor kBarDoc1(255, 0, 0);
const QColor kBarDoc2(0, 0, 255);
const QColor kBarOther(0, 160, 0);

// Every kind in its own colour (common rows coloured, filler rows coloured).
kl::OverviewColors DistinctColors()
{
    kl::OverviewColors colors;
    colors.window = kBarWindow;
    colors.kinds = {kBarSame, kBarDoc1, kBarDoc2, kBarOther};
    return colors;
}

QImage Paint(QSize size, const kl::OverviewStrips& strips, int thumbTop)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBarWindow);
    QPainter painter(&image);
    kl::PaintOverview(painter, kl::OverviewBarIn(size), strips, thumbTop, DistinctColors());
    painter.end();
    return image;
}

QColor At(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// 3960 rows in a 396-pixel bar: a tenth of a pixel per row. The one-row run at row 1005
// (y 102.5) would start on the pixel of the row after it (y 102.6).
TEST(OverviewBands, TwoBandsOnOnePixelAreSeparatedByOnePixel)
{
    kl::TextDocument doc = DocWithLines(3, 3);
    kl::CompareResult& result = SetRows(doc, 3960);
    result.sides[kl::DOC_A].rows[1005].kind = kl::ROW_ONLY_A;
    result.sides[kl::DOC_B].rows[1005].kind = kl::ROW_FILLER;
    const QSize client(60, 400);
    const kl::OverviewStrips strips =
        kl::BuildOverviewStrips(doc, kl::OVERVIEW_ROWS, -12, kl::OverviewBarIn(client));

    ASSERT_EQ(strips.a.size(), 4u);
    EXPECT_EQ(strips.a[0].y, 2);
    EXPECT_EQ(strips.a[1].y, 102);
    EXPECT_EQ(strips.a[1].kind, kl::ROW_ONLY_A);
    EXPECT_EQ(strips.a[2].y, 103);
    EXPECT_EQ(strips.a[2].kind, kl::ROW_COMMON);
    EXPECT_EQ(strips.b[1].y, 102);
    EXPECT_EQ(strips.b[2].y, 103);

    // The one-row run shows as one pixel row in its own colour, in both strips.
    const QImage image = Paint(client, strips, 0);
    const int leftX = 4;    // inside the left strip (x 3..20)
    const int rightX = 50;  // inside the right strip (x 39..56)
    EXPECT_EQ(At(image, leftX, 101), kBarSame);
    EXPECT_EQ(At(image, leftX, 102), kBarDoc1);
    EXPECT_EQ(At(image, leftX, 103), kBarSame);
    EXPECT_EQ(At(image, rightX, 101), kBarSame);
    EXPECT_EQ(At(image, rightX, 102), kBarOther);
    EXPECT_EQ(At(image, rightX, 103), kBarSame);
}

TEST(OverviewBands, RowsGiveOneBandPerRunAndAClosingBand)
{
    kl::TextDocument doc = DocWithLines(3, 3);
    kl::CompareResult& result = SetRows(doc, 4);
    result.sides[kl::DOC_A].rows[1].kind = kl::ROW_ONLY_A;
    result.sides[kl::DOC_A].rows[2].kind = kl::ROW_ONLY_A;
    result.sides[kl::DOC_B].rows[1].kind = kl::ROW_FILLER;
    result.sides[kl::DOC_B].rows[2].kind = kl::ROW_FILLER;
    // A bar of 100 pixels from y 2: 25 pixels per row.
    const kl::OverviewStrips strips =
        kl::BuildOverviewStrips(doc, kl::OVERVIEW_ROWS, -12, kl::OverviewBarIn(QSize(60, 104)));
    EXPECT_EQ(Pairs(strips.a), (std::vector<std::pair<int, int>>{{2, 0}, {27, 1}, {77, 0}, {102, 0}}));
    EXPECT_EQ(Pairs(strips.b), (std::vector<std::pair<int, int>>{{2, 0}, {27, 3}, {77, 0}, {102, 0}}));
    EXPECT_EQ(strips.rowCount, 4);
}

// D2: each strip is its own text's proportions; every block advances the strip, also one
// of the same kind as the block before it, so both strips end at the bar's bottom.
TEST(OverviewBands, BlocksScaleEachStripToItsOwnText)
{
    kl::TextDocument doc = DocWithLines(10, 1000);
    kl::CompareResult& result = kltest::SetResultRows(doc, {}, {});
    result.sides[kl::DOC_A].blocks = {Block(kl::BLOCK_NONE, 0), Block(kl::BLOCK_COMMON, 4), Block(kl::BLOCK_COMMON, 2),
                   Block(kl::BLOCK_ONLY_A, 4)};
    result.sides[kl::DOC_B].blocks = {Block(kl::BLOCK_NONE, 0), Block(kl::BLOCK_COMMON, 6), Block(kl::BLOCK_ONLY_B, 994)};
    const kl::OverviewStrips strips =
        kl::BuildOverviewStrips(doc, kl::OVERVIEW_BLOCKS, -12, kl::OverviewBarIn(QSize(60, 104)));
    // DocA: 10 pixels per line. The leading BLOCK_NONE record starts no band, and the first
    // band, on the bar's top pixel, starts one lower (the frame line takes the top pixel).
    EXPECT_EQ(Pairs(strips.a), (std::vector<std::pair<int, int>>{{3, 0}, {62, 1}, {102, 1}}));
    // DocB: a tenth of a pixel per line; its 6 common lines take less than a pixel, and the
    // DocB-only lines fill the strip to the bottom.
    EXPECT_EQ(Pairs({strips.b.back()}), (std::vector<std::pair<int, int>>{{102, 2}}));
    const QImage image = Paint(QSize(60, 104), strips, 0);
    EXPECT_EQ(At(image, 4, 61), kBarSame);
    EXPECT_EQ(At(image, 4, 62), kBarDoc1);
    EXPECT_EQ(At(image, 4, 100), kBarDoc1);
    EXPECT_EQ(At(image, 50, 3), kBarDoc2);
    EXPECT_EQ(At(image, 50, 100), kBarDoc2);
    EXPECT_EQ(strips.rowCount, 1000);
}

TEST(OverviewBands, NothingIsMappedWithoutTwoTextsOrRows)
{
    const kl::OverviewBar bar = kl::OverviewBarIn(QSize(60, 404));
    const kl::TextDocument empty;
    for (const int mode : {kl::OVERVIEW_ROWS, kl::OVERVIEW_BLOCKS}) {
        const kl::OverviewStrips strips = kl::BuildOverviewStrips(empty, mode, -12, bar);
        EXPECT_TRUE(strips.a.empty());
        EXPECT_EQ(strips.thumbHeight, 0);
        EXPECT_EQ(strips.rowCount, 0);
    }
    // Two texts but no comparison yet: rows map nothing; blocks map the texts' lengths.
    const kl::TextDocument loaded = DocWithLines(20, 30);
    EXPECT_EQ(kl::BuildOverviewStrips(loaded, kl::OVERVIEW_ROWS, -12, bar).rowCount, 0);
    const kl::OverviewStrips blocks = kl::BuildOverviewStrips(loaded, kl::OVERVIEW_BLOCKS, -12, bar);
    EXPECT_EQ(blocks.rowCount, 30);
    EXPECT_EQ(blocks.a.size(), 1u);  // the closing band only
}

struct ThumbCase {
    int barHeight;
    int rowCount;
    int rowHeight;
    int expected;
};

TEST(OverviewThumb, HeightRules)
{
    const ThumbCase cases[] = {
        {400, 20, 12, 400},      // 666 pixels, beyond the bar and 10 more: the whole bar
        {400, 10000, 12, 8},     // 1 pixel, below 10: 7 more
        {400, 1000, 12, 13},     // 13 pixels as computed
        {400, 100000, 12, 5},    // 0 pixels: 5
        {400, 395, 1, 395},      // 405, within 10 beyond the bar: 5 less than the bar
        {400, 400, 1, 395},      // exactly the bar
        {400, 380, 1, 400},      // 421: beyond the bar and 10 more
        {400, 390, 1, 395},      // 410: not beyond the bar and 10 more
        {400, 17000, 1, 16},     // 9.4: below 10, 7 more
    };
    for (const ThumbCase& c : cases)
        EXPECT_EQ(kl::OverviewThumbHeight(c.barHeight, c.rowCount, c.rowHeight), c.expected)
            << c.rowCount << " rows of " << c.rowHeight;
}

TEST(OverviewThumb, RowHeightComesFromTheFontHeightSetting)
{
    const kl::OverviewBar bar = kl::OverviewBarIn(QSize(60, 404));  // 400 pixels
    kl::TextDocument doc = DocWithLines(3, 3);
    SetRows(doc, 10000);
    // Negative or positive, its size counts: 160000 / 120000 = 1, below 10, so 8.
    EXPECT_EQ(kl::BuildOverviewStrips(doc, kl::OVERVIEW_ROWS, -12, bar).thumbHeight, 8);
    EXPECT_EQ(kl::BuildOverviewStrips(doc, kl::OVERVIEW_ROWS, 12, bar).thumbHeight, 8);
    // 0 counts as 10-pixel rows: 160000 / 10000 = 16.
    SetRows(doc, 1000);
    EXPECT_EQ(kl::BuildOverviewStrips(doc, kl::OVERVIEW_ROWS, 0, bar).thumbHeight, 16);
}

TEST(OverviewThumb, PlaceSnapsToTheTopAndStaysInTheBar)
{
    const kl::OverviewBar bar = kl::OverviewBarIn(QSize(60, 404));  // third 18
    EXPECT_EQ(kl::OverviewThumbRect(bar, 3, 8), QRect(22, 2, 16, 8));      // 3 <= 8/2: bar top
    EXPECT_EQ(kl::OverviewThumbRect(bar, 5, 8), QRect(22, 5, 16, 8));
    EXPECT_EQ(kl::OverviewThumbRect(bar, 399, 8), QRect(22, 396, 16, 8));  // 402 - 8 + 2
    EXPECT_EQ(kl::OverviewThumbTop(50, 100, 400, 8), 198);                 // (400 - 4) / 2
    EXPECT_EQ(kl::OverviewThumbTop(0, 100, 400, 8), 0);
}

TEST(OverviewPainting, AThumbOfTheWholeBarHasItsCoreAllTheWayDown)
{
    kl::TextDocument doc = DocWithLines(3, 3);
    SetRows(doc, 20);
    const QSize client(60, 404);
    const kl::OverviewStrips strips =
        kl::BuildOverviewStrips(doc, kl::OVERVIEW_ROWS, -12, kl::OverviewBarIn(client));
    const QImage image = Paint(client, strips, 0);
    const kl::OverviewColors colors = DistinctColors();
    const int middleX = 30;  // in the thumb's lane (x 22..37)
    EXPECT_EQ(At(image, middleX, 5), colors.thumbCore);
    EXPECT_EQ(At(image, middleX, 398), colors.thumbCore);
    EXPECT_EQ(At(image, middleX, 2), colors.thumbEdge);    // its top edge on the bar's top
    EXPECT_EQ(At(image, middleX, 401), colors.thumbEdge);  // its bottom edge on the bar's last pixel
    EXPECT_EQ(At(image, 23, 200), colors.thumb);           // between edge and core
}

TEST(OverviewPainting, BarsTwelvePixelsWideHaveNoSeparators)
{
    const kl::OverviewStrips nothing;
    // Bars of 12 and 13 pixels (third 4): the first separator would be at x 2 + 4 + 1.
    const QImage narrow = Paint(QSize(16, 100), nothing, 0);
    const QImage wider = Paint(QSize(17, 100), nothing, 0);
    const QColor frame = DistinctColors().frame;
    for (const int y : {3, 50, 96}) {
        EXPECT_EQ(At(narrow, 7, y), kBarWindow) << y;
        EXPECT_EQ(At(narrow, 10, y), kBarWindow) << y;
        EXPECT_EQ(At(wider, 7, y), frame) << y;
        EXPECT_EQ(At(wider, 10, y), frame) << y;
    }
    // The frame itself is there in both.
    EXPECT_EQ(At(narrow, 2, 50), frame);
    EXPECT_EQ(At(narrow, 13, 50), frame);
}

TEST(OverviewPainting, EmptyBarIsAFramedBoxWithAFlatThumb)
{
    const kl::OverviewStrips nothing;
    const kl::OverviewColors colors = DistinctColors();
    const QImage top = Paint(QSize(60, 100), nothing, 0);
    EXPECT_EQ(At(top, 30, 2), colors.thumbEdge);
    EXPECT_EQ(At(top, 30, 3), kBarWindow);
    EXPECT_EQ(At(top, 5, 50), kBarWindow);
    EXPECT_EQ(At(top, 0, 50), kBarWindow);  // outside the bar
    // Moved by scrolling the texts before any comparison, it stays a line.
    const QImage moved = Paint(QSize(60, 100), nothing, 40);
    EXPECT_EQ(At(moved, 30, 40), colors.thumbEdge);
    EXPECT_EQ(At(moved, 30, 39), kBarWindow);
    EXPECT_EQ(At(moved, 30, 41), kBarWindow);
}

TEST(OverviewColors, KindsTakeTheRowColourRules)
{
    kl::ColorTable table{};
    table[kl::COLOR_DOC1] = kl::Rgb(255, 0, 0);
    table[kl::COLOR_DOC2] = kl::Rgb(0, 0, 255);
    table[kl::COLOR_SAME] = kl::Rgb(1, 2, 3);
    table[kl::COLOR_OTHER] = kl::Rgb(4, 5, 6);
    table[kl::COLOR_WINDOW] = kl::Rgb(250, 251, 252);
    struct Case {
        int sameCol, otherCol;
        QColor common, filler;
    };
    const Case cases[] = {
        {1, 1, QColor(250, 251, 252), QColor(4, 5, 6)},
        {0, 1, QColor(1, 2, 3), QColor(4, 5, 6)},
        {1, 0, QColor(250, 251, 252), QColor(250, 251, 252)},
        {0, 0, QColor(1, 2, 3), QColor(250, 251, 252)},
    };
    for (const Case& c : cases) {
        kl::DocSettings settings;
        settings.fSameCol = c.sameCol;
        settings.fOtherCol = c.otherCol;
        const kl::OverviewColors colors = kl::OverviewColorsFrom(table, settings);
        EXPECT_EQ(colors.kinds[kl::ROW_COMMON], c.common) << c.sameCol << c.otherCol;
        EXPECT_EQ(colors.kinds[kl::ROW_FILLER], c.filler) << c.sameCol << c.otherCol;
        EXPECT_EQ(colors.kinds[kl::ROW_ONLY_A], QColor(255, 0, 0));
        EXPECT_EQ(colors.kinds[kl::ROW_ONLY_B], QColor(0, 0, 255));
    }
}

}  // namespace
