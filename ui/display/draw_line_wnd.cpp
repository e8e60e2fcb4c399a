#include "ui/display/draw_line_wnd.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

CDrawLineWnd::CDrawLineWnd(QWidget* parent) : QWidget(parent) {}

void CDrawLineWnd::SetColors(const kl::ColorTable* colors)
{
    colors_ = colors;
    update();
}

void CDrawLineWnd::SetFirstLine(int firstLine)
{
    firstLine_ = firstLine;
    update();
}

void CDrawLineWnd::SetRowHeight(int rowHeight)
{
    rowHeight_ = std::max(rowHeight, 1);
    update();
}

void CDrawLineWnd::SetRowCount(int rowCount)
{
    rowCount_ = std::max(rowCount, 0);
    update();
}

void CDrawLineWnd::SetColumnWidth(int columnWidth)
{
    columnWidth_ = std::max(columnWidth, 0);
    update();
}

void CDrawLineWnd::paintEvent(QPaintEvent* event)
{
    if (!colors_)
        return;
    QPainter painter(this);
    const QFont font = parentWidget() ? parentWidget()->font() : this->font();
    painter.setFont(font);
    measure_.SetFont(font);

    kl::PaintContext context{painter, measure_, scratch_, *colors_};
    context.lineHeight = rowHeight_;
    context.area = event->rect();
    const int numberedBottom = static_cast<int>(std::min<long long>(
        static_cast<long long>(rowCount_) * rowHeight_, height()));
    kl::PaintNumberCells(context, firstLine_, 0, 0, numberedBottom, columnWidth_);
    // Below the numbered rows: blank cells.
    const int blankTop = std::max(numberedBottom, rowHeight_);
    if (blankTop < height()) {
        painter.fillRect(0, blankTop, columnWidth_, height() - blankTop,
                         kl::ColorFromRef((*colors_)[kl::COLOR_LINEBACK]));
    }
}
