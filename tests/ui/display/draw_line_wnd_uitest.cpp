// The line-number gutter: numbered cells for its rows, blank cells below, nothing without
// a colour table.
#include <QImage>
#include <gtest/gtest.h>

#include "ui/display/draw_line_wnd.h"

namespace {

const QColor kLineText(255, 255, 255);
const QColor kWindowLineBack(0, 0, 128);

// Whether row k of the image (rows of height pitch) has digit ink in LINETEXT.
bool HasDigits(const QImage& image, int k, int pitch)
{
    for (int y = k * pitch; y < (k + 1) * pitch; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == kLineText)
                return true;
    return false;
}

TEST(DrawLineWndTest, NumbersItsRowsAndBlanksTheRest)
{
    QWidget parent;
    QFont font = parent.font();
    font.setPixelSize(12);
    parent.setFont(font);
    auto* gutter = new CDrawLineWnd(&parent);
    gutter->resize(40, 100);
    kl::ColorTable colors = kl::DefaultColorTable(kl::Rgb(255, 255, 255));
    colors[kl::COLOR_LINETEXT] = kl::RefFromColor(kLineText);
    colors[kl::COLOR_LINEBACK] = kl::RefFromColor(kWindowLineBack);
    constexpr int kPitch = 16;
    gutter->SetRowHeight(kPitch);
    gutter->SetRowCount(3);
    gutter->SetColumnWidth(40);
    gutter->SetFirstLine(9);

    const QImage uncoloured = gutter->grab().toImage();
    EXPECT_FALSE(HasDigits(uncoloured, 0, kPitch));
    EXPECT_NE(uncoloured.pixelColor(0, 99), kWindowLineBack);

    gutter->SetColors(&colors);
    const QImage image = gutter->grab().toImage();
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(HasDigits(image, k, kPitch)) << k;
    for (int k = 3; k < 6; ++k)
        EXPECT_FALSE(HasDigits(image, k, kPitch)) << k;
    EXPECT_EQ(image.pixelColor(0, 99), kWindowLineBack);
    EXPECT_EQ(image.pixelColor(39, 3 * kPitch + 1), kWindowLineBack);
}

}  // namespace
