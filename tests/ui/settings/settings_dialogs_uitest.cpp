// The three settings dialogs from the main window: Cancel changes nothing anywhere, OK
// shows the new values at once and writes them, and the next start reads them back.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>
#include <functional>

#include "engine/compare/compare_result.h"
#include "engine/platform/cp932.h"
#include "engine/settings/settings_file.h"
#include "tests/ui/app/app_fixture.h"
#include "ui/app/command_ids.h"
#include "ui/display/painters.h"
#include "ui/display/text_view.h"
#include "ui/settings/color_static.h"
#include "ui/settings/color_text_set.h"
#include "ui/settings/font_setting.h"
#include "ui/settings/setting_dlg.h"

namespace {

const QColor kPicked(10, 200, 90);

class SettingsDialogs : public kltest::AppTest {
protected:
    void SetUp() override { Start(); }

    void Start()
    {
        app = MakeApp();
        ASSERT_TRUE(app->InitInstance(Words({kltest::kBefore, kltest::kAfter})));
        ASSERT_TRUE(WaitForRunEnd(*app));
        frame().resize(1000, 700);
        frame().show();
    }

    void Restart()
    {
        app.reset();
        Start();
    }

    CMainFrame& frame() { return *app->mainFrame(); }
    CKestrilaneDoc& doc() { return *app->document(); }

    // Runs command id with the dialog answered by answer (which returns the dialog's result).
    template <typename Dialog>
    void Run(int id, std::function<int(Dialog&)> answer)
    {
        frame().execSettingsDialog = [answer](QDialog& dialog) { return answer(dynamic_cast<Dialog&>(dialog)); };
        frame().OnCommand(id);
    }

    // The top pixel row of the first DocA-only row of the left view: the row's background.
    QColor OnlyARowColor()
    {
        CTextView& view = *frame().leftView();
        const auto& rows = doc().result()->Rows(kl::DOC_A);
        int row = 0;
        while (row < static_cast<int>(rows.size()) && rows[static_cast<std::size_t>(row)].kind != kl::ROW_ONLY_A)
            ++row;
        view.rowScrollBar()->setValue(row * view.lineHeight);
        const QImage image = view.viewport()->grab().toImage();
        return image.pixelColor(view.numberColumnWidth + 6, row * view.lineHeight - view.scrollTop());
    }

