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

LineEndMarks LineEndMarksOn(const QColor& background)
{
    LineEndMarks marks;
    marks[static_cast<int>(LineEndKind::Lf)] = NewlineMark(background);
    for (LineEndKind kind : {LineEndKind::CrLf, LineEndKind::Cr}) {
        QPixmap mark(kNewlineMarkSize, kNewlineMarkSize);
        mark.fill(background);
        QPainter painter(&mark);
        if (kind == LineEndKind::CrLf) {
            painter.fillRect(9, 1, 2, 7, kNewlineMarkColor);  // down the right side
            painter.fillRect(4, 6, 7, 2, kNewlineMarkColor);  // back to the left
        } else {
            painter.fillRect(4, 6, 7, 2, kNewlineMarkColor);
        }
        // The head pointing left, narrowing to the tip.
        for (int column = 0; column < 4; ++column)
            painter.fillRect(1 + column, 6 - column, 1, 2 + 2 * column, kNewlineMarkColor);
        marks[static_cast<int>(kind)] = mark;
    }
    return marks;
}

LineEndKind LineEndKindOf(std::string_view lineEnd)
{
    if (lineEnd.starts_with("\r\n"))
        return LineEndKind::CrLf;
    return lineEnd.starts_with('\r') ? LineEndKind::Cr : LineEndKind::Lf;
}

}  // namespace kl
