// Start-up from the command line, the open paths of the main window and the automatic
// comparison decided after DocB.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "ui/app/command_ids.h"
#include "ui/app/kestrilane_app.h"
#include "ui/app/main_frame.h"
#include "engine/document/document_ops.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/settings/user_profile.h"
#include "tests/support/temp_dir.h"
#include "ui/tree/left_view.h"

namespace {

const std::string kBefore = std::string(KESTRILANE_SOURCE_DIR) + "/samples/before.txt";
const std::string kAfter = std::string(KESTRILANE_SOURCE_DIR) + "/samples/after.txt";

class StartUpTest : public ::testing::Test {
protected:
    // The settings file and the profile live in the test's temporary folder.
    std::unique_ptr<CKestrilaneApp> MakeApp(const std::string& iniText = {})
    {
        if (!iniText.empty())
            dir.write("kestrilane.ini", iniText);
        auto profile = std::make_unique<kl::UserProfile>(QString::fromStdString(dir.file("profile.ini")));
        auto app = std::make_unique<CKestrilaneApp>(dir.file("kestrilane.ini"), std::move(profile));
        app->prompts.askClearLoaded = [this](QWidget*) {
            ++clearQuestions;
            return answerClear;
        };
        app->prompts.showOpenError = [this](QWidget*, const QString& message) { errors << message; };
        app->prompts.chooseFile = [this](QWidget*, const QString& caption, const QString&) {
            captions << caption;
            return chosenFiles.isEmpty() ? QString() : chosenFiles.takeFirst();
        };
        QObject::connect(app->document(), &CKestrilaneDoc::autoCompareRequested,
                         [this](kl::AutoCompare kind) { autoCompares.push_back(kind); });
        return app;
    }

    static std::vector<std::string> Words(std::vector<std::string> args)
    {
        args.insert(args.begin(), "kestrilane");
        return args;
    }

    static void TriggerMenu(const CKestrilaneApp& app, int id)
    {
        QAction* action = app.mainFrame()->commandAction(id);
        ASSERT_NE(action, nullptr) << id;
        action->trigger();
    }

    kltest::TempDir dir;
    bool answerClear = false;
    int clearQuestions = 0;
    QStringList errors;
    QStringList captions;
    QStringList chosenFiles;
    std::vector<kl::AutoCompare> autoCompares;
};

TEST_F(StartUpTest, TwoFileArgumentsLoadDocAAndDocB)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kBefore, kAfter})));

    const kl::TextDocument& text = app->document()->textDoc;
    ASSERT_EQ(kl::LoadedTextCount(text), 2);
    EXPECT_EQ(text.fileNames[kl::DOC_A], "before.txt");
    EXPECT_EQ(text.fileNames[kl::DOC_B], "after.txt");
    EXPECT_EQ(kl::LineCount(text, kl::DOC_A), 35);
    EXPECT_EQ(kl::LineCount(text, kl::DOC_B), 37);
    EXPECT_EQ(app->document()->Title(), QStringLiteral("before.txt-after.txt"));
    EXPECT_EQ(app->mainFrame()->windowTitle(), QStringLiteral("before.txt-after.txt - Kestrilane"));
    EXPECT_TRUE(app->mainFrame()->isVisible());
    EXPECT_EQ(app->m_nArgIndex, 2);
    EXPECT_EQ(app->m_nArgCount, 3);
    EXPECT_TRUE(errors.isEmpty());

    // The file tree lists both files with their full paths.
    const CLeftView* tree = app->mainFrame()->treeView();
    ASSERT_EQ(tree->fileItemCount(), 2);
    EXPECT_EQ(tree->FileEntryPaths(), (std::vector<std::string>{kBefore, kAfter}));
}

TEST_F(StartUpTest, RelativeFileArgumentsAreRecordedWithTheirFullPaths)
{
    const std::string before = dir.write("before.txt", "a\r\n");
    const std::string after = dir.write("after.txt", "b\r\n");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.path())));
    auto app = MakeApp();
    const bool started = app->InitInstance(Words({"before.txt", "after.txt"}));
    QDir::setCurrent(previous);
    ASSERT_TRUE(started);
    EXPECT_EQ(app->document()->textDoc.filePaths, (std::vector<std::string>{before, after}));
}

TEST_F(StartUpTest, NoArgumentsGiveAnEmptyDocumentAndWindow)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({})));
    EXPECT_EQ(kl::LoadedTextCount(app->document()->textDoc), 0);
    EXPECT_EQ(app->mainFrame()->windowTitle(), QStringLiteral("Kestrilane"));
    EXPECT_TRUE(app->mainFrame()->isVisible());
    EXPECT_TRUE(autoCompares.empty());
}

