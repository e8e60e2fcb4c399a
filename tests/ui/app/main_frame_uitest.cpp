// The main window: its commands, bars and panes, the compare-mode presets, the
// compare-method dialog, the recent-file list and the placement written at exit.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <gtest/gtest.h>
#include <set>

#include "ui/app/command_ids.h"
#include "ui/app/lock_indicators.h"
#include "ui/app/recent_files.h"
#include "app_fixture.h"
#include "engine/compare/compare_options.h"
#include "ui/compare/compare_set_dlg.h"
#include "engine/display/display_options.h"
#include "ui/display/frame_dlg.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "engine/document/document_ops.h"
#include "engine/platform/private_profile.h"
#include "tests/support/temp_dir.h"
#include "ui/tree/left_view.h"

namespace {

using kltest::kAfter;
using kltest::kBefore;

// Section COMPMODE with one preset per code, names as the program builds them.
std::string PresetIni(const std::vector<std::string>& codes, const std::string& selected)
{
    static const std::map<std::string, std::string> names = {
        {"00000", "通常-"}, {"00100", "通常-タ"}, {"11111", "部分-改タ全末"}, {"01001", "通常-改末"}};
    std::string ini = "[COMPMODE]\nCOUNT=" + std::to_string(codes.size()) + "\n";
    for (std::size_t k = 0; k < codes.size(); ++k)
        ini += std::to_string(k) + "=" + names.at(codes[k]) + "," + codes[k] + "\n";
    if (!selected.empty())
        ini += "SELECTED=" + selected + "\n";
    return ini;
}

std::string OptionsCode(const kl::CompareOptions& options)
{
    std::string code;
    for (bool on : {options.method == 1, options.ignoreNewline, options.ignoreSpaceTab, options.wideSpaceAsTwo != 0,
                    options.ignoreTrailingSpaces != 0})
        code += on ? '1' : '0';
    return code;
}

class MainFrameTest : public kltest::AppTest {
protected:
    std::string Ini(const std::string& section, const std::string& key)
    {
        return kl::ReadIniString(dir.file("kestrilane.ini"), section, key, "(missing)", 100);
    }

    int Profile(const QString& key)
    {
        QSettings settings(profilePath(), QSettings::IniFormat);
        return settings.value(QStringLiteral("Settings/") + key, -9999).toInt();
    }

    void StorePlacement(int left, int top, int right, int bottom, int showCmd, int wide = 210, int height = 180,
                        int cmbLeft = 210)
    {
        kl::UserProfile profile(profilePath());
        ASSERT_TRUE(profile.WriteWindowPlacement({left, top, right, bottom, showCmd, wide, height, cmbLeft}));
    }
};

// Every command of a menu, submenus included.
void CollectIds(const QMenu* menu, std::set<int>& ids)
{
    for (const QAction* action : menu->actions()) {
        if (action->menu())
            CollectIds(action->menu(), ids);
        else if (!action->isSeparator())
            ids.insert(action->data().toInt());
    }
}

TEST_F(MainFrameTest, MenusHoldOnlyTheCommandsThatWork)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({})));
    std::set<int> ids;
    for (const QAction* top : app->mainFrame()->menuBar()->actions())
        CollectIds(top->menu(), ids);
    using namespace cmd;
    const std::set<int> expected = {
        ID_FILE_NEW,     ID_FILE_OPEN,        ID_FILE_SAVE,      ID_FILE_SAVE_AS,         ID_FILE_RELOAD,
        ID_FILE_SAVE_REPORT, ID_FILE_SAVE_DOC_A, ID_FILE_SAVE_DOC_B,
        ID_APP_EXIT,     ID_EDIT_COPY,        ID_VIEW_TOOLBAR,   ID_VIEW_STATUS_BAR,      ID_WINDOW_SPLIT,
        ID_VIEW_SOURCE,  ID_VIEW_RESULT,      ID_VIEW_PAIRED,    ID_VIEW_EOL_KIND,        ID_VIEW_WRAP, ID_COMPARE,        ID_COMPARE_DETAILED,     ID_COMPARE_STOP,
        ID_PREV_DIFF,    ID_NEXT_DIFF,        ID_REBUILD_NEWLINES, ID_MERGE,              ID_FONT_SETTINGS,
        ID_COLOR_SETTINGS, ID_COMPARE_METHOD, ID_ENVIRONMENT_SETTINGS, ID_HELP_USAGE,     ID_APP_ABOUT,
        ID_SWAP_SIDES,   ID_COMPARE_MINIMAL,
        ID_FOLDER_COMPARE, ID_FOLDER_BACK, ID_EDIT_FIND, ID_EDIT_FIND_NEXT, ID_EDIT_FIND_PREV, ID_EDIT_GOTO_LINE,
        ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_PASTE, ID_COPY_TO_B, ID_COPY_TO_A, ID_COPY_ALL_TO_B,
        ID_COPY_ALL_TO_A};
    EXPECT_EQ(ids, expected);
    const QMenu* recent = app->mainFrame()->findChild<QMenu*>(QStringLiteral("recentFileMenu"));
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->title(), QStringLiteral(u"最近使ったファイル"));
}

