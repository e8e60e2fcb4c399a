// The merge from the program window: the dialog and its query window answered by script,
// saving, the comparison after the merge in a second window, and what the main window
// refuses while a block is asked.
#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QLineEdit>
#include <QUuid>
#include <gtest/gtest.h>
#include <deque>
#include <filesystem>
#include <functional>

#include "engine/merge/merge_walk.h"
#include "engine/platform/command_line.h"
#include "engine/platform/cp932.h"
#include "engine/settings/merge_settings.h"
#include "tests/ui/app/app_fixture.h"
#include "ui/app/command_ids.h"
#include "ui/merge/dlg_editfrm.h"
#include "ui/merge/merge_file_types.h"
#include "ui/merge/merge_set_dlg.h"
#include "ui/merge/mrg_sheet.h"

namespace {

using kltest::ReadFileBytes;
using kltest::WaitUntil;

// What the script does with one question: an answer, after an optional action.
struct Step {
    int answer = kl::ANSWER_ADD;
    std::function<void(CDlgEditfrm&)> before;
};

class MergeDialog : public kltest::AppTest {
protected:
    void SetUp() override { Start({kltest::kBefore, kltest::kAfter}); }

    void Start(const std::vector<std::string>& files)
    {
        app = MakeApp();
        ASSERT_TRUE(app->InitInstance(Words(files)));
        ASSERT_TRUE(WaitForRunEnd(*app));
        MergePrompts& prompts = app->mainFrame()->mergePrompts;
        prompts.chooseSavePath = [this](QWidget*, const QString& caption, const QString& filter, const QString&) {
            captions << caption;
            filters << filter;
            return savePath;
        };
        prompts.showError = [this](QWidget*, const QString& message) { messages << message; };
        prompts.showInfo = [this](QWidget*, const QString& message) { messages << message; };
        prompts.askYesNo = [this](QWidget*, const QString&) { return answerYes; };
        prompts.startProcess = [this](const QString& program, const QStringList& args) {
            started.push_back(args);
            startedProgram = program;
            return startSucceeds;
        };
        prompts.queryShown = [this](CDlgEditfrm& query) {
            titles << query.windowTitle();
            backEnabled.push_back(query.button(kl::ANSWER_BACK)->isEnabled());
            Step step = script.empty() ? Step{kl::ANSWER_ADD, {}} : script.front();
            if (!script.empty())
                script.pop_front();
            if (step.before)
                step.before(query);
            query.button(step.answer)->click();
        };
    }

    CMergeSetDlg& Merge(bool interactive)
    {
        Trigger(*app, cmd::ID_MERGE);
        CMergeSetDlg& dialog = *app->mainFrame()->mergeDialog();
        dialog.check(1030)->setChecked(interactive);
        return dialog;
    }

    // The bytes the console program writes for the same pair with its default options.
    static std::string CliMerge()
    {
        QProcess cli;
        cli.start(QStringLiteral(KESTRILANE_CLI),
                  {QStringLiteral("merge"), QString::fromStdString(kltest::kBefore), QString::fromStdString(kltest::kAfter)});
        EXPECT_TRUE(cli.waitForFinished(30000));
        return cli.readAllStandardOutput().toStdString();
    }

    // The engine's merge of the shown result with the same answers, block texts unedited.
    std::string EngineMerge(std::deque<int> answers)
    {
        const auto ask = [&answers](const kl::BlockQuestion&, std::string&) {
            const int answer = answers.empty() ? kl::ANSWER_ADD : answers.front();
            if (!answers.empty())
                answers.pop_front();
            return answer;
        };
        return kl::RunMerge(*app->document()->result(), kl::MergeRules{}, ask).text;
    }

