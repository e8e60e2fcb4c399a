#include "ui/settings/color_static.h"

#include <QPainter>

CColorStatic::CColorStatic(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(48, 18);
}

void CColorStatic::setColor(const QColor& color)
{
    color_ = color;
    update();
}

void CColorStatic::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), color_);
}
