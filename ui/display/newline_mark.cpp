#include "ui/display/newline_mark.h"

#include <QPainter>

namespace kl {

QPixmap NewlineMark(const QColor& background)
{
    QPixmap mark(kNewlineMarkSize, kNewlineMarkSize);
    mark.fill(background);
    QPainter painter(&mark);
    // Drawn pixel by pixel, without smoothing, so that it stays sharp at this size: a shaft
    // two pixels wide from the top, then a head narrowing to the tip.
    painter.fillRect(5, 1, 2, 6, kNewlineMarkColor);
    for (int row = 0; row < 5; ++row)
        painter.fillRect(1 + row, 6 + row, 10 - 2 * row, 1, kNewlineMarkColor);
    return mark;
}

}  // namespace kl