    std::unique_ptr<CKestrilaneApp> app;
    std::deque<Step> script;
    QString savePath;
    QStringList filters;
    QStringList captions;
    QStringList messages;
    QStringList titles;
    std::vector<bool> backEnabled;
    std::vector<QStringList> started;
    QString startedProgram;
    bool answerYes = true;
    bool startSucceeds = true;
};

TEST_F(MergeDialog, AskingEveryBlockAndAddingItWritesWhatTheConsoleProgramWrites)
{
    savePath = QString::fromStdString(dir.file("merged.txt"));
    Merge(true).runButton()->click();
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(titles.size(), 2);
    EXPECT_TRUE(titles.front().startsWith(QStringLiteral(u"DocA側に存在する相違ブロックNo.")));
    EXPECT_FALSE(backEnabled.front());
    EXPECT_EQ(ReadFileBytes(dir.file("merged.txt")), CliMerge());
    EXPECT_EQ(filters.front(), QStringLiteral(u"txtファイル (*.txt);;すべてのファイル (*.*)"));
    EXPECT_FALSE(captions.front().contains(QStringLiteral("UTF-8")));
}

TEST_F(MergeDialog, SkipBackAndStopAnswersReachTheMerge)
{
    savePath = QString::fromStdString(dir.file("merged.txt"));
    const std::deque<int> answers{kl::ANSWER_ADD, kl::ANSWER_SKIP, kl::ANSWER_ADD, kl::ANSWER_BACK,
                                  kl::ANSWER_BACK, kl::ANSWER_SKIP, kl::ANSWER_ADD, kl::ANSWER_STOP};
    for (int answer : answers)
        script.push_back({answer, {}});
    Merge(true).runButton()->click();
    // A stop still saves what was built so far.
    EXPECT_EQ(ReadFileBytes(dir.file("merged.txt")), EngineMerge(answers));
    EXPECT_EQ(titles.size(), static_cast<qsizetype>(answers.size()));
}

TEST_F(MergeDialog, AnEditedBlockIsMergedAsEdited)
{
    savePath = QString::fromStdString(dir.file("merged.txt"));
    script.push_back({kl::ANSWER_ADD, [](CDlgEditfrm& query) {
                          query.edit()->setPlainText(QStringLiteral(u"書き直した行\n二行目\n"));
                      }});
    script.push_back({kl::ANSWER_STOP, {}});
    Merge(true).runButton()->click();
    const std::string merged = ReadFileBytes(dir.file("merged.txt"));
    // The sample uses CR LF; the edited lines get it too.
    const std::string edited = kl::Utf8ToCp932("書き直した行\r\n二行目\r\n");
    EXPECT_NE(merged.find(edited), std::string::npos);
    EXPECT_EQ(merged.find("!DOC_A>>>"), std::string::npos);
}

TEST_F(MergeDialog, LoadingAndComparingAreRefusedWhileABlockIsAsked)
{
    savePath = QString::fromStdString(dir.file("merged.txt"));
    const auto texts = app->document()->textDoc.texts;
    const auto result = app->document()->result();
    script.push_back({kl::ANSWER_STOP, [this](CDlgEditfrm&) {
                          for (int id : {cmd::ID_FILE_NEW, cmd::ID_FILE_OPEN, cmd::ID_FILE_RELOAD, cmd::ID_COMPARE})
                              app->mainFrame()->OnCommand(id);
                          EXPECT_FALSE(app->mainFrame()->commandAction(cmd::ID_FILE_NEW)->isEnabled());
                      }});
    chosenFiles << QString::fromStdString(kltest::kBefore);
    Merge(true).runButton()->click();
    EXPECT_EQ(messages.size(), 4);
    EXPECT_EQ(app->document()->textDoc.texts, texts);
    EXPECT_EQ(app->document()->result(), result);
    EXPECT_FALSE(app->mainFrame()->compareActive());
    EXPECT_TRUE(app->mainFrame()->commandAction(cmd::ID_FILE_NEW)->isEnabled());
}

TEST_F(MergeDialog, ClosingTheWindowDuringAQuestionEndsTheMergeWithoutSaving)
{
    savePath = QString::fromStdString(dir.file("merged.txt"));
    script.push_back({kl::ANSWER_ADD, [this](CDlgEditfrm&) { app->mainFrame()->close(); }});
    app->mainFrame()->show();
    Merge(true).runButton()->click();
    EXPECT_TRUE(WaitUntil([this] { return !app->mainFrame()->isVisible(); }, 5000));
    EXPECT_FALSE(std::filesystem::exists(dir.file("merged.txt")));
}

TEST_F(MergeDialog, ASaveIntoAFolderThatIsGoneIsReported)
{
    savePath = QString::fromStdString(dir.file("gone/merged.txt"));
    CMergeSetDlg& dialog = Merge(false);
    dialog.runButton()->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("merged.txt")));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(MergeDialog, ASaveIntoAReadOnlyFolderIsReportedAndLeavesTheTargetAlone)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const std::string folder = dir.file("locked");
    std::filesystem::create_directory(folder);
    const std::string target = dir.write("locked/merged.txt", "old\n");
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    savePath = QString::fromStdString(target);
    Merge(false).runButton()->click();
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(ReadFileBytes(target), "old\n");
}