TEST_F(MainFrameTest, CommandsCarryTheirTextsKeysAndPrompts)
{
    const struct {
        int id;
        QString text;
        QList<QKeySequence> keys;
        QString statusTip;
        QString toolTip;
    } cases[] = {
        {cmd::ID_COMPARE, QStringLiteral(u"比較(&C)"), {QKeySequence(QStringLiteral("Ctrl+J"))},
         QStringLiteral(u"２つのテキストを比較します。"), QStringLiteral(u"比較")},
        {cmd::ID_COMPARE_DETAILED, QStringLiteral(u"詳細比較(&S)"), {QKeySequence(QStringLiteral("Ctrl+M"))},
         QStringLiteral(u"詳細モードで比較します。大きいテキストの場合処理時間がややかかります。"),
         QStringLiteral(u"詳細比較")},
        {cmd::ID_COMPARE_STOP, QStringLiteral(u"中止(&D)"), {QKeySequence(QStringLiteral("Ctrl+D"))},
         QStringLiteral(u"処理を中止します"), QStringLiteral(u"処理中断")},
        {cmd::ID_NEXT_DIFF, QStringLiteral(u"次の相違点(&N)"),
         {QKeySequence(QStringLiteral("Ctrl+F")), QKeySequence(QStringLiteral("F7"))},
         QStringLiteral(u"次の相違地点へ移動します。"), QStringLiteral(u"次相違地点")},
        {cmd::ID_PREV_DIFF, QStringLiteral(u"前の相違点(&P)"),
         {QKeySequence(QStringLiteral("Ctrl+R")), QKeySequence(QStringLiteral("F8"))},
         QStringLiteral(u"前の相違地点へ移動します。"), QStringLiteral(u"前相違地点")},
        {cmd::ID_EDIT_COPY, QStringLiteral(u"コピー(&C)"),
         {QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))},
         QStringLiteral(u"選択範囲をクリップボードにコピーします。"), QStringLiteral(u"コピー")},
        {cmd::ID_FILE_RELOAD, QStringLiteral(u"再読み込み(&R)..."), {}, QStringLiteral(u"再読み込み"),
         QStringLiteral(u"再読み込み")},
        {cmd::ID_VIEW_SOURCE, QStringLiteral(u"元データの表示(&O)"), {},
         QStringLiteral(u"オリジナルのデータを表示します。"), QStringLiteral(u"元データの表示(O)")},
        {cmd::ID_VIEW_RESULT, QStringLiteral(u"比較結果の表示(&R)"), {}, QStringLiteral(u"比較結果を表示します。"),
         QStringLiteral(u"比較結果")},
        {cmd::ID_COMPARE_METHOD, QStringLiteral(u"比較方法の設定(&P)"), {},
         QStringLiteral(u"１行の内\"ダブルコーテーション\"の中を除外できます。"), QStringLiteral(u"比較方法の設定(P)")},
        {cmd::ID_FILE_NEW, QStringLiteral(u"新規作成(&N)"), {QKeySequence(QStringLiteral("Ctrl+N"))},
         QStringLiteral(u"読み込んだ２つのファイルをクリアします。"), QStringLiteral(u"新規作成")},
    };
    auto app = MakeApp();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const QAction* action = app->mainFrame()->commandAction(c.id);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->data().toInt(), c.id);
        EXPECT_EQ(action->text(), c.text);
        EXPECT_EQ(action->shortcuts(), c.keys);
        EXPECT_EQ(action->statusTip(), c.statusTip);
        EXPECT_EQ(action->toolTip(), c.toolTip);
    }
}

