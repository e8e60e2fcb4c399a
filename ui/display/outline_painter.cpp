#include "ui/display/outline_painter.h"

#include <QPainter>
#include <QPen>

namespace kl {

namespace {

constexpr int kOutlineWidth = 2;

}  // namespace

void PaintRowsOutline(PaintContext& context, int firstRow, int lastRow, const QRect& visible)
{
    if (firstRow < 0 || lastRow < firstRow || context.lineHeight <= 0)
        return;
    const long long top = static_cast<long long>(firstRow) * context.lineHeight;
    const long long bottom = static_cast<long long>(lastRow + 1) * context.lineHeight;
    if (bottom < visible.top() || top > visible.bottom() + 1)
        return;
    // Edges beyond the visible area stay out of it, so the frame never wraps round a huge block.
    const int left = std::max(context.numberColumnWidth + 1, visible.left());
    const int y0 = static_cast<int>(std::max<long long>(top, visible.top() - kOutlineWidth));
    const int y1 = static_cast<int>(std::min<long long>(bottom, visible.bottom() + 1 + kOutlineWidth));
    QPainter& painter = context.painter;
    painter.save();
    QPen pen(context.textColor, kOutlineWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(left + 1, y0 + 1), QPoint(visible.right() - 1, y1 - 1)));
    painter.restore();
}

}  // namespace kl
