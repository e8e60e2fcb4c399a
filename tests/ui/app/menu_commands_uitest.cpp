// Commands of the menus that hand over to their subsystems: recording and reopening a
// pair, the newline rebuild (refused while a merge asks a block), the panes and the split.
#include <QApplication>
#include <QSplitter>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "engine/settings/file_set_settings.h"
#include "ui/app/command_ids.h"
#include "ui/display/over_view.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "ui/pairs/file_set_menu.h"
#include "ui/tree/left_view.h"

namespace {

class MenuCommands : public kltest::AppTest {
protected:
    std::unique_ptr<CKestrilaneApp> Loaded(const std::string& a, const std::string& b)
    {
        auto app = MakeApp();
        EXPECT_TRUE(app->InitInstance(Words({a, b})));
        EXPECT_TRUE(WaitForRunEnd(*app));
        return app;
    }
};

TEST_F(MenuCommands, SaveRecordsThePairAndThePairMenuOpensItAgain)
{
    const std::string a = dir.write("first - part.txt", "x\ny\n");
    const std::string b = dir.write("second.txt", "x\nz\n");
    auto app = Loaded(a, b);
    CMainFrame& frame = *app->mainFrame();
    frame.fileSetPrompts.askRecord = [](QWidget*) { return true; };
    frame.fileSetPrompts.showInformation = [this](QWidget*, const QString& m) { errors << m; };
    frame.fileSetPrompts.showFailure = [this](QWidget*, const QString& m) { errors << m; };
    Trigger(*app, cmd::ID_FILE_SAVE);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(kl::ReadFileSetCount(app->settingsPath()), 1);

    Trigger(*app, cmd::ID_FILE_NEW);
    ASSERT_FALSE(app->document()->textDoc.texts[0]);
    frame.fileSetMenu()->Rebuild();
    frame.OnCommand(cmd::ID_FILE_PAIR_FIRST);
    ASSERT_TRUE(WaitForRunEnd(*app));
    ASSERT_EQ(app->document()->textDoc.filePaths.size(), 2u);
    EXPECT_EQ(app->document()->textDoc.filePaths[0], a);
    EXPECT_EQ(app->document()->textDoc.filePaths[1], b);
    EXPECT_TRUE(app->document()->result()->IsComparison());
}

TEST_F(MenuCommands, TheNewlineRebuildFixesTheFilesWhenTheUserAgrees)
{
    const std::string a = dir.write("a.txt", "one\ntwo\r\n");
    const std::string b = dir.write("b.txt", "one\r\rtwo\r\n");
    auto app = Loaded(a, b);
    answerRecordRepaired = true;
    Trigger(*app, cmd::ID_REBUILD_NEWLINES);
    EXPECT_EQ(kltest::ReadFileBytes(a), "one\r\ntwo\r\n");
    EXPECT_EQ(kltest::ReadFileBytes(b), "one\r\n\r\ntwo\r\n");
}

TEST_F(MenuCommands, AnEncodingChosenForAFileReadsItAgainThatWay)
{
    const std::string utf8 = "\xE6\x97\xA5\xE6\x9C\xAC\n";
    auto app = Loaded(dir.write("a.txt", utf8), dir.write("b.txt", utf8));
    ASSERT_EQ(app->document()->textDoc.texts[0]->encoding, kl::TextEncoding::Utf8);
    emit app->mainFrame()->treeView()->encodingChosen(0, kl::EncodingChoice::ShiftJis);
    ASSERT_TRUE(WaitForRunEnd(*app));
    const kl::TextDocument& doc = app->document()->textDoc;
    ASSERT_TRUE(doc.texts[0] && doc.texts[1]);
    // Read as Shift_JIS, then held as UTF-8 beside the UTF-8 DocB.
    EXPECT_EQ(doc.texts[0]->conversion, kl::Text::Conversion::FromCp932);
    EXPECT_EQ(doc.encodingChoices[0], kl::EncodingChoice::ShiftJis);
    EXPECT_NE(doc.texts[0]->bytes(), doc.texts[1]->bytes());
}

TEST_F(MenuCommands, PanesTakeTheFocusInTurnAndSplitEvensTheViews)
{
    auto app = Loaded(kltest::kBefore, kltest::kAfter);
    CMainFrame& frame = *app->mainFrame();
    frame.resize(1000, 600);
    frame.show();
    frame.activateWindow();
    frame.leftView()->setFocus();
    Trigger(*app, cmd::ID_NEXT_PANE);
    EXPECT_TRUE(frame.rightView()->hasFocus());
    Trigger(*app, cmd::ID_NEXT_PANE);
    EXPECT_TRUE(frame.treeView()->hasFocus());
    Trigger(*app, cmd::ID_PREV_PANE);
    EXPECT_TRUE(frame.rightView()->hasFocus());

    QSplitter* columns = frame.splitterSnd()->columns();
    QList<int> sizes = columns->sizes();
    sizes[1] += sizes[2] / 2;
    sizes[2] -= sizes[2] / 2;
    columns->setSizes(sizes);
    Trigger(*app, cmd::ID_WINDOW_SPLIT);
    sizes = columns->sizes();
    EXPECT_LE(std::abs(sizes[1] - sizes[2]), 1 + columns->handleWidth());
}

}  // namespace
