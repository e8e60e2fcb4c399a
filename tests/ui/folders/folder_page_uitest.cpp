// The folder result in the main window: two folders from the command line, opening a pair
// and going back to the same row, copying to the other side, and stopping a run.
#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QTreeView>
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/folders/folder_tree.h"
#include "engine/platform/utf8_path.h"
#include "tests/ui/app/app_fixture.h"
#include "ui/app/command_ids.h"
#include "ui/folders/folder_model.h"
#include "ui/folders/folder_page.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;

class FolderPageUi : public kltest::AppTest {
protected:
    void SetUp() override
    {
        for (const char* side : {"a", "b"})
            fs::create_directories(kl::PathFromUtf8(dir.file(std::string(side) + "/docs")));
        dir.write("a/docs/same.txt", "same\n");
        dir.write("b/docs/same.txt", "same\n");
        dir.write("a/docs/changed.txt", "one\ntwo\n");
        dir.write("b/docs/changed.txt", "one\nthree\n");
        dir.write("a/new.txt", "only in A\n");
    }

    // The window started with both folders, their comparison ended.
    std::unique_ptr<CKestrilaneApp> Started()
    {
        auto app = MakeApp("[FLAG]\nFOPENDO=0\n");
        EXPECT_TRUE(app->InitInstance(Words({dir.file("a"), dir.file("b")})));
        FolderPage* page = app->mainFrame()->folderPage();
        EXPECT_NE(page, nullptr);
        EXPECT_TRUE(kltest::WaitUntil([page] { return !page->running() && page->tree(); }));
        page->showError = [this](const QString& message) { errors << message; };
        return app;
    }

    static int EntryNamed(const FolderPage& page, const std::string& path) { return kl::FindEntry(*page.tree(), path); }

    static kl::EntryState StateOf(const FolderPage& page, const std::string& path)
    {
        return page.tree()->entries[static_cast<std::size_t>(EntryNamed(page, path))].state;
    }
};

TEST_F(FolderPageUi, OpensAPairAndGoesBackToTheSameRow)
{
    auto app = Started();
    CMainFrame& frame = *app->mainFrame();
    FolderPage& page = *frame.folderPage();
    EXPECT_TRUE(frame.folderPageShown());
    EXPECT_EQ(StateOf(page, "docs/changed.txt"), kl::EntryState::Different);
    EXPECT_EQ(StateOf(page, "new.txt"), kl::EntryState::OnlyA);
    EXPECT_EQ(StateOf(page, "docs"), kl::EntryState::Different);
    EXPECT_FALSE(frame.commandAction(cmd::ID_FOLDER_BACK)->isEnabled());

    const int changed = EntryNamed(page, "docs/changed.txt");
    page.SelectEntry(changed);
    page.OpenSelected();
    EXPECT_FALSE(frame.folderPageShown());
    ASSERT_EQ(app->document()->textDoc.filePaths.size(), 2u);
    EXPECT_EQ(app->document()->textDoc.filePaths[1], dir.file("b/docs/changed.txt"));
    // The comparison runs although files opened later are not compared by themselves here.
    EXPECT_TRUE(WaitForRunEnd(*app));
    EXPECT_TRUE(app->document()->result() && app->document()->result()->IsComparison());
    // DocA edited to agree with DocB and saved: the tree shows the pair the same.
    ASSERT_TRUE(app->document()->EditText(kl::DOC_A, {{{kl::DOC_A, 4, 7, "three"}}, {}, nullptr}));
    ASSERT_TRUE(app->document()->SaveSide(kl::DOC_A));

    Trigger(*app, cmd::ID_FOLDER_BACK);
    EXPECT_TRUE(frame.folderPageShown());
    EXPECT_EQ(page.currentEntry(), changed);
    EXPECT_EQ(StateOf(page, "docs/changed.txt"), kl::EntryState::Same);
    EXPECT_EQ(StateOf(page, "docs"), kl::EntryState::Same);

    // A refresh that finds a new entry before it still comes back to the same file.
    dir.write("a/docs/added.txt", "new\n");
    page.Refresh();
    ASSERT_TRUE(kltest::WaitUntil([&page] { return !page.running(); }));
    EXPECT_EQ(kl::RelativePath(*page.tree(), page.currentEntry()), "docs/changed.txt");
}

