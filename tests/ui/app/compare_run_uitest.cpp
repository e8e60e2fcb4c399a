// Comparison runs from the main window: enable rules, the stop command, the automatic
// comparison after DocB, and commands that replace the texts while a worker runs. These
// are also the tests run under ThreadSanitizer.
#include <QAbstractButton>
#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QTreeWidgetItem>
#include <QUrl>
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <map>
#include <new>
#include <cstdio>
#include <thread>

#include "ui/app/command_ids.h"
#include "app_fixture.h"
#include "engine/display/display_options.h"
#include "ui/display/frame_dlg.h"
#include "ui/display/text_view.h"
#include "engine/document/document_ops.h"
#include "engine/platform/cp932.h"
#include "ui/tree/left_view.h"

namespace {

using kltest::kAfter;
using kltest::kBefore;
using kltest::RunGate;

// Both files only load: the tests start their runs themselves.

class CompareRunUi : public kltest::AppTest {
protected:
    // The sample pair loaded from the command line, no run started.
    std::unique_ptr<CKestrilaneApp> LoadedApp(const std::string& ini = kltest::kNoAutoCompare)
    {
        auto app = MakeApp(ini);
        EXPECT_TRUE(app->InitInstance(Words({kBefore, kAfter})));
        return app;
    }

    static bool Enabled(const CKestrilaneApp& app, int id) { return app.mainFrame()->commandAction(id)->isEnabled(); }

