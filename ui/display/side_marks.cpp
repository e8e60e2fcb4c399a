#include "ui/display/side_marks.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>

namespace kl {

namespace {

const QColor kMarkColor(0x1f, 0x4e, 0x9c);

QPixmap BlankMark()
{
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(kSideMarkWidth, kSideMarkHeight) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QFont MarkFont(int pixelSize)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

QString SideLetter(int side)
{
    return side == 0 ? QStringLiteral("A") : QStringLiteral("B");
}

const QRectF kBox(2.5, 1.5, 14, 14);

}  // namespace

QPixmap BoxedSideMark(int side)
{
    QPixmap pixmap = BlankMark();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(kMarkColor.darker(130));
    painter.setBrush(kMarkColor);
    painter.drawRoundedRect(kBox, 2, 2);
    painter.setPen(Qt::white);
    painter.setFont(MarkFont(11));
    painter.drawText(kBox, Qt::AlignCenter, SideLetter(side));
    return pixmap;
}

QPixmap FramedSideMark(int side)
{
    QPixmap pixmap = BlankMark();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kMarkColor, 1.5));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(kBox, 2, 2);
    painter.setFont(MarkFont(11));
    painter.drawText(kBox, Qt::AlignCenter, SideLetter(side));
    return pixmap;
}

QPixmap DigitsMark()
{
    QPixmap pixmap = BlankMark();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = MarkFont(8);
    font.setBold(false);
    font.setStretch(QFont::Condensed);
    painter.setFont(font);
    painter.setPen(kMarkColor);
    painter.drawText(QRectF(0, 0, kSideMarkWidth, kSideMarkHeight / 2.0), Qt::AlignCenter, QStringLiteral("01"));
    painter.drawText(QRectF(0, kSideMarkHeight / 2.0, kSideMarkWidth, kSideMarkHeight / 2.0), Qt::AlignCenter,
                     QStringLiteral("23"));
    return pixmap;
}

QIcon SideIcon(int side)
{
    QIcon icon;
    icon.addPixmap(BoxedSideMark(side), QIcon::Normal);
    icon.addPixmap(FramedSideMark(side), QIcon::Selected);
    return icon;
}

}  // namespace kl