TEST_F(FolderPageUi, CopyAsksBeforeReplacingAndKeepsTheTime)
{
    auto app = Started();
    FolderPage& page = *app->mainFrame()->folderPage();
    kltest::SetModifiedTime(dir.file("a/new.txt"), 1700000000);
    page.SelectEntry(EntryNamed(page, "new.txt"));
    page.CopySelected(true);
    EXPECT_EQ(kltest::ReadFileBytes(dir.file("b/new.txt")), "only in A\n");
    EXPECT_EQ(fs::last_write_time(kl::PathFromUtf8(dir.file("b/new.txt"))),
              fs::last_write_time(kl::PathFromUtf8(dir.file("a/new.txt"))));
    EXPECT_EQ(StateOf(page, "new.txt"), kl::EntryState::Same);

    int asked = 0;
    page.confirmOverwrite = [&asked](const QString&) { return ++asked, false; };
    page.SelectEntry(EntryNamed(page, "docs/changed.txt"));
    page.CopySelected(false);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(kltest::ReadFileBytes(dir.file("a/docs/changed.txt")), "one\ntwo\n");

#if !defined(_WIN32)
    // A read-only target is never replaced, even when the user agrees.
    page.confirmOverwrite = [](const QString&) { return true; };
    ::chmod(dir.file("a/docs/changed.txt").c_str(), 0444);
    page.CopySelected(false);
    EXPECT_EQ(kltest::ReadFileBytes(dir.file("a/docs/changed.txt")), "one\ntwo\n");
    ASSERT_EQ(errors.size(), 1);
    ::chmod(dir.file("a/docs/changed.txt").c_str(), 0644);
#endif
    page.CopySelected(false);
    EXPECT_EQ(kltest::ReadFileBytes(dir.file("a/docs/changed.txt")), "one\nthree\n");
    EXPECT_EQ(StateOf(page, "docs"), kl::EntryState::Same);
}

TEST_F(FolderPageUi, DisplayChoicesHideRowsButKeepTheTotals)
{
    auto app = Started();
    FolderPage& page = *app->mainFrame()->folderPage();
    FolderModel& model = *page.model();
    EXPECT_EQ(model.rowCount(), 2);  // docs, new.txt
    FolderDisplay display;
    display.onlyDifferences = true;
    model.SetDisplay(display);
    const QModelIndex docs = model.IndexOf(EntryNamed(page, "docs"));
    ASSERT_TRUE(docs.isValid());
    EXPECT_EQ(model.rowCount(docs), 1);  // same.txt is left out
    EXPECT_FALSE(model.IndexOf(EntryNamed(page, "docs/same.txt")).isValid());
    EXPECT_EQ(model.data(model.index(docs.row(), FolderModel::State)).toString(), QStringLiteral(u"相違 (相違 1)"));
}

TEST_F(FolderPageUi, TwoDroppedFoldersAreComparedAsFolders)
{
    auto app = MakeApp();
    app->InitInstance(Words({}));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("a"))),
                  QUrl::fromLocalFile(QString::fromStdString(dir.file("b")))});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(app->mainFrame(), &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(app->mainFrame(), &drop);
    CMainFrame* frame = app->mainFrame();
    ASSERT_TRUE(kltest::WaitUntil([frame] {
        return frame->folderPage() && !frame->folderPage()->running() && frame->folderPage()->tree();
    }));
    EXPECT_EQ(StateOf(*frame->folderPage(), "new.txt"), kl::EntryState::OnlyA);
    EXPECT_TRUE(app->document()->textDoc.filePaths.empty());
}

TEST_F(FolderPageUi, StopEndsTheRunWithWhatWasCompared)
{
    for (int k = 0; k < 300; ++k) {
        dir.write("a/f" + std::to_string(k), "1");
        dir.write("b/f" + std::to_string(k), "1");
    }
    auto app = MakeApp();
    app->InitInstance(Words({}));
    CMainFrame& frame = *app->mainFrame();
    kltest::RunGate gate([](int) { return true; });
    frame.CompareFolders(dir.file("a"), dir.file("b"));
    // The first run is replaced by one held at its first step.
    frame.folderPage()->workerHook = gate.Hook();
    frame.folderPage()->Refresh();
    ASSERT_TRUE(gate.WaitUntilHeld());
    EXPECT_TRUE(frame.commandAction(cmd::ID_COMPARE_STOP)->isEnabled());
    Trigger(*app, cmd::ID_COMPARE_STOP);
    EXPECT_TRUE(gate.StopSeen());
    FolderPage* page = frame.folderPage();
    ASSERT_TRUE(kltest::WaitUntil([page] { return !page->running(); }));
    ASSERT_NE(page->tree(), nullptr);
    EXPECT_TRUE(page->tree()->stopped);
    EXPECT_FALSE(frame.commandAction(cmd::ID_COMPARE_STOP)->isEnabled());
}

}  // namespace
