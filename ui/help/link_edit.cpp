#include "ui/help/link_edit.h"

#include <QMouseEvent>
#include <QPalette>

CLinkEdit::CLinkEdit(QWidget* parent) : QLabel(parent)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette colors = palette();
    colors.setColor(QPalette::Window, colors.color(QPalette::Button));
    setPalette(colors);
    setAutoFillBackground(true);
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    // Only the caption is the link, not the empty space beside it.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    SetTextColor(kNormalColor);
}

void CLinkEdit::SetLink(const QString& caption, const QString& target)
{
    setText(caption);
    target_ = target;
    setToolTip(target);
}

QColor CLinkEdit::textColor() const
{
    return palette().color(QPalette::WindowText);
}

void CLinkEdit::SetTextColor(const QColor& color)
{
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, color);
    setPalette(colors);
}

void CLinkEdit::enterEvent(QEnterEvent* event)
{
    SetTextColor(kHoverColor);
    QLabel::enterEvent(event);
}

void CLinkEdit::leaveEvent(QEvent* event)
{
    SetTextColor(kNormalColor);
    QLabel::leaveEvent(event);
}

void CLinkEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !target_.isEmpty()) {
        event->accept();
        emit activated(target_);
        return;
    }
    QLabel::mousePressEvent(event);
}
