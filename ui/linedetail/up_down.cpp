#include "ui/linedetail/up_down.h"

#include <QToolButton>
#include <algorithm>

CUpDown::CUpDown(int maximum, QWidget* parent) : QWidget(parent), maximum_(maximum)
{
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(1); });
}

void CUpDown::setPosition(int position)
{
    position_ = std::clamp(position, 0, maximum_);
}

void CUpDown::Step(int delta)
{
    // A step at either end is announced too: the window compares its lines again.
    setPosition(position_ + delta);
    emit stepped();
}

void CUpDown::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}