TEST_F(MainFrameTest, HoveringACommandShowsItsPromptInTheStatusBar)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({})));
    QAction* action = app->mainFrame()->commandAction(cmd::ID_COMPARE_STOP);
    action->showStatusText(app->mainFrame());
    EXPECT_EQ(app->mainFrame()->statusBar()->currentMessage(), QStringLiteral(u"処理を中止します"));
}

TEST_F(MainFrameTest, ToolbarButtonsHaveBundledIcons)
{
    auto app = MakeApp();
    const QToolBar* toolBar = app->mainFrame()->toolBar();
    std::vector<int> ids;
    for (const QAction* action : toolBar->actions()) {
        if (action->isSeparator())
            continue;
        ids.push_back(action->data().toInt());
        const QPixmap pixmap = action->icon().pixmap(16, 16);
        EXPECT_FALSE(pixmap.isNull()) << action->data().toInt();
        EXPECT_EQ(pixmap.width(), 16);
    }
    using namespace cmd;
    EXPECT_EQ(ids, (std::vector<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_RELOAD, ID_EDIT_COPY,
                                     ID_EDIT_UNDO, ID_EDIT_REDO, ID_COPY_TO_B, ID_COPY_TO_A, ID_COPY_ALL_TO_B,
                                     ID_COPY_ALL_TO_A, ID_COMPARE, ID_COMPARE_DETAILED, ID_COMPARE_MINIMAL, ID_COMPARE_STOP,
                                     ID_PREV_DIFF, ID_NEXT_DIFF, ID_VIEW_RESULT, ID_VIEW_PAIRED, ID_APP_ABOUT}));
}

TEST_F(MainFrameTest, BarsAndPanesAreInPlace)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({})));
    CMainFrame* frame = app->mainFrame();

    const QList<QLabel*> bandLabels = frame->compareModeBand()->findChildren<QLabel*>();
    ASSERT_EQ(bandLabels.size(), 1);
    EXPECT_EQ(bandLabels[0]->text(), QStringLiteral(u"比較方法"));
    EXPECT_EQ(frame->presetCombo()->parent(), frame->compareModeBand());
    EXPECT_EQ(frame->presetCombo()->property("controlId").toInt(), cmd::IDC_COMPARE_MODE);
    ASSERT_NE(frame->dialogBar(), nullptr);
    EXPECT_TRUE(frame->dialogBar()->isVisible());
    EXPECT_TRUE(frame->dialogBar()->button(CFrameDlg::IDC_SOURCE)->isChecked());
    EXPECT_TRUE(frame->dialogBar()->button(CFrameDlg::IDC_D1)->isChecked());
    EXPECT_EQ(frame->viewState()->detailMode(), 0);

    EXPECT_FALSE(frame->progressBar()->isVisible());
    EXPECT_EQ(frame->progressBar()->property("controlId").toInt(), cmd::IDC_PROGRESS);
    EXPECT_EQ(frame->progressBar()->maximum(), 100);

    const struct {
        LockKey key;
        QString text;
    } indicators[] = {{LockKey::Kana, QStringLiteral(u"ｶﾅ")},
                      {LockKey::CapsLock, QStringLiteral("CAP")},
                      {LockKey::NumLock, QStringLiteral("NUM")},
                      {LockKey::ScrollLock, QStringLiteral("SCRL")}};
    for (const auto& indicator : indicators) {
        const QLabel* label = frame->lockIndicators()->indicator(indicator.key);
        ASSERT_NE(label, nullptr);
        const std::optional<bool> state = LockKeyState(indicator.key);
        EXPECT_EQ(label->isVisible(), state.has_value());
        EXPECT_EQ(label->text(), state.value_or(false) ? indicator.text : QString());
    }

    const auto* outer = qobject_cast<const QSplitter*>(frame->centralWidget());
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->orientation(), Qt::Vertical);
    EXPECT_EQ(outer->widget(0), frame->treeView());
    EXPECT_EQ(outer->widget(1), frame->splitterSnd());
    EXPECT_GE(frame->treeView()->height(), 60);
    EXPECT_GT(frame->splitterSnd()->height(), frame->treeView()->height());
}

