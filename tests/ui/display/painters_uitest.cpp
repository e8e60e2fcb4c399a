// The painters drawn into an image: row colours by kind and switch, number cells, "[EOF]",
// tab stops and the newline mark.
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <functional>
#include <memory>
#include <gtest/gtest.h>
#include <string>

#include "ui/display/newline_mark.h"
#include "ui/display/painters.h"
#include "doc_fixture.h"

namespace {

// The result rows of result, as the views show them.
kl::ShownRows ShownOf(const kl::CompareResult& result)
{
    return kl::ShownRows({}, std::make_shared<const kl::CompareResult>(result), {kl::DISPLAY_RESULT, false});
}

// Colours that tell the kinds apart, as the settings file gives them (0x00BBGGRR).
const char* const kColorIni =
    "[COLOR]\nSAME=ff0000\nDOC1=ff00\nDOC2=ff\nOTHER=ffff\nLINETEXT=ffffff\nLINEBACK=404040\nSELBACK=ffff00\n";
const QColor kSame(0, 0, 255), kDoc1(0, 255, 0), kDoc2(255, 0, 0), kOther(255, 255, 0), kLineBack(64, 64, 64);
const QColor kWindow(255, 255, 255);

// A row of the left column with the text it shows.
struct TextRow {
    int lineIndex;
    std::string text;
    kl::RowKind kind;
};

TextRow Row(int lineIndex, const std::string& text, kl::RowKind kind)
{
    return {lineIndex, text, kind};
}

// A result whose left column shows rows: line k of its DocA is the text of the rows with
// line index k, and the filler rows show the left message.
kl::CompareResult ResultOf(const std::vector<TextRow>& rows)
{
    kl::CompareResult result;
    std::vector<std::string_view> lines;
    for (const TextRow& row : rows) {
        kl::DisplayRow display{row.lineIndex, kl::kNoLine, row.kind, kl::RowMessage::None};
        if (row.kind == kl::ROW_FILLER) {
            display.message = kl::RowMessage::Left;
            result.messages.left = row.text;
        } else {
            lines.resize(std::max(lines.size(), static_cast<std::size_t>(row.lineIndex) + 1));
            lines[static_cast<std::size_t>(row.lineIndex)] = row.text;
        }
        result.sides[kl::DOC_A].rows.push_back(display);
    }
    result.texts[kl::DOC_A] = std::make_shared<const kl::Text>(kl::TextFromLines(lines));
    return result;
}

bool Near(const QColor& a, const QColor& b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) <= tolerance;
}

class PaintersTest : public kltest::DocFixture {
protected:
    // Paints with the document's left font and colours into a fresh white image.
    QImage Paint(const std::function<void(kl::PaintContext&)>& paint, QSize size = QSize(400, 120))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(kWindow);
        QPainter painter(&image);
        painter.setFont(doc().leftFont);
        measure.SetFont(doc().leftFont);
        doc().colors[kl::COLOR_WINDOW] = kl::RefFromColor(kWindow);
        const QPixmap mark = kl::NewlineMark(kWindow);
        kl::PaintContext context{painter, measure, scratch, doc().colors};
        context.fSameCol = doc().docSettings.fSameCol;
        context.fOtherCol = doc().docSettings.fOtherCol;
        context.lineHeight = LineHeight();
        context.tabPixels = TabPixels();
        context.newlineMark = &mark;
        context.area = image.rect();
        context.textColor = Qt::black;
        paint(context);
        return image;
    }

    int LineHeight() { return QFontMetrics(doc().leftFont).height(); }
    int TabPixels() { return QFontMetrics(doc().leftFont).horizontalAdvance(QStringLiteral("    ")); }
    int NumberColumn() { return QFontMetrics(doc().leftFont).horizontalAdvance(QStringLiteral("000000")); }
    int TextLeft() { return NumberColumn() + kl::kTextGap; }

    // Whether any pixel of the rectangle is near colour.
    static bool Contains(const QImage& image, const QRect& rect, const QColor& colour, int tolerance = 40)
    {
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (Near(image.pixelColor(x, y), colour, tolerance))
                    return true;
        return false;
    }

    kl::TextMeasure measure;
    QString scratch;
};