TEST_F(StartUpTest, ThirdFileAnsweredNoEndsStartUpAndKeepsBothTexts)
{
    const std::string third = dir.write("third.txt", "x\r\n");
    auto app = MakeApp();
    answerClear = false;
    EXPECT_FALSE(app->InitInstance(Words({kBefore, kAfter, third})));

    EXPECT_EQ(clearQuestions, 1);
    const kl::TextDocument& text = app->document()->textDoc;
    ASSERT_EQ(kl::LoadedTextCount(text), 2);
    EXPECT_EQ(text.fileNames[kl::DOC_A], "before.txt");
    EXPECT_EQ(text.fileNames[kl::DOC_B], "after.txt");
    EXPECT_EQ(app->document()->Title(), QStringLiteral("before.txt-after.txt"));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_FALSE(app->mainFrame()->isVisible());
}

TEST_F(StartUpTest, ThirdFileAnsweredYesReplacesBothTexts)
{
    const std::string third = dir.write("third.txt", "x\r\n");
    auto app = MakeApp();
    answerClear = true;
    ASSERT_TRUE(app->InitInstance(Words({kBefore, kAfter, third})));

    const kl::TextDocument& text = app->document()->textDoc;
    ASSERT_EQ(kl::LoadedTextCount(text), 1);
    EXPECT_EQ(text.fileNames[kl::DOC_A], "third.txt");
    EXPECT_EQ(app->document()->Title(), QStringLiteral("third.txt"));
    // The clear before the third file forgets the command-line position.
    EXPECT_EQ(app->m_nArgIndex, 0);
}

TEST_F(StartUpTest, UnreadableFileArgumentEndsStartUpWithAMessage)
{
    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"missing file", dir.file("missing.txt")},
        {"directory", dir.path()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        auto app = MakeApp();
        EXPECT_FALSE(app->InitInstance(Words({kBefore, c.path, kAfter})));

        ASSERT_EQ(errors.size(), 1);
        const QString shownName = QString::fromStdString(c.path);
        EXPECT_TRUE(errors[0].contains(shownName)) << errors[0].toStdString();
        // Processing stopped at the failing file: the third argument was not opened.
        const kl::TextDocument& text = app->document()->textDoc;
        ASSERT_EQ(kl::LoadedTextCount(text), 1);
        EXPECT_EQ(text.fileNames[kl::DOC_A], "before.txt");
        EXPECT_TRUE(autoCompares.empty());
    }
}

TEST_F(StartUpTest, AutomaticComparisonFromTheCommandLine)
{
    const struct {
        const char* name;
        std::string ini;
        std::vector<std::string> args;
        std::vector<kl::AutoCompare> expected;
    } cases[] = {
        {"two files", "", {kBefore, kAfter}, {kl::AutoCompare::StartAndPost}},
        {"FPARAMDO 0", "[FLAG]\nFPARAMDO=0\n", {kBefore, kAfter}, {}},
        {"FOPENDO 0 does not matter", "[FLAG]\nFOPENDO=0\n", {kBefore, kAfter}, {kl::AutoCompare::StartAndPost}},
        {"/o first", "", {"/o", kBefore, kAfter}, {kl::AutoCompare::StartAndPost}},
        {"switch between", "", {kBefore, "-x", kAfter}, {kl::AutoCompare::StartAndPost}},
        {"one file", "", {kBefore}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        autoCompares.clear();
        auto app = MakeApp(c.ini.empty() ? "[FLAG]\nFPARAMDO=1\n" : c.ini);
        ASSERT_TRUE(app->InitInstance(Words(c.args)));
        EXPECT_EQ(autoCompares, c.expected);
        EXPECT_EQ(app->document()->textDoc.fileNames.front(), "before.txt");
    }
}

TEST_F(StartUpTest, SecondFileFromTheMenuAfterOneArgumentIsOnlyLoaded)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kBefore})));
    chosenFiles = {QString::fromStdString(kAfter)};
    TriggerMenu(*app, cmd::ID_FILE_OPEN);

    ASSERT_EQ(kl::LoadedTextCount(app->document()->textDoc), 2);
    EXPECT_TRUE(autoCompares.empty());
    EXPECT_EQ(app->m_nArgIndex, 1);
    // The second prompt was cancelled; it asked for a file that would replace both.
    EXPECT_EQ(captions, QStringList({QStringLiteral(u"開く - DocB"), QStringLiteral(u"開く - DocA")}));
}

TEST_F(StartUpTest, WithTwoFilesLoadedThePromptsAskForDocAThenDocB)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kBefore, kAfter})));
    answerClear = true;
    chosenFiles = {QString::fromStdString(kAfter)};
    TriggerMenu(*app, cmd::ID_FILE_OPEN);
    EXPECT_EQ(app->document()->textDoc.fileNames, std::vector<std::string>{"after.txt"});
    EXPECT_EQ(captions, QStringList({QStringLiteral(u"開く - DocA"), QStringLiteral(u"開く - DocB")}));
}