TEST_F(MainFrameTest, ToolbarAndStatusBarCanBeHidden)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({})));
    CMainFrame* frame = app->mainFrame();
    Trigger(*app, cmd::ID_VIEW_TOOLBAR);
    EXPECT_FALSE(frame->toolBar()->isVisible());
    EXPECT_FALSE(frame->commandAction(cmd::ID_VIEW_TOOLBAR)->isChecked());
    EXPECT_TRUE(frame->compareModeBand()->isVisible());
    Trigger(*app, cmd::ID_VIEW_TOOLBAR);
    EXPECT_TRUE(frame->toolBar()->isVisible());

    Trigger(*app, cmd::ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame->statusBar()->isVisible());
    Trigger(*app, cmd::ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(frame->statusBar()->isVisible());
}

TEST_F(MainFrameTest, DisplaySwitchMovesBothViewsAndTheDialogBar)
{
    auto app = MakeApp("[FLAG]\nFPARAMDO=0\n");
    ASSERT_TRUE(app->InitInstance(Words({kBefore, kAfter})));
    CMainFrame* frame = app->mainFrame();
    CFrameDlg* bar = frame->dialogBar();

    Trigger(*app, cmd::ID_VIEW_RESULT);
    EXPECT_EQ(frame->leftView()->displayMode(), DISPLAY_RESULT);
    EXPECT_EQ(frame->rightView()->displayMode(), DISPLAY_RESULT);
    EXPECT_TRUE(bar->button(CFrameDlg::IDC_RESULT)->isChecked());

    // D2, then the menu: the bar keeps D2.
    bar->button(CFrameDlg::IDC_D2)->click();
    EXPECT_EQ(frame->viewState()->detailMode(), 1);
    Trigger(*app, cmd::ID_VIEW_SOURCE);
    EXPECT_EQ(frame->leftView()->displayMode(), DISPLAY_SOURCE);
    EXPECT_EQ(frame->rightView()->displayMode(), DISPLAY_SOURCE);
    EXPECT_TRUE(bar->button(CFrameDlg::IDC_SOURCE)->isChecked());
    EXPECT_TRUE(bar->button(CFrameDlg::IDC_D2)->isChecked());

    // The bar's own buttons switch the views.
    bar->button(CFrameDlg::IDC_RESULT)->click();
    EXPECT_EQ(frame->leftView()->displayMode(), DISPLAY_RESULT);
    EXPECT_EQ(frame->rightView()->displayMode(), DISPLAY_RESULT);
}

// 表示 > 変更行を並べて表示: the views put changed lines side by side, and the switch is kept.
TEST_F(MainFrameTest, ThePairedDisplayIsSwitchedAndKept)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kBefore, kAfter})));
    ASSERT_TRUE(WaitForRunEnd(*app));
    CMainFrame* frame = app->mainFrame();
    Trigger(*app, cmd::ID_VIEW_RESULT);
    const int unpairedRows = frame->leftView()->rowCount;
    Trigger(*app, cmd::ID_VIEW_PAIRED);
    EXPECT_TRUE(frame->viewState()->paired());
    EXPECT_TRUE(frame->commandAction(cmd::ID_VIEW_PAIRED)->isChecked());
    EXPECT_LT(frame->leftView()->rowCount, unpairedRows);
    EXPECT_NE(kltest::ReadFileBytes(dir.file("kestrilane.ini")).find("FPAIRED=1"), std::string::npos);
    Trigger(*app, cmd::ID_VIEW_PAIRED);
    EXPECT_EQ(frame->leftView()->rowCount, unpairedRows);
}

TEST_F(MainFrameTest, WordWrapIsSwitchedAndKept)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kBefore, kAfter})));
    CMainFrame* frame = app->mainFrame();
    EXPECT_EQ(frame->leftView()->WrapWidth(), 0);
    Trigger(*app, cmd::ID_VIEW_WRAP);
    EXPECT_TRUE(frame->commandAction(cmd::ID_VIEW_WRAP)->isChecked());
    EXPECT_GT(frame->leftView()->WrapWidth(), 0);
    EXPECT_GT(frame->rightView()->WrapWidth(), 0);
    EXPECT_NE(kltest::ReadFileBytes(dir.file("kestrilane.ini")).find("FWRAP=1"), std::string::npos);
    app.reset();
    app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kBefore, kAfter})));
    EXPECT_TRUE(app->mainFrame()->commandAction(cmd::ID_VIEW_WRAP)->isChecked());
    Trigger(*app, cmd::ID_VIEW_WRAP);
    EXPECT_EQ(app->mainFrame()->leftView()->WrapWidth(), 0);
}