TEST_F(MergeDialog, ASaveKeepsThePrefixesAndSwitchesForTheNextStart)
{
    savePath = QString::fromStdString(dir.file("merged.txt"));
    CMergeSetDlg& dialog = Merge(false);
    dialog.prefixEdit(0)->setText(QStringLiteral(u"【旧】"));
    dialog.check(1020)->setChecked(false);
    dialog.runButton()->click();
    const std::string ini = app->settingsPath();
    EXPECT_EQ(kl::ReadMergePrefixes(ini).docA, kl::Utf8ToCp932("【旧】"));
    EXPECT_EQ(kl::ReadMergeSettings(ini).insDocB, 0);
    EXPECT_EQ(kl::ReadMergeSettings(ini).interactive, 0);
    const std::string merged = ReadFileBytes(dir.file("merged.txt"));
    EXPECT_NE(merged.find(kl::Utf8ToCp932("【旧】")), std::string::npos);
    EXPECT_EQ(merged.find("!DOC_B>>>"), std::string::npos);
}

// The place is stored and restored by the same geometry, so it does not creep by the height
// of a frame from one session to the next.
TEST_F(MergeDialog, ThePlaceIsKeptFromSessionToSession)
{
    std::vector<QPoint> places;
    for (int session = 0; session < 3; ++session) {
        if (session > 0) {
            app.reset();
            Start({kltest::kBefore, kltest::kAfter});
        }
        CMergeSetDlg& dialog = Merge(false);
        QApplication::processEvents();
        places.push_back(dialog.frameGeometry().topLeft() - app->mainFrame()->frameGeometry().topLeft());
        dialog.runButton()->click();  // stores the settings; the save prompt is cancelled
    }
    EXPECT_EQ(places[1], places[0]);
    EXPECT_EQ(places[2], places[0]);
}

TEST_F(MergeDialog, AUtf8PairMergesToUtf8AndTheSaveDialogSaysSo)
{
    const std::string a = "\xE6\x97\xA5\xE6\x9C\xAC\n\xE5\x85\xB1\xE9\x80\x9A\n";  // 日本 / 共通
    const std::string b = "\xE5\x85\xB1\xE9\x80\x9A\n";
    Start({dir.write("a.txt", a), dir.write("b.txt", b)});
    savePath = QString::fromStdString(dir.file("merged.txt"));
    Merge(false).runButton()->click();
    EXPECT_EQ(ReadFileBytes(dir.file("merged.txt")), "!DOC_A>>>" + a);
    ASSERT_FALSE(captions.isEmpty());
    EXPECT_TRUE(captions.back().contains(QStringLiteral("UTF-8")));
}

class AfterMergeComparison : public MergeDialog {
protected:
    void SetUp() override {}

    void CompareWith(int document)
    {
        CMergeSetDlg& dialog = Merge(false);
        dialog.sheet()->compareRadio()->setChecked(true);
        dialog.sheet()->documentCombo()->setCurrentIndex(document);
        dialog.runButton()->click();
    }
};

TEST_F(AfterMergeComparison, ADocumentInTheTemporaryFolderIsNeverOverwritten)
{
    // DocA right in the system temporary folder, under a name a merge would take.
    const QString docA = QDir::temp().filePath(QStringLiteral("kl-%1 \"a\".txt").arg(QUuid::createUuid().toString(QUuid::Id128)));
    const std::string bytesA = ReadFileBytes(kltest::kBefore);
    {
        QFile file(docA);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytesA.data(), static_cast<qint64>(bytesA.size()));
    }
    Start({QFile::encodeName(docA).toStdString(), kltest::kAfter});

    CompareWith(0);
    CompareWith(0);
    ASSERT_EQ(started.size(), 2u) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(ReadFileBytes(QFile::encodeName(docA).toStdString()), bytesA);
    EXPECT_EQ(startedProgram, QCoreApplication::applicationFilePath());
    for (const QStringList& args : started) {
        ASSERT_EQ(args.size(), 4);
        EXPECT_EQ(args[0], QStringLiteral("/o"));
        EXPECT_EQ(args[1], QStringLiteral("--"));
        EXPECT_EQ(args[2], docA);  // the quote arrives unchanged
        EXPECT_NE(args[3], docA);
        EXPECT_EQ(QFileInfo(args[3]).fileName(), QFileInfo(docA).fileName());
        EXPECT_EQ(ReadFileBytes(QFile::encodeName(args[3]).toStdString()), EngineMerge({}));
    }
    EXPECT_NE(started[0][3], started[1][3]);

    // The second window reads the words as two files, whatever they begin with.
    const kl::CommandLine parsed = kl::ParseCommandLine({"kestrilane", "/o", "--", "/odd name.txt", "/o"});
    ASSERT_EQ(parsed.files.size(), 2u);
    EXPECT_EQ(parsed.files[0].path, "/odd name.txt");
    EXPECT_EQ(parsed.files[1].path, "/o");

    // At the end the user is offered to delete the temporary files, and only those go.
    app->mainFrame()->close();
    EXPECT_FALSE(QFileInfo::exists(started[0][3]));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(started[1][3]).path()));
    EXPECT_TRUE(messages.back().contains(QStringLiteral(u"以上のファイルを削除しました")));
    EXPECT_EQ(ReadFileBytes(QFile::encodeName(docA).toStdString()), bytesA);
    QFile::remove(docA);
}

