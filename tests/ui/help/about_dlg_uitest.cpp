// The about box: the program's icon, name, version and maker, and OK.
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "ui/help/about_dlg.h"

namespace {

TEST(AboutDlg, ShowsTheIconNameVersionAndMaker)
{
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(u"Kestrilaneのバージョン情報"));
    const QPixmap icon = dialog.iconLabel()->pixmap();
    EXPECT_EQ(icon.deviceIndependentSize(), QSizeF(32, 32));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Kestrilane Version \\d+\\.\\d+\\.\\d+$"))
                    .match(dialog.versionLabel()->text())
                    .hasMatch())
        << dialog.versionLabel()->text().toStdString();
    EXPECT_TRUE(dialog.makerLabel()->text().contains(QStringLiteral("Harrowfen")));
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral(u"フリーソフトウェアです")));
}

TEST(AboutDlg, OkClosesIt)
{
    CAboutDlg dialog;
    dialog.show();
    dialog.okButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