    static std::string StatisticsText(const CKestrilaneApp& app, int doc)
    {
        QTreeWidgetItem* item = app.mainFrame()->treeView()->fileItem(doc);
        if (!item || item->childCount() == 0)
            return {};
        return kl::Utf16ToCp932(item->child(item->childCount() - 1)->text(0).toStdU16String());
    }
};

TEST_F(CompareRunUi, CommandsAreDisabledFromStartUntilTheWorkerHasEnded)
{
    const std::map<int, kl::CompareMode> modes = {{cmd::ID_COMPARE, kl::COMPARE_NORMAL},
                                                  {cmd::ID_COMPARE_DETAILED, kl::COMPARE_DETAILED},
                                                  {cmd::ID_COMPARE_MINIMAL, kl::COMPARE_MINIMAL}};
    for (const auto& [id, mode] : modes) {
        SCOPED_TRACE(id);
        auto app = LoadedApp();
        EXPECT_TRUE(Enabled(*app, cmd::ID_COMPARE));
        EXPECT_TRUE(Enabled(*app, cmd::ID_COMPARE_DETAILED));
        EXPECT_FALSE(Enabled(*app, cmd::ID_COMPARE_STOP));

        RunGate gate([](int) { return true; });
        app->mainFrame()->compareProgressHook = gate.Hook();
        Trigger(*app, id);
        ASSERT_TRUE(app->mainFrame()->compareActive());
        ASSERT_TRUE(gate.WaitUntilHeld());
        EXPECT_FALSE(Enabled(*app, cmd::ID_COMPARE));
        EXPECT_FALSE(Enabled(*app, cmd::ID_COMPARE_DETAILED));
        EXPECT_FALSE(Enabled(*app, cmd::ID_COMPARE_MINIMAL));
        EXPECT_TRUE(Enabled(*app, cmd::ID_COMPARE_STOP));
        EXPECT_TRUE(app->mainFrame()->progressBar()->isVisibleTo(app->mainFrame()));
        // A compare command that arrives anyway starts nothing.
        app->mainFrame()->OnCommand(cmd::ID_COMPARE);
        EXPECT_TRUE(app->mainFrame()->compareActive());

        gate.Release();
        ASSERT_TRUE(WaitForRunEnd(*app));
        EXPECT_EQ(app->mainFrame()->compareMode, mode);
        EXPECT_TRUE(Enabled(*app, cmd::ID_COMPARE));
        EXPECT_TRUE(Enabled(*app, cmd::ID_COMPARE_DETAILED));
        EXPECT_FALSE(Enabled(*app, cmd::ID_COMPARE_STOP));
        EXPECT_FALSE(app->mainFrame()->progressBar()->isVisibleTo(app->mainFrame()));
        const kl::TextDocument& text = app->document()->textDoc;
        EXPECT_FALSE(text.result->Rows(kl::DOC_A).empty());
        EXPECT_EQ(text.result->Rows(kl::DOC_A).size(), text.result->Rows(kl::DOC_B).size());
        EXPECT_FALSE(text.result->Blocks(kl::DOC_A).empty());
        // The match fields came with the result.
        EXPECT_GT(text.result->sides[kl::DOC_A].blockSize[0], 0);
        const std::vector<int> values = gate.Values();
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
        EXPECT_EQ(values.back(), 100);
    }
}

TEST_F(CompareRunUi, StopDuringTheFirstPassEndsTheRunBeforeTheSecond)
{
    auto app = LoadedApp();
    RunGate gate([](int value) { return value < 40; });
    app->mainFrame()->compareProgressHook = gate.Hook();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(gate.WaitUntilHeld());

    Trigger(*app, cmd::ID_COMPARE_STOP);
    EXPECT_TRUE(gate.StopSeen());
    ASSERT_TRUE(WaitForRunEnd(*app));

    const std::vector<int> values = gate.Values();
    EXPECT_LT(*std::max_element(values.begin(), values.end()), 40);
    // No result and no totals: the run ended inside the first pass.
    const kl::TextDocument& text = app->document()->textDoc;
    EXPECT_TRUE(text.result->Rows(kl::DOC_A).empty());
    EXPECT_TRUE(text.result->Blocks(kl::DOC_A).empty());
    EXPECT_EQ(app->mainFrame()->treeView()->statisticsCount(0), 0);
    EXPECT_TRUE(Enabled(*app, cmd::ID_COMPARE));
    EXPECT_FALSE(Enabled(*app, cmd::ID_COMPARE_STOP));
}

TEST_F(CompareRunUi, StopDuringRowBuildingShowsTheRowsWithoutBlocks)
{
    auto app = LoadedApp();
    RunGate gate([](int value) { return value > 84 && value < 100; });
    app->mainFrame()->compareProgressHook = gate.Hook();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(gate.WaitUntilHeld());
    Trigger(*app, cmd::ID_COMPARE_STOP);
    ASSERT_TRUE(WaitForRunEnd(*app));

    const kl::TextDocument& text = app->document()->textDoc;
    EXPECT_FALSE(text.result->Rows(kl::DOC_A).empty());
    EXPECT_EQ(text.result->Rows(kl::DOC_A).size(), text.result->Rows(kl::DOC_B).size());
    EXPECT_TRUE(text.result->Blocks(kl::DOC_A).empty());
    EXPECT_TRUE(text.result->Blocks(kl::DOC_B).empty());
    // The totals came before the row building.
    EXPECT_EQ(app->mainFrame()->treeView()->statisticsCount(0), 1);
}

// A run that runs out of memory tells the user and leaves the result that was shown.
TEST_F(CompareRunUi, ARunWithoutMemoryIsReportedAndKeepsTheShownResult)
{
    auto app = LoadedApp();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(WaitForRunEnd(*app));
    const auto shown = app->document()->result();
    ASSERT_FALSE(shown->Rows(kl::DOC_A).empty());

    QStringList failures;
    app->mainFrame()->showError = [&failures](const QString& message) { failures << message; };
    app->mainFrame()->compareProgressHook = [](int value, const std::stop_token&) {
        if (value >= 10)
            throw std::bad_alloc();
    };
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(WaitForRunEnd(*app));
    EXPECT_EQ(failures, QStringList{QStringLiteral(u"メモリが足りないため、比較できませんでした。")});
    EXPECT_EQ(app->document()->result(), shown);
    EXPECT_TRUE(Enabled(*app, cmd::ID_COMPARE));
}

TEST_F(CompareRunUi, TreeShowsTheTotalsOfEachRun)
{
    auto app = LoadedApp();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(WaitForRunEnd(*app));

    const kl::TextDocument& text = app->document()->textDoc;
    const CLeftView* tree = app->mainFrame()->treeView();
    ASSERT_EQ(tree->fileItemCount(), 2);
    EXPECT_EQ(tree->fileItem(0)->text(0), QString::fromStdString(kBefore));
    EXPECT_EQ(tree->fileItem(1)->text(0), QString::fromStdString(kAfter));
    // 総行数 = lines (LF:n CRLF:n) and the file information.
    EXPECT_EQ(StatisticsText(*app, 0), "\x91\x8d\x8d" "s\x90\x94 = 35 (LF:3 CRLF:32) " + text.fileInfos[0]);
    EXPECT_EQ(StatisticsText(*app, 1), "\x91\x8d\x8d" "s\x90\x94 = 37 (LF:2 CRLF:35) " + text.fileInfos[1]);

    // A second run adds its own line under each file.
    Trigger(*app, cmd::ID_COMPARE_DETAILED);
    ASSERT_TRUE(WaitForRunEnd(*app));
    EXPECT_EQ(tree->statisticsCount(0), 2);
    EXPECT_EQ(tree->statisticsCount(1), 2);
}

TEST_F(CompareRunUi, SwapSidesComparesAgainWithDocBOnTheLeft)
{
    auto app = LoadedApp();
    const QStringList recentBefore = app->recentFiles().files();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(WaitForRunEnd(*app));
    const kl::TextDocument& text = app->document()->textDoc;
    const auto textB = text.texts[kl::DOC_B];
    ASSERT_EQ(text.result->texts[kl::DOC_B], textB);

    Trigger(*app, cmd::ID_SWAP_SIDES);
    ASSERT_TRUE(WaitForRunEnd(*app));
    EXPECT_EQ(text.texts[kl::DOC_A], textB);
    EXPECT_EQ(text.filePaths, (std::vector<std::string>{kAfter, kBefore}));
    // The result shown is a new comparison with the texts in their new places.
    EXPECT_EQ(text.result->texts[kl::DOC_A], textB);
    EXPECT_FALSE(text.result->sides[kl::DOC_A].rows.empty());
    const CLeftView* tree = app->mainFrame()->treeView();
    ASSERT_EQ(tree->fileItemCount(), 2);
    EXPECT_EQ(tree->fileItem(0)->text(0), QString::fromStdString(kAfter));
    EXPECT_EQ(app->recentFiles().files(), recentBefore);
}

TEST_F(CompareRunUi, NewDuringARunDropsTheRunAndItsReports)
{
    auto app = LoadedApp();
    RunGate gate([](int value) { return value < 40; });
    app->mainFrame()->compareProgressHook = gate.Hook();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(gate.WaitUntilHeld());

    Trigger(*app, cmd::ID_FILE_NEW);
    EXPECT_FALSE(app->mainFrame()->compareActive());
    // The dropped run was told to stop; it holds its own share of the texts meanwhile.
    EXPECT_TRUE(gate.StopSeen());
    EXPECT_EQ(kl::LoadedTextCount(app->document()->textDoc), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(app->mainFrame()->treeView()->fileItemCount(), 0);
    EXPECT_FALSE(app->mainFrame()->progressBar()->isVisibleTo(app->mainFrame()));
    EXPECT_TRUE(Enabled(*app, cmd::ID_COMPARE));
}

// The worker has finished its rows and waits in its completion call for the window,
// which is busy with File > New: the new document must not receive the old result.
TEST_F(CompareRunUi, NewWhileTheWorkerWaitsForItsCompletionCall)
{
    auto app = LoadedApp();
    RunGate gate([](int value) { return value == 100; });
    app->mainFrame()->compareProgressHook = gate.Hook();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(gate.WaitUntilHeld());
    gate.Release();
    // No events are processed here, so the worker blocks in its completion call.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    Trigger(*app, cmd::ID_FILE_NEW);
    EXPECT_FALSE(app->mainFrame()->compareActive());
    QCoreApplication::processEvents();
    const kl::TextDocument& text = app->document()->textDoc;
    EXPECT_EQ(kl::LoadedTextCount(text), 0);
    EXPECT_TRUE(text.result->Rows(kl::DOC_A).empty());
    EXPECT_TRUE(text.result->Blocks(kl::DOC_A).empty());
    EXPECT_EQ(app->mainFrame()->treeView()->fileItemCount(), 0);
}

// Dropped files are opened from a queued call; the worker's completion call queues behind
// it, so the run is stopped while the window is already delivering queued calls.
TEST_F(CompareRunUi, FilesDroppedWhileTheWorkerCompletesReplaceTheTexts)
{
    const std::string a2 = dir.write("a2.txt", "one\r\n");
    const std::string b2 = dir.write("b2.txt", "two\r\n");
    auto app = LoadedApp();
    RunGate gate([](int value) { return value == 100; });
    app->mainFrame()->compareProgressHook = gate.Hook();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(gate.WaitUntilHeld());

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(a2)), QUrl::fromLocalFile(QString::fromStdString(b2))});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(app->mainFrame(), &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(app->mainFrame(), &drop);
    ASSERT_TRUE(drop.isAccepted());
    gate.Release();
    ASSERT_TRUE(kltest::WaitUntil([&app] { return kl::LoadedTextCount(app->document()->textDoc) == 2 &&
                                                  app->document()->textDoc.fileNames[0] == "a2.txt"; }));
    ASSERT_TRUE(WaitForRunEnd(*app));

    EXPECT_EQ(clearQuestions, 1);
    const kl::TextDocument& text = app->document()->textDoc;
    EXPECT_EQ(text.fileNames, (std::vector<std::string>{"a2.txt", "b2.txt"}));
    // Only loaded (FOPENDO 0): the old run's rows did not reach the new texts.
    EXPECT_TRUE(text.result->Rows(kl::DOC_A).empty());
    EXPECT_TRUE(text.result->Blocks(kl::DOC_A).empty());
    EXPECT_EQ(app->mainFrame()->treeView()->statisticsCount(0), 0);
    EXPECT_EQ(app->mainFrame()->treeView()->FileEntryPaths(), (std::vector<std::string>{a2, b2}));
}