TEST_F(MainFrameTest, PresetComboFollowsCompmodeSelected)
{
    const struct {
        const char* name;
        std::vector<std::string> codes;
        std::string selected;
        int expectedIndex;
    } cases[] = {
        {"second of three", {"00000", "00100", "11111"}, "1", 1},
        {"last", {"00000", "00100", "11111"}, "2", 2},
        {"beyond the list", {"00000", "00100", "11111"}, "3", -1},
        {"far beyond", {"00000"}, "7", -1},
        {"none", {"00000", "00100"}, "-1", -1},
        {"key missing", {"00000", "00100"}, "", -1},
        {"no presets", {}, "0", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto app = MakeApp(PresetIni(c.codes, c.selected));
        const QComboBox* combo = app->mainFrame()->presetCombo();
        ASSERT_EQ(combo->count(), static_cast<int>(c.codes.size()));
        EXPECT_EQ(combo->currentIndex(), c.expectedIndex);
        if (!c.codes.empty()) {
            EXPECT_EQ(combo->itemText(0), QStringLiteral(u"通常- (00000)"));
        }
    }
}

TEST_F(MainFrameTest, SelectedPresetIsAppliedAtEveryStartAndStoredAtExit)
{
    {
        auto app = MakeApp(PresetIni({"00000", "11111", "01001"}, "1") +
                           "[FLAG]\nFPARAMDO=0\n[COMPARE]\nMODE=0\nUSECHECK=00\nSPACECMP=00\n");
        ASSERT_TRUE(app->InitInstance(Words({kBefore, kAfter})));
        EXPECT_EQ(OptionsCode(app->document()->compareOptions), "00000");

        Trigger(*app, cmd::ID_COMPARE);
        EXPECT_EQ(OptionsCode(app->document()->compareOptions), "11111");
        ASSERT_TRUE(WaitForRunEnd(*app));

        // The user picks another preset; the next start applies it.
        QComboBox* combo = app->mainFrame()->presetCombo();
        combo->setCurrentIndex(2);
        emit combo->activated(2);
        EXPECT_EQ(app->mainFrame()->selectedPreset(), 2);
        Trigger(*app, cmd::ID_COMPARE_DETAILED);
        EXPECT_EQ(OptionsCode(app->document()->compareOptions), "01001");
        ASSERT_TRUE(WaitForRunEnd(*app));
    }
    EXPECT_EQ(Ini("COMPMODE", "SELECTED"), "2");
}

TEST_F(MainFrameTest, WithoutSelectionNoPresetIsApplied)
{
    for (const std::string selected : {"-1", "9"}) {
        SCOPED_TRACE(selected);
        {
            auto app = MakeApp(PresetIni({"11111"}, selected) + "[FLAG]\nFPARAMDO=0\n[COMPARE]\nUSECHECK=10\n");
            ASSERT_TRUE(app->InitInstance(Words({kBefore, kAfter})));
            const std::string before = OptionsCode(app->document()->compareOptions);
            EXPECT_EQ(before, "01000");
            Trigger(*app, cmd::ID_COMPARE);
            EXPECT_EQ(OptionsCode(app->document()->compareOptions), before);
            ASSERT_TRUE(WaitForRunEnd(*app));
        }
        // The stored selection is written back as it was.
        EXPECT_EQ(Ini("COMPMODE", "SELECTED"), selected);
    }
}

TEST_F(MainFrameTest, CompareMethodDialogOkStoresTheOptionsAndTakesItsSelection)
{
    auto app = MakeApp(PresetIni({"00000", "00100"}, "0"));
    ASSERT_TRUE(app->InitInstance(Words({})));
    CMainFrame* frame = app->mainFrame();
    frame->execCompareSetDlg = [](CCompareSetDlg& dialog) {
        dialog.setPrompts({[](QWidget*) {}, [](QWidget*) {}});
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
            if (box->text() == QStringLiteral(u"改行コードの違いを無視する") ||
                box->text() == QStringLiteral(u"行末の半角スペースを無視する"))
                box->setChecked(true);
        }
        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
            if (button->text() == QStringLiteral(u"追加(&A)"))
                button->click();  // adds 01001 at the end and selects it
        }
        dialog.accept();
        return static_cast<int>(QDialog::Accepted);
    };
    Trigger(*app, cmd::ID_COMPARE_METHOD);

    EXPECT_EQ(OptionsCode(app->document()->compareOptions), "01001");
    EXPECT_EQ(Ini("COMPARE", "USECHECK"), "10");
    EXPECT_EQ(Ini("COMPARE", "SPACECMP"), "01");
    EXPECT_EQ(Ini("COMPMODE", "COUNT"), "3");
    const QComboBox* combo = frame->presetCombo();
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(frame->selectedPreset(), 2);
    EXPECT_EQ(combo->currentText(), QStringLiteral(u"通常-改末 (01001)"));
}

