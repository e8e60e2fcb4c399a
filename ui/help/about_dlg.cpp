#include "ui/help/about_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef KESTRILANE_VERSION
#error "The build defines KESTRILANE_VERSION from the project version."
#endif

// Outside any namespace: Q_INIT_RESOURCE declares the resource's initialiser where it stands.
static QPixmap ProgramIcon(int size)
{
    const QIcon windowIcon = QApplication::windowIcon();
    if (!windowIcon.isNull())
        return windowIcon.pixmap(size, size);
    // The toolbar's compare picture stands for the program while it has no icon of its own.
    // Its 32-pixel drawing is marked for double-density screens; here it is wanted as is.
    Q_INIT_RESOURCE(kestrilane);
    QImage image(QStringLiteral(":/icons/compare@2x.png"));
    image.setDevicePixelRatio(1.0);
    return QPixmap::fromImage(image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QString ProgramVersion()
{
    return QStringLiteral(KESTRILANE_VERSION);
}

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent),
      icon_(new QLabel(this)),
      version_(new QLabel(QStringLiteral("Kestrilane Version %1").arg(ProgramVersion()), this)),
      maker_(new QLabel(QStringLiteral("Copyright (C) 2026 Harrowfen"), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(QStringLiteral(u"Kestrilaneのバージョン情報"));
    icon_->setPixmap(ProgramIcon(32));
    icon_->setAlignment(Qt::AlignTop);
    ok_->setDefault(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version_);
    texts->addWidget(maker_);
    texts->addWidget(new QLabel(QStringLiteral(u"フリーソフトウェアです"), this));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon_);
    layout->addSpacing(8);
    layout->addLayout(texts, 1);
    layout->addSpacing(16);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void ShowAboutBox(QWidget* parent)
{
    CAboutDlg dialog(parent);
    dialog.exec();
}