TEST_F(CompareRunUi, OpenDuringARunReplacesTheTextsAndComparesThem)
{
    const std::string a2 = dir.write("a2.txt", "one\r\ntwo\r\n");
    const std::string b2 = dir.write("b2.txt", "one\ntwo\nthree\n");
    auto app = LoadedApp("[FLAG]\nFPARAMDO=0\nFOPENDO=1\n");
    RunGate gate([](int value) { return value < 40; });
    app->mainFrame()->compareProgressHook = gate.Hook();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(gate.WaitUntilHeld());

    answerClear = true;
    chosenFiles = {QString::fromStdString(a2), QString::fromStdString(b2)};
    Trigger(*app, cmd::ID_FILE_OPEN);
    EXPECT_EQ(clearQuestions, 1);
    // The second file started a new run (the gate held only the first).
    ASSERT_TRUE(WaitForRunEnd(*app));

    const kl::TextDocument& text = app->document()->textDoc;
    ASSERT_EQ(kl::LoadedTextCount(text), 2);
    EXPECT_EQ(text.fileNames, (std::vector<std::string>{"a2.txt", "b2.txt"}));
    EXPECT_EQ(text.result->Rows(kl::DOC_A).size(), 5u);  // the line ends differ: no line is common
    const CLeftView* tree = app->mainFrame()->treeView();
    ASSERT_EQ(tree->fileItemCount(), 2);
    EXPECT_EQ(tree->statisticsCount(0), 1);
    EXPECT_EQ(StatisticsText(*app, 0), "\x91\x8d\x8d" "s\x90\x94 = 2 (LF:0 CRLF:2) " + text.fileInfos[0]);
    EXPECT_EQ(StatisticsText(*app, 1), "\x91\x8d\x8d" "s\x90\x94 = 3 (LF:3 CRLF:0) " + text.fileInfos[1]);
}