TEST_F(MainFrameTest, CompareMethodDialogCancelChangesNothing)
{
    auto app = MakeApp(PresetIni({"00000", "00100"}, "1"));
    ASSERT_TRUE(app->InitInstance(Words({})));
    CMainFrame* frame = app->mainFrame();
    frame->execCompareSetDlg = [](CCompareSetDlg& dialog) {
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
            box->setChecked(true);
        dialog.reject();
        return static_cast<int>(QDialog::Rejected);
    };
    Trigger(*app, cmd::ID_COMPARE_METHOD);
    EXPECT_EQ(OptionsCode(app->document()->compareOptions), "00000");
    EXPECT_EQ(Ini("COMPARE", "USECHECK"), "(missing)");
    EXPECT_EQ(frame->presetCombo()->count(), 2);
    EXPECT_EQ(frame->presetCombo()->currentIndex(), 1);
}

TEST_F(MainFrameTest, PlacementIsWrittenAtExit)
{
    const struct {
        const char* name;
        std::vector<std::string> args;
        bool maximise;
        QPoint moveTo;  // (0, 0): stays where it was placed
        int left, top, right, bottom, showCmd;
    } cases[] = {
        {"moved", {}, false, QPoint(40, 60), 40, 60, 640, 460, 1},
        {"as placed", {}, false, QPoint(), 100, 50, 700, 450, 1},
        {"switch /o", {"/o"}, false, QPoint(), 130, 50, 730, 450, 1},
        {"maximised", {}, true, QPoint(), 100, 50, 700, 450, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StorePlacement(100, 50, 700, 450, 1);
        {
            auto app = MakeApp();
            ASSERT_TRUE(app->InitInstance(Words(c.args)));
            if (!c.moveTo.isNull())
                app->mainFrame()->move(c.moveTo);
            if (c.maximise)
                app->mainFrame()->showMaximized();
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(Profile(QStringLiteral("left")), c.left);
        EXPECT_EQ(Profile(QStringLiteral("top")), c.top);
        EXPECT_EQ(Profile(QStringLiteral("right")), c.right);
        EXPECT_EQ(Profile(QStringLiteral("bottom")), c.bottom);
        EXPECT_EQ(Profile(QStringLiteral("showcmd")), c.showCmd);
    }
}

TEST_F(MainFrameTest, StoredMaximisedWindowComesBackMaximised)
{
    StorePlacement(100, 50, 700, 450, 3);
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({})));
    EXPECT_TRUE(app->mainFrame()->isMaximized());
}

TEST_F(MainFrameTest, CompareModeBandTakesItsStoredSizesWithinTheirBounds)
{
    const struct {
        const char* name;
        int wide, height, cmbLeft;
        int comboWidth;                     // at creation
        int storedWide, storedHeight;       // written at exit
    } cases[] = {
        {"defaults", 210, 180, 210, 210, 210, 168},
        {"ideal width within the band", 300, 100, 250, 250, 300, 150},
        {"ideal below the minimum", 300, 200, 150, 200, 300, 200},
        {"ideal beyond the band", 300, 100, 400, 300, 300, 150},
        {"minimum wider than the band", 200, 260, 150, 260, 260, 208},
        {"tiny band", 20, 10, 150, 35, 35, 28},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StorePlacement(10, 20, 800, 600, 1, c.wide, c.height, c.cmbLeft);
        {
            auto app = MakeApp();
            ASSERT_TRUE(app->InitInstance(Words({})));
            EXPECT_EQ(app->mainFrame()->presetCombo()->width(), c.comboWidth);
        }
        EXPECT_EQ(Profile(QStringLiteral("wide")), c.storedWide);
        EXPECT_EQ(Profile(QStringLiteral("height")), c.storedHeight);
        EXPECT_EQ(Profile(QStringLiteral("cmbleft")), c.cmbLeft);
    }
}

