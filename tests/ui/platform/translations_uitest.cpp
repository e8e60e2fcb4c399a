// Qt's own dialogs speak Japanese once the translations are installed.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include "ui/platform/translations.h"

namespace {

class TranslationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!InstallJapaneseTranslations(*qApp))
            GTEST_SKIP() << "Qt's Japanese translations (qt6-translations-l10n) are not installed";
    }
};

TEST_F(TranslationsTest, MessageBoxButtonsAreJapanese)
{
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral(u"はい(&Y)"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral(u"いいえ(&N)"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral(u"キャンセル"));
}

TEST_F(TranslationsTest, FileDialogIsJapanese)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(dialog.labelText(QFileDialog::Reject), QStringLiteral(u"キャンセル"));
    EXPECT_EQ(dialog.labelText(QFileDialog::FileType), QStringLiteral(u"ファイルの種類:"));
}

}  // namespace