TEST_F(CompareRunUi, ClosingTheWindowDuringARunStopsIt)
{
    auto app = LoadedApp();
    RunGate gate([](int value) { return value < 40; });
    app->mainFrame()->compareProgressHook = gate.Hook();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(gate.WaitUntilHeld());
    app->mainFrame()->close();
    EXPECT_FALSE(app->mainFrame()->compareActive());
    app.reset();
}

TEST_F(CompareRunUi, DestroyingTheWindowDuringARunStopsIt)
{
    auto app = LoadedApp();
    RunGate gate([](int value) { return value == 100; });
    app->mainFrame()->compareProgressHook = gate.Hook();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(gate.WaitUntilHeld());
    gate.Release();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    app.reset();
}

// Files from the command line: the run starts at once, the result is shown once the
// window's events run.
TEST_F(CompareRunUi, TwoFileArgumentsStartARunAndPostTheResultDisplay)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kBefore, kAfter})));
    EXPECT_TRUE(app->mainFrame()->compareActive());
    EXPECT_EQ(app->mainFrame()->leftView()->displayMode(), DISPLAY_SOURCE);

    ASSERT_TRUE(WaitForRunEnd(*app));
    EXPECT_EQ(app->mainFrame()->leftView()->displayMode(), DISPLAY_RESULT);
    EXPECT_EQ(app->mainFrame()->rightView()->displayMode(), DISPLAY_RESULT);
    EXPECT_TRUE(app->mainFrame()->dialogBar()->button(CFrameDlg::IDC_RESULT)->isChecked());
    EXPECT_FALSE(app->document()->textDoc.result->Rows(kl::DOC_A).empty());
    EXPECT_EQ(app->mainFrame()->treeView()->statisticsCount(1), 1);
}