// A large file is read on a worker: the window goes on handling its events (painting among
// them), the progress bar follows the reading, and the text arrives as usual.
TEST_F(MainFrameTest, ALargeFileIsReadWhileTheWindowPaints)
{
    auto app = MakeApp();
    CKestrilaneDoc& doc = *app->document();
    doc.backgroundLoadBytes = 0;  // every file counts as large here
    std::string lines;
    for (int k = 0; k < 20000; ++k)
        lines += "line " + std::to_string(k) + "\r\n";
    const std::string path = dir.write("large.txt", lines);
    const QProgressBar* bar = app->mainFrame()->progressBar();
    std::vector<int> percents;
    bool barShown = false;
    QObject::connect(&doc, &CKestrilaneDoc::loadProgress, [&](int percent) {
        percents.push_back(percent);
        barShown = barShown || !bar->isHidden();
    });
    bool eventsRan = false;
    QTimer::singleShot(0, [&eventsRan] { eventsRan = true; });

    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_TRUE(eventsRan);
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(barShown);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(kl::LineCount(doc.textDoc, 0), 20000);
}

TEST_F(MainFrameTest, RecentFilesAreListedOpenedAndStored)
{
    const std::string gone = dir.write("gone.txt", "x\r\n");
    {
        auto app = MakeApp("[FLAG]\nFPARAMDO=0\nFOPENDO=0\n");
        ASSERT_TRUE(app->InitInstance(Words({gone, kBefore})));
        Trigger(*app, cmd::ID_FILE_NEW);
        chosenFiles = {QString::fromStdString(kAfter)};
        Trigger(*app, cmd::ID_FILE_OPEN);

        const QMenu* menu = app->mainFrame()->findChild<QMenu*>(QStringLiteral("recentFileMenu"));
        QList<QAction*> entries = menu->actions();
        ASSERT_EQ(entries.size(), 3);
        EXPECT_EQ(entries[0]->text(), QStringLiteral("&1 ") + QString::fromStdString(kAfter));
        EXPECT_EQ(entries[1]->text(), QStringLiteral("&2 ") + QString::fromStdString(kBefore));
        EXPECT_EQ(entries[2]->data().toInt(), cmd::ID_FILE_MRU_FIRST + 2);

        // An entry opens its file like File > Open (it becomes DocB here).
        entries[1]->trigger();
        ASSERT_EQ(kl::LoadedTextCount(app->document()->textDoc), 2);
        EXPECT_EQ(app->document()->textDoc.fileNames[kl::DOC_B], "before.txt");
        EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("&1 ") + QString::fromStdString(kBefore));

        // An entry whose file is gone reports it and leaves the list.
        std::remove(gone.c_str());
        Trigger(*app, cmd::ID_FILE_NEW);
        menu->actions()[2]->trigger();
        EXPECT_EQ(errors.size(), 1);
        EXPECT_EQ(menu->actions().size(), 2);
    }
    kl::UserProfile profile(profilePath());
    EXPECT_EQ(profile.ReadRecentFiles(), (QStringList{QString::fromStdString(kBefore), QString::fromStdString(kAfter)}));

    // The next start lists them again.
    auto app = MakeApp();
    EXPECT_EQ(app->recentFiles().files().size(), 2);
    EXPECT_TRUE(app->mainFrame()->findChild<QMenu*>(QStringLiteral("recentFileMenu"))->isEnabled());
}

TEST(RecentFileList, KeepsTheLatestSixteenWithoutRepeats)
{
    RecentFileList list;
    for (int k = 0; k < 20; ++k)
        list.Add(QStringLiteral("/f%1").arg(k));
    ASSERT_EQ(list.files().size(), RecentFileList::kCapacity);
    EXPECT_EQ(list.files().front(), QStringLiteral("/f19"));
    EXPECT_EQ(list.files().back(), QStringLiteral("/f4"));

    list.Add(QStringLiteral("/f10"));
    EXPECT_EQ(list.files().size(), RecentFileList::kCapacity);
    EXPECT_EQ(list.files().front(), QStringLiteral("/f10"));
    EXPECT_EQ(list.files().count(QStringLiteral("/f10")), 1);

    list.Remove(QStringLiteral("/f10"));
    EXPECT_FALSE(list.files().contains(QStringLiteral("/f10")));
}