    std::unique_ptr<CKestrilaneApp> app;
};

TEST_F(SettingsDialogs, ColoursPickedBeforeCancelChangeNothingAndOkKeepsThem)
{
    const QColor before = OnlyARowColor();
    ASSERT_NE(before, kPicked);
    const auto pickAnd = [](int result) {
        return [result](CColorTextSet& dialog) {
            dialog.pickColor = [](const QColor&, QWidget*) { return kPicked; };
            static_cast<QPushButton*>(dialog.pickButton(kl::COLOR_DOC1))->click();
            EXPECT_EQ(dialog.swatch(kl::COLOR_DOC1)->color(), kPicked);
            return result;
        };
    };
    Run<CColorTextSet>(cmd::ID_COLOR_SETTINGS, pickAnd(QDialog::Rejected));
    EXPECT_EQ(OnlyARowColor(), before);

    Run<CColorTextSet>(cmd::ID_COLOR_SETTINGS, pickAnd(QDialog::Accepted));
    EXPECT_EQ(OnlyARowColor(), kPicked);
    Restart();
    EXPECT_EQ(OnlyARowColor(), kPicked);
}

TEST_F(SettingsDialogs, DefaultsKeepTheFillerColourAndNewMessagesShowAtOnce)
{
    const kl::ColorRef other = doc().colors[kl::COLOR_OTHER];
    Run<CColorTextSet>(cmd::ID_COLOR_SETTINGS, [](CColorTextSet& dialog) {
        dialog.pickColor = [](const QColor&, QWidget*) { return kPicked; };
        static_cast<QPushButton*>(dialog.pickButton(kl::COLOR_OTHER))->click();
        static_cast<QPushButton*>(dialog.pickButton(kl::COLOR_SAME))->click();
        static_cast<QPushButton*>(dialog.defaultsButton())->click();
        dialog.messageEdit(0)->setText(QStringLiteral(u"〓%d〓"));
        return QDialog::Accepted;
    });
    EXPECT_EQ(doc().colors[kl::COLOR_OTHER], kl::RefFromColor(kPicked));
    EXPECT_NE(doc().colors[kl::COLOR_OTHER], other);
    EXPECT_EQ(doc().colors[kl::COLOR_SAME], kl::DefaultColorTable(0)[kl::COLOR_SAME]);

    // The filler rows of the shown result carry the new text, taken as plain text.
    const kl::CompareResult& result = *doc().result();
    std::string scratch;
    bool found = false;
    for (const kl::DisplayRow& row : result.Rows(kl::DOC_A)) {
        if (row.message == kl::RowMessage::Left) {
            EXPECT_EQ(kl::RowText(result, kl::DOC_A, row, scratch), kl::Utf8ToCp932("〓%d〓"));
            found = true;
            break;
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(SettingsDialogs, AFontChosenBeforeCancelChangesNothingAndOkRemakesTheFonts)
{
    const int pixelsBefore = doc().leftFont.pixelSize();
    const int rowBefore = frame().leftView()->lineHeight;
    const auto chooseAnd = [](int result) {
        return [result](CFontSetting& dialog) {
            dialog.pickFont = [](QFont& font, QWidget*) {
                font.setPixelSize(30);
                return true;
            };
            dialog.fontButton(0)->click();
            EXPECT_EQ(dialog.sizeLabel()->text(), FontSizeText(0, -30, dialog.logicalDpiY()));
            return result;
        };
    };
    Run<CFontSetting>(cmd::ID_FONT_SETTINGS, chooseAnd(QDialog::Rejected));
    EXPECT_EQ(doc().leftFont.pixelSize(), pixelsBefore);
    EXPECT_EQ(frame().leftView()->lineHeight, rowBefore);

    Run<CFontSetting>(cmd::ID_FONT_SETTINGS, chooseAnd(QDialog::Accepted));
    EXPECT_EQ(doc().leftFont.pixelSize(), 30);
    EXPECT_GT(frame().leftView()->lineHeight, rowBefore);
    Restart();
    EXPECT_EQ(doc().fontSettings.height, -30);
    EXPECT_EQ(doc().leftFont.pixelSize(), 30);
}

TEST_F(SettingsDialogs, TheSecondFontIsGreyedUntilItIsAsked)
{
    Run<CFontSetting>(cmd::ID_FONT_SETTINGS, [](CFontSetting& dialog) {
        EXPECT_FALSE(dialog.fontGroup(1)->isEnabled());
        EXPECT_EQ(dialog.fontGroup(0)->title(), QStringLiteral(u"左右Viewウインドウフォント設定"));
        dialog.individualCheck()->setChecked(true);
        EXPECT_TRUE(dialog.fontGroup(1)->isEnabled());
        EXPECT_EQ(dialog.fontGroup(0)->title(), QStringLiteral(u"左Viewウインドウフォント設定"));
        return QDialog::Rejected;
    });
    EXPECT_EQ(CharSetName(162), QStringLiteral("CODE=162"));
    // The points chosen come back: 12 and 14 points are 16 and 19 pixels at 96 dpi.
    EXPECT_EQ(FontSizeText(0, -16, 96), QStringLiteral(u"12ポイント"));
    EXPECT_EQ(FontSizeText(0, -19, 96), QStringLiteral(u"14ポイント"));
    EXPECT_EQ(FontSizeText(0, -25, 120), QStringLiteral(u"15ポイント"));
    EXPECT_EQ(FontSizeText(7, 16, 96), QStringLiteral("7:16"));
}

TEST_F(SettingsDialogs, TheTabSizeShowsAtOnceAndIsKept)
{
    const int tabBefore = frame().leftView()->TabPixels();
    Run<CSettingDlg>(cmd::ID_ENVIRONMENT_SETTINGS, [](CSettingDlg& dialog) {
        dialog.tabSize()->setValue(8);
        dialog.check(1016)->setChecked(false);
        return QDialog::Rejected;
    });
    EXPECT_EQ(doc().docSettings.tabSize, 4);
    EXPECT_EQ(doc().docSettings.fOpenDo, 1);

    Run<CSettingDlg>(cmd::ID_ENVIRONMENT_SETTINGS, [](CSettingDlg& dialog) {
        EXPECT_EQ(dialog.tabSize()->value(), 4);
        dialog.tabSize()->setValue(9);  // beyond the range: stays at 8
        dialog.check(1016)->setChecked(false);
        return QDialog::Accepted;
    });
    EXPECT_EQ(frame().leftView()->TabPixels(), tabBefore * 2);
    Restart();
    EXPECT_EQ(doc().docSettings.tabSize, 8);
    EXPECT_EQ(doc().docSettings.fOpenDo, 0);
}

}  // namespace