// Files opened later: the result is shown before the open returns.
TEST_F(CompareRunUi, MenuOpenStartsARunAndShowsTheResultAtOnce)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({})));
    chosenFiles = {QString::fromStdString(kBefore), QString::fromStdString(kAfter)};
    Trigger(*app, cmd::ID_FILE_OPEN);
    EXPECT_TRUE(app->mainFrame()->compareActive());
    EXPECT_EQ(app->mainFrame()->leftView()->displayMode(), DISPLAY_RESULT);
    EXPECT_TRUE(app->mainFrame()->dialogBar()->button(CFrameDlg::IDC_RESULT)->isChecked());
    ASSERT_TRUE(WaitForRunEnd(*app));
    EXPECT_FALSE(app->document()->textDoc.result->Rows(kl::DOC_A).empty());
}

TEST_F(CompareRunUi, SingleFileArgumentThenMenuOpenOnlyLoadsUntilNew)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kBefore})));
    chosenFiles = {QString::fromStdString(kAfter)};
    Trigger(*app, cmd::ID_FILE_OPEN);
    ASSERT_EQ(kl::LoadedTextCount(app->document()->textDoc), 2);
    EXPECT_FALSE(app->mainFrame()->compareActive());
    EXPECT_EQ(app->mainFrame()->leftView()->displayMode(), DISPLAY_SOURCE);

    Trigger(*app, cmd::ID_FILE_NEW);
    chosenFiles = {QString::fromStdString(kBefore), QString::fromStdString(kAfter)};
    Trigger(*app, cmd::ID_FILE_OPEN);
    EXPECT_TRUE(app->mainFrame()->compareActive());
    ASSERT_TRUE(WaitForRunEnd(*app));
    EXPECT_FALSE(app->document()->textDoc.result->Rows(kl::DOC_A).empty());
}