TEST(RecentFileList, LoadKeepsTheStoredOrderAndDropsRepeats)
{
    kltest::TempDir dir;
    kl::UserProfile profile(QString::fromStdString(dir.file("profile.ini")));
    ASSERT_TRUE(profile.WriteRecentFiles({QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/a")}));
    RecentFileList list;
    list.Load(profile);
    EXPECT_EQ(list.files(), (QStringList{QStringLiteral("/a"), QStringLiteral("/b")}));
}

// Two windows that end one after the other: the second keeps the first one's files, and
// what it removed itself stays removed.
TEST(RecentFileList, SavingKeepsWhatAnotherWindowStored)
{
    kltest::TempDir dir;
    const QString path = QString::fromStdString(dir.file("profile.ini"));
    ASSERT_TRUE(kl::UserProfile(path).WriteRecentFiles({QStringLiteral("/old"), QStringLiteral("/gone")}));
    kl::UserProfile profile1(path);
    kl::UserProfile profile2(path);
    RecentFileList window1;
    RecentFileList window2;
    window1.Load(profile1);
    window2.Load(profile2);
    window1.Add(QStringLiteral("/one"));
    window2.Add(QStringLiteral("/two"));
    window2.Remove(QStringLiteral("/gone"));
    ASSERT_TRUE(window1.Save(profile1));
    ASSERT_TRUE(window2.Save(profile2));
    EXPECT_EQ(kl::UserProfile(path).ReadRecentFiles(),
              (QStringList{QStringLiteral("/two"), QStringLiteral("/one"), QStringLiteral("/old")}));
}

TEST(RecentFileList, MenuTextsNumberTheEntries)
{
    const struct {
        int index;
        QString path;
        QString text;
    } cases[] = {
        {0, QStringLiteral("/x/a.txt"), QStringLiteral("&1 /x/a.txt")},
        {8, QStringLiteral("/b"), QStringLiteral("&9 /b")},
        {9, QStringLiteral("/c"), QStringLiteral("1&0 /c")},
        {15, QStringLiteral("/d"), QStringLiteral("16 /d")},
        {1, QStringLiteral("/R&D/e"), QStringLiteral("&2 /R&&D/e")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecentFileMenuText(c.index, c.path), c.text);
}

TEST_F(MainFrameTest, FilesDroppedOnTheTreeAreOpened)
{
    auto app = MakeApp("[FLAG]\nFOPENDO=0\n");
    ASSERT_TRUE(app->InitInstance(Words({})));
    CLeftView* tree = app->mainFrame()->treeView();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(kBefore)),
                  QUrl::fromLocalFile(QString::fromStdString(kAfter))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &drop);
    ASSERT_TRUE(kltest::WaitUntil([&app] { return kl::LoadedTextCount(app->document()->textDoc) == 2; }, 2000));
    EXPECT_EQ(tree->FileEntryPaths(), (std::vector<std::string>{kBefore, kAfter}));
}

}  // namespace

namespace {

// A file dropped on a pane takes that pane's side once the user agrees.
TEST_F(MainFrameTest, AFileDroppedOnAPaneReplacesThatSide)
{
    auto app = MakeApp("[FLAG]\nFOPENDO=0\nFPARAMDO=0\n");
    ASSERT_TRUE(app->InitInstance(Words({kBefore, kAfter})));
    kltest::TempDir dir;
    const std::string third = dir.write("third.txt", "third\n");
    std::vector<QString> questions;
    bool answer = false;
    app->prompts.askReplaceSide = [&](QWidget*, const QString& question) {
        questions.push_back(question);
        return answer;
    };
    auto dropOn = [&app, &third](QWidget* pane) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(third))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(pane, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(pane, &drop);
        QCoreApplication::processEvents();
    };
    const kl::TextDocument& text = app->document()->textDoc;
    dropOn(app->mainFrame()->rightView()->viewport());  // answered No: nothing changes
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].startsWith(QStringLiteral("DocB")));
    EXPECT_EQ(text.filePaths, (std::vector<std::string>{kBefore, kAfter}));

    answer = true;
    dropOn(app->mainFrame()->rightView()->viewport());
    EXPECT_EQ(text.filePaths, (std::vector<std::string>{kBefore, third}));
    dropOn(app->mainFrame()->leftView()->viewport());
    EXPECT_EQ(text.filePaths, (std::vector<std::string>{third, third}));
    EXPECT_EQ(app->mainFrame()->treeView()->FileEntryPaths(), (std::vector<std::string>{third, third}));
}

}  // namespace