TEST_F(PaintersTest, RowsTakeTheColourOfTheirKindUnderBothSwitches)
{
    const struct {
        int sameCol, otherCol;
        QColor common, filler;
    } cases[] = {
        {1, 1, kWindow, kOther},
        {0, 1, kSame, kOther},
        {1, 0, kWindow, kWindow},
        {0, 0, kSame, kWindow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "FSAMECOL=" << c.sameCol << " FOTHERCOL=" << c.otherCol);
        Restart(std::string(kColorIni) + "[FLAG]\nFSAMECOL=" + std::to_string(c.sameCol)
                + "\nFOTHERCOL=" + std::to_string(c.otherCol) + "\n");
        // Blanks only, so that the sampled pixels are background, never ink.
        const kl::CompareResult rows = ResultOf({Row(0, "    \r\n", kl::ROW_COMMON), Row(1, "    \r\n", kl::ROW_ONLY_A),
                                                 Row(1, "    \r\n", kl::ROW_ONLY_B), Row(-1, "    ", kl::ROW_FILLER)});
        const QImage image = Paint([&](kl::PaintContext& context) { kl::PaintResult(context, ShownOf(rows), kl::DOC_A); });
        const QColor expected[] = {c.common, kDoc1, kDoc2, c.filler};
        for (int k = 0; k < 4; ++k) {
            SCOPED_TRACE(k);
            const int y = k * LineHeight() + LineHeight() / 2;
            EXPECT_EQ(image.pixelColor(TextLeft() + 2, y), expected[k]);
            EXPECT_EQ(image.pixelColor(1, y), kLineBack);                   // number cell
            EXPECT_EQ(image.pixelColor(TextLeft() - 1, y), kWindow);        // the gap before the text
            EXPECT_EQ(image.pixelColor(image.width() - 1, y), kWindow);     // past the text
        }
    }
}

TEST_F(PaintersTest, NumberCellsShowTheLastFiveDigitsAndFillerRowsNone)
{
    Restart(kColorIni);
    const QRect cell(0, 0, NumberColumn(), LineHeight());
    const auto paintCell = [&](int lineIndex) {
        return Paint([&](kl::PaintContext& context) {
                   context.numberColumnWidth = NumberColumn();
                   kl::PaintResultRow(context, "", kl::DisplayRow{lineIndex, kl::kNoLine, kl::ROW_COMMON, kl::RowMessage::None}, 0);
               }).copy(cell);
    };
    const QImage filler = paintCell(-1);
    EXPECT_FALSE(Contains(filler, filler.rect(), QColor(255, 255, 255), 200)) << "a filler cell is blank";
    EXPECT_TRUE(Contains(filler, filler.rect(), kLineBack, 0));

    const QImage numbered = paintCell(122);
    EXPECT_TRUE(Contains(numbered, numbered.rect(), QColor(255, 255, 255), 200)) << "digits in LINETEXT";
    // Line 123457 (index 123456) shows as 23457.
    EXPECT_EQ(paintCell(123456), paintCell(23456));
    EXPECT_NE(paintCell(123456), paintCell(23457));
}

TEST_F(PaintersTest, EofFollowsTheLastLine)
{
    const int eofWidth = QFontMetrics(doc().leftFont).horizontalAdvance(QStringLiteral("[EOF]"));
    const int abWidth = QFontMetrics(doc().leftFont).horizontalAdvance(QStringLiteral("ab"));
    const auto rowBand = [&](int row, int left, int width) {
        return QRect(left, row * LineHeight(), width, LineHeight());
    };
    {
        SCOPED_TRACE("last line with a line end: [EOF] on the next row, numbered");
        Load("a.txt", "ab\r\n");
        const QImage image = Paint([&](kl::PaintContext& context) {
            kl::PaintSource(context, *doc().textDoc.texts[0]);
        });
        EXPECT_FALSE(Contains(image, rowBand(0, TextLeft(), 200), kl::kEofColor, 30));
        EXPECT_TRUE(Contains(image, rowBand(1, TextLeft(), eofWidth), kl::kEofColor, 30));
        // The newline mark stands after "ab" on row 0.
        EXPECT_TRUE(Contains(image, rowBand(0, TextLeft() + abWidth, kl::kNewlineMarkSize), kl::kNewlineMarkColor, 0));
        // Numbered cells go on down to the bottom.
        EXPECT_EQ(image.pixelColor(1, image.height() - 1), QColor(kl::ColorFromRef(doc().colors[kl::COLOR_LINEBACK])));
    }
    doc().OnNewDocument();
    {
        SCOPED_TRACE("last line without a line end: [EOF] right after its text");
        Load("a.txt", "ab");
        const QImage image = Paint([&](kl::PaintContext& context) {
            kl::PaintSource(context, *doc().textDoc.texts[0]);
        });
        EXPECT_FALSE(Contains(image, rowBand(0, TextLeft(), abWidth), kl::kEofColor, 30));
        EXPECT_TRUE(Contains(image, rowBand(0, TextLeft() + abWidth, eofWidth), kl::kEofColor, 30));
        EXPECT_FALSE(Contains(image, rowBand(1, TextLeft(), 200), kl::kEofColor, 30));
        EXPECT_FALSE(Contains(image, rowBand(0, 0, image.width()), kl::kNewlineMarkColor, 0));
    }
}