TEST_F(CompareRunUi, ReloadReadsTheFilesAgainAndKeepsTheTreeEntries)
{
    const std::string a = dir.write("a.txt", "x\r\ny\r\n");
    const std::string b = dir.write("b.txt", "x\r\n");
    auto app = MakeApp("[FLAG]\nFOPENDO=1\n");
    ASSERT_TRUE(app->InitInstance(Words({})));
    chosenFiles = {QString::fromStdString(a), QString::fromStdString(b)};
    Trigger(*app, cmd::ID_FILE_OPEN);
    ASSERT_TRUE(WaitForRunEnd(*app));

    dir.write("b.txt", "x\r\ny\r\nz\r\n");
    Trigger(*app, cmd::ID_FILE_RELOAD);
    ASSERT_TRUE(WaitForRunEnd(*app));

    const kl::TextDocument& text = app->document()->textDoc;
    EXPECT_EQ(kl::LineCount(text, kl::DOC_B), 3);
    EXPECT_TRUE(text.recording);
    EXPECT_EQ(text.pendingTreePaths, (std::array<int, 3>{0, 0, 0}));
    const CLeftView* tree = app->mainFrame()->treeView();
    EXPECT_EQ(tree->FileEntryPaths(), (std::vector<std::string>{a, b}));
    // The automatic comparison ran again and added its totals.
    EXPECT_EQ(tree->statisticsCount(1), 2);
    EXPECT_EQ(StatisticsText(*app, 1), "\x91\x8d\x8d" "s\x90\x94 = 3 (LF:0 CRLF:3) " + text.fileInfos[1]);
}

TEST_F(CompareRunUi, ReloadOfAVanishedFileListsWhatIsLoaded)
{
    const std::string a = dir.write("a.txt", "x\r\n");
    const std::string b = dir.write("b.txt", "y\r\n");
    auto app = MakeApp(kltest::kNoAutoCompare);
    ASSERT_TRUE(app->InitInstance(Words({a, b})));
    std::remove(a.c_str());

    Trigger(*app, cmd::ID_FILE_RELOAD);
    EXPECT_EQ(errors.size(), 1);
    const kl::TextDocument& text = app->document()->textDoc;
    ASSERT_EQ(kl::LoadedTextCount(text), 1);
    EXPECT_EQ(text.fileNames[kl::DOC_A], "b.txt");
    EXPECT_EQ(app->mainFrame()->treeView()->FileEntryPaths(), std::vector<std::string>{b});
}

TEST_F(CompareRunUi, NextAndPreviousDifferenceWalkTheResult)
{
    auto app = LoadedApp();
    CMainFrame& frame = *app->mainFrame();
    // Nothing compared yet: neither step has anywhere to go.
    EXPECT_FALSE(Enabled(*app, cmd::ID_NEXT_DIFF));
    EXPECT_FALSE(Enabled(*app, cmd::ID_PREV_DIFF));

    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(WaitForRunEnd(*app));
    ASSERT_EQ(frame.viewState()->diffPosition(), -1);
    ASSERT_TRUE(Enabled(*app, cmd::ID_NEXT_DIFF));
    EXPECT_TRUE(Enabled(*app, cmd::ID_PREV_DIFF));  // at the first difference it goes round

    // Each Next lands past the previous position; at the last difference it stays and says so.
    std::vector<int> positions;
    while (positions.size() < 100) {
        const int before = frame.viewState()->diffPosition();
        Trigger(*app, cmd::ID_NEXT_DIFF);
        if (frame.viewState()->diffPosition() == before)
            break;
        positions.push_back(frame.viewState()->diffPosition());
    }
    EXPECT_TRUE(frame.statusBar()->currentMessage().startsWith(QStringLiteral(u"最後の相違です")));
    ASSERT_GE(positions.size(), 2u);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_LT(positions.size(), 100u);

    // Previous walks back until nothing lies before the position.
    ASSERT_TRUE(Enabled(*app, cmd::ID_PREV_DIFF));
    const int last = frame.viewState()->diffPosition();
    Trigger(*app, cmd::ID_PREV_DIFF);
    EXPECT_LT(frame.viewState()->diffPosition(), last);
}

}  // namespace