TEST_F(AfterMergeComparison, AProgramThatCannotStartIsNamed)
{
    Start({kltest::kBefore, kltest::kAfter});
    startSucceeds = false;
    CompareWith(1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QDir::toNativeSeparators(QCoreApplication::applicationFilePath())));
    answerYes = false;  // declining the clean-up leaves the file
    app->mainFrame()->close();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_TRUE(QFileInfo::exists(started[0][3]));
    QDir(QFileInfo(started[0][3]).path()).removeRecursively();
}

TEST_F(AfterMergeComparison, WithoutAComparisonTheUserIsTold)
{
    Start({kltest::kBefore});
    savePath = QString::fromStdString(dir.file("merged.txt"));
    Merge(false).runButton()->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral(u"比較結果がありません")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("merged.txt")));
}

// Alt tapped alone and then a letter answers as Alt and the letter together do, wherever
// the focus is; a letter alone is text, and any other key in between cancels the choice.
TEST(MergeQuery, AltTappedThenALetterAnswers)
{
    enum Key { AltTap, LetterA, LetterB, LetterS, LetterX };
    const struct {
        std::vector<Key> keys;
        bool onButton;  // the focus on スキップ instead of the edit
        int answer;     // -1: still asking
    } cases[] = {
        {{AltTap, LetterS}, false, kl::ANSWER_SKIP},
        {{AltTap, LetterA}, true, kl::ANSWER_ADD},
        {{AltTap, LetterB}, false, -1},  // back is not allowed for the first block
        {{LetterS}, false, -1},
        {{AltTap, LetterX, LetterS}, false, -1},
    };
    for (const auto& c : cases) {
        CDlgEditfrm::Setup setup;
        setup.title = QStringLiteral("q");
        setup.text = QStringLiteral("line\n");
        CDlgEditfrm query(setup, nullptr);
        int answer = -1;
        for (int code : {kl::ANSWER_ADD, kl::ANSWER_SKIP, kl::ANSWER_BACK, kl::ANSWER_STOP})
            QObject::connect(query.button(code), &QPushButton::clicked, [&answer, code] { answer = code; });
        QWidget* target = c.onButton ? static_cast<QWidget*>(query.button(kl::ANSWER_SKIP)) : query.edit();
        const auto send = [target](QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
            QKeyEvent event(type, key, modifiers, text);
            QApplication::sendEvent(target, &event);
        };
        for (Key key : c.keys) {
            if (key == AltTap) {
                send(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier, {});
                send(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier, {});
                continue;
            }
            const char letter = "absx"[key - LetterA];
            send(QEvent::KeyPress, Qt::Key_A + (letter - 'a'), Qt::NoModifier, QString(QChar(letter)));
        }
        EXPECT_EQ(answer, c.answer) << c.keys.size();
    }
}

TEST(MergeFileTypes, TheLabelKeepsTheLongExtensionThePatternFiveLetters)
{
    EXPECT_EQ(MergeFileTypesFor(QStringLiteral("notes.markdown")).filter,
              QStringLiteral(u"markdownファイル (*.markd);;すべてのファイル (*.*)"));
    EXPECT_EQ(MergeFileTypesFor(QStringLiteral("notes.markdown")).defaultSuffix, QStringLiteral("markd"));
    EXPECT_EQ(MergeFileTypesFor(QStringLiteral("Makefile")).defaultSuffix, QStringLiteral("Makef"));
}

}  // namespace