// However wide the cell of the mark (the font size: 19 pixels for 14 points), the mark
// follows the text without a gap.
TEST_F(PaintersTest, TheNewlineMarkFollowsTheTextWithoutAGap)
{
    Load("a.txt", "ab\r\n");
    const int textEnd = TextLeft() + QFontMetrics(doc().leftFont).horizontalAdvance(QStringLiteral("ab"));
    for (int cell : {8, 12, 19, 40}) {
        SCOPED_TRACE(cell);
        const QImage image = Paint([&](kl::PaintContext& context) {
            context.markCellWidth = cell;
            kl::PaintSource(context, *doc().textDoc.texts[0]);
        });
        int firstInk = -1;
        for (int x = textEnd; x < image.width() && firstInk < 0; ++x) {
            if (Contains(image, QRect(x, 0, 1, LineHeight()), kl::kNewlineMarkColor, 0))
                firstInk = x;
        }
        EXPECT_GE(firstInk, textEnd);
        EXPECT_LE(firstInk, textEnd + 2);
    }
}

TEST_F(PaintersTest, ATabAfterAnEmptySegmentAdvancesOneFullTabWidth)
{
    Restart(kColorIni);
    const int tab = TabPixels();
    ASSERT_GT(tab, 0);
    const std::vector<TextRow> rows = {Row(0, "\tX", kl::ROW_ONLY_A), Row(1, "ab\tX", kl::ROW_ONLY_A),
                                       Row(2, "abcd\tX", kl::ROW_ONLY_A)};
    const kl::CompareResult result = ResultOf(rows);
    const QImage image = Paint([&](kl::PaintContext& context) { kl::PaintResult(context, ShownOf(result), kl::DOC_A); });
    const int ink = 100;  // well below any background colour used here
    // The first column with ink right of the text before the tab.
    const auto inkColumn = [&](int row) {
        const std::string& text = rows[static_cast<std::size_t>(row)].text;
        const int start = TextLeft() + kl::PrefixWidth(measure, tab, text, text.find('\t')) + 1;
        for (int x = start; x < image.width(); ++x)
            for (int y = row * LineHeight(); y < (row + 1) * LineHeight(); ++y)
                if (qGray(image.pixel(x, y)) < ink)
                    return x;
        return -1;
    };
    const int xLeft = QFontMetrics(doc().leftFont).leftBearing(QLatin1Char('X'));
    // Empty segment and a segment narrower than one tab both stop at the first tab stop;
    // a segment of exactly one tab width goes to the second.
    EXPECT_NEAR(inkColumn(0), TextLeft() + tab + xLeft, 1);
    EXPECT_NEAR(inkColumn(1), TextLeft() + tab + xLeft, 1);
    EXPECT_NEAR(inkColumn(2), TextLeft() + 2 * tab + xLeft, 1);
    // The gap of the tab carries the row's colour up to the stop.
    EXPECT_EQ(image.pixelColor(TextLeft() + tab - 1, LineHeight() / 2), kDoc1);

    // Hit-testing measures the same stops.
    EXPECT_EQ(kl::PrefixWidth(measure, tab, "\tX", 1), tab);
    EXPECT_EQ(kl::PrefixWidth(measure, tab, "ab\tX", 3), tab);
    EXPECT_EQ(kl::PrefixWidth(measure, tab, "abcd\tX", 5), 2 * tab);
}

TEST_F(PaintersTest, AFullWidthCharacterIsTwoHalfWidthCells)
{
    measure.SetFont(doc().leftFont);
    const std::string wide = "\x93\xfa\x96\x7b";  // 日本
    EXPECT_EQ(kl::PrefixWidth(measure, 0, wide, 2), 2 * measure.Advance(u'A'));
    EXPECT_EQ(kl::PrefixWidth(measure, 0, wide, wide.size()), kl::PrefixWidth(measure, 0, "abcd", 4));
}

TEST_F(PaintersTest, AnEmptyResultShowsItsMessage)
{
    int columnWidth = -1;
    const QImage image = Paint([&](kl::PaintContext& context) {
        columnWidth = kl::PaintResult(context, ShownOf(kl::CompareResult()), kl::DOC_A);
    });
    EXPECT_EQ(columnWidth, 0);
    EXPECT_TRUE(Contains(image, QRect(22, 3, 200, LineHeight()), kl::kEmptyResultColor, 30));
    EXPECT_FALSE(Contains(image, QRect(0, 0, 20, image.height()), kl::kEmptyResultColor, 30));
}

}  // namespace