TEST_F(StartUpTest, AfterFileNewTheOpenRuleApplies)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kBefore})));
    TriggerMenu(*app, cmd::ID_FILE_NEW);
    EXPECT_EQ(app->m_nArgIndex, 0);
    EXPECT_EQ(kl::LoadedTextCount(app->document()->textDoc), 0);
    EXPECT_EQ(app->mainFrame()->windowTitle(), QStringLiteral("Kestrilane"));

    chosenFiles = {QString::fromStdString(kBefore), QString::fromStdString(kAfter)};
    TriggerMenu(*app, cmd::ID_FILE_OPEN);
    ASSERT_EQ(kl::LoadedTextCount(app->document()->textDoc), 2);
    EXPECT_EQ(autoCompares, std::vector<kl::AutoCompare>{kl::AutoCompare::StartAndSend});
    EXPECT_EQ(captions, QStringList({QStringLiteral(u"開く - DocA"), QStringLiteral(u"開く - DocB")}));
}

TEST_F(StartUpTest, MenuOpenFollowsFOPENDO)
{
    for (const char* flag : {"1", "0"}) {
        SCOPED_TRACE(flag);
        autoCompares.clear();
        auto app = MakeApp(std::string("[FLAG]\nFOPENDO=") + flag + "\n");
        ASSERT_TRUE(app->InitInstance(Words({})));
        chosenFiles = {QString::fromStdString(kBefore), QString::fromStdString(kAfter)};
        TriggerMenu(*app, cmd::ID_FILE_OPEN);
        ASSERT_EQ(kl::LoadedTextCount(app->document()->textDoc), 2);
        const std::vector<kl::AutoCompare> expected =
            flag[0] == '1' ? std::vector<kl::AutoCompare>{kl::AutoCompare::StartAndSend}
                           : std::vector<kl::AutoCompare>{};
        EXPECT_EQ(autoCompares, expected);
    }
}

TEST_F(StartUpTest, CancelledPromptOnlySkipsItsFile)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({})));
    chosenFiles = {QString(), QString::fromStdString(kAfter)};
    TriggerMenu(*app, cmd::ID_FILE_OPEN);

    const kl::TextDocument& text = app->document()->textDoc;
    ASSERT_EQ(kl::LoadedTextCount(text), 1);
    EXPECT_EQ(text.fileNames[kl::DOC_A], "after.txt");
    EXPECT_TRUE(autoCompares.empty());
}

TEST_F(StartUpTest, DroppedFilesOpenOneAfterTheOther)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({})));

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(kBefore)),
                  QUrl::fromLocalFile(QString::fromStdString(kAfter))});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(app->mainFrame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(app->mainFrame(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    for (int i = 0; i < 20 && kl::LoadedTextCount(app->document()->textDoc) < 2; ++i)
        QCoreApplication::processEvents();

    const kl::TextDocument& text = app->document()->textDoc;
    ASSERT_EQ(kl::LoadedTextCount(text), 2);
    EXPECT_EQ(text.fileNames[kl::DOC_A], "before.txt");
    EXPECT_EQ(app->mainFrame()->windowTitle(), QStringLiteral("before.txt-after.txt - Kestrilane"));
    EXPECT_EQ(autoCompares, std::vector<kl::AutoCompare>{kl::AutoCompare::StartAndSend});
}

TEST_F(StartUpTest, SwitchOMovesTheStoredRectangleRight)
{
    {
        kl::UserProfile profile(QString::fromStdString(dir.file("profile.ini")));
        kl::WindowPlacement placement;
        placement.left = 100;
        placement.top = 50;
        placement.right = 700;
        placement.bottom = 450;
        placement.showCmd = 1;
        ASSERT_TRUE(profile.WriteWindowPlacement(placement));
    }
    for (const bool withSwitch : {false, true}) {
        SCOPED_TRACE(withSwitch);
        auto app = MakeApp();
        ASSERT_TRUE(app->InitInstance(withSwitch ? Words({"/o"}) : Words({})));
        EXPECT_EQ(app->m_szOption, withSwitch ? "o" : "");
        EXPECT_EQ(app->mainFrame()->x(), withSwitch ? 130 : 100);
        EXPECT_EQ(app->mainFrame()->y(), 50);
        EXPECT_EQ(app->mainFrame()->width(), 600);
        EXPECT_EQ(app->mainFrame()->height(), 400);
    }
}

TEST_F(StartUpTest, SwitchOKeepsTheWindowOnTheScreen)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    {
        kl::UserProfile profile(QString::fromStdString(dir.file("profile.ini")));
        kl::WindowPlacement placement;
        placement.left = available.left() + 10;
        placement.top = 50;
        placement.right = available.right() + 1 - 10;  // a window that fills the screen but 10 pixels
        placement.bottom = 450;
        placement.showCmd = 1;
        ASSERT_TRUE(profile.WriteWindowPlacement(placement));
    }
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({"/o"})));
    EXPECT_EQ(app->mainFrame()->x(), available.left() + 40);
    EXPECT_EQ(app->mainFrame()->frameGeometry().right(), available.right());
}

}  // namespace
