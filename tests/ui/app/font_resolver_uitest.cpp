// The view fonts: face names that do not exist here fall back to the Japanese monospace
// font, whose full-width characters take exactly two half-width cells.
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QList>
#include <QStringList>
#include <climits>
#include <gtest/gtest.h>
#include <string>

#include "engine/platform/cp932.h"
#include "ui/platform/font_resolver.h"

namespace {

const std::string kMsGothicCp932 = kl::Utf8ToCp932("ＭＳ ゴシック");

TEST(FontResolver, MissingFaceResolvesToAJapaneseMonospaceFont)
{
    const QString family = kl::JapaneseMonospaceFamily();
    EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese))
        << family.toStdString();
    EXPECT_EQ(kl::ResolveFontFamily(QStringLiteral("No Such Face 1234")), family);
    EXPECT_EQ(kl::ResolveFontFamily(QString()), family);
}

TEST(FontResolver, InstalledFaceIsKept)
{
    const QString installed = QFontDatabase::families().value(0);
    ASSERT_FALSE(installed.isEmpty());
    EXPECT_EQ(kl::ResolveFontFamily(installed), installed);
}

TEST(FontResolver, DefaultFaceKeepsFullWidthAtTwoHalfWidthCells)
{
    for (int height : {-12, -16, -20}) {
        SCOPED_TRACE(height);
        const QFont font = kl::CreateViewFont(kMsGothicCp932, height, 0, 400);
        const QFontMetrics metrics(font);
        const int half = metrics.horizontalAdvance(QLatin1Char('a'));
        ASSERT_GT(half, 0);
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('W')), half);
        EXPECT_EQ(metrics.horizontalAdvance(QChar(u'あ')), 2 * half);
        EXPECT_EQ(metrics.horizontalAdvance(QChar(u'漢')), 2 * half);
        EXPECT_EQ(metrics.horizontalAdvance(QChar(u'　')), 2 * half);  // full-width space
        EXPECT_EQ(metrics.horizontalAdvance(QChar(u'ｱ')), half);       // half-width katakana
    }
}

TEST(FontResolver, SizeAndWeightFromTheSettingsValues)
{
    const struct {
        int height;
        int weight;
        int expectedPixels;
        int expectedWeight;
    } cases[] = {
        {-12, 400, 12, 400},
        {15, 700, 15, 700},
        {0, 0, 12, 400},          // "don't care" values take the defaults
        {INT_MIN, 2000, 512, 1000},  // wild values stay usable
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        const QFont font = kl::CreateViewFont(kMsGothicCp932, c.height, 0, c.weight);
        EXPECT_EQ(font.pixelSize(), c.expectedPixels);
        EXPECT_EQ(font.weight(), c.expectedWeight);
    }
}

TEST(FontResolver, PositiveHeightWithWidthStretchesTheFont)
{
    const QFont natural = kl::CreateViewFont(kMsGothicCp932, 16, 0, 400);
    const QFont wide = kl::CreateViewFont(kMsGothicCp932, 16, 2 * QFontMetrics(natural).averageCharWidth(), 400);
    EXPECT_EQ(natural.stretch(), QFont::AnyStretch);
    EXPECT_EQ(wide.stretch(), 200);
}

}  // namespace
