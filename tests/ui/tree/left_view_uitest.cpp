// The file tree pane: the hint, the file items taken from the document's queue, the
// statistics children, the context menu and its copy, move and open commands.
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "../display/doc_fixture.h"
#include "ui/tree/left_view.h"

namespace {

namespace fs = std::filesystem;

const QString kHint = QStringLiteral(u"ここにファイルをドラッグしてください。");
const std::string kBefore = std::string(KESTRILANE_SOURCE_DIR) + "/samples/before.txt";
const std::string kAfter = std::string(KESTRILANE_SOURCE_DIR) + "/samples/after.txt";
// "総行数 = 3 (LF:1 CRLF:2)  [2024/05/14 10:00] 120 byte" in code page 932.
const std::string kTotals = "\x91\x8d\x8d\x73\x90\x94 = 3 (LF:1 CRLF:2)  [2024/05/14 10:00] 120 byte";
const QString kTotalsText = QStringLiteral(u"総行数 = 3 (LF:1 CRLF:2)  [2024/05/14 10:00] 120 byte");

class LeftViewTest : public kltest::DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        tree.prompts.chooseFolder = [this](QWidget*, const QString& title) {
            titles << title;
            return chosenFolder;
        };
        tree.prompts.showInformation = [this](QWidget*, const QString& message) { information << message; };
        tree.prompts.showFailure = [this](QWidget*, const QString& message) { failures << message; };
        tree.prompts.openFile = [this](const QString& path) { opened << path; };
    }

    void LoadSample(const std::string& path)
    {
        std::string error;
        ASSERT_TRUE(kl::LoadIntoDocument(doc().textDoc, path, false, error)) << error;
    }

    QStringList TopLevelTexts() const
    {
        QStringList texts;
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            texts << tree.topLevelItem(i)->text(0);
        return texts;
    }

    // A file in src/ shown as the pane's first file item and chosen for the menu.
    std::string ChooseNewFile(const std::string& name)
    {
        fs::create_directories(dir.file("src"));
        const std::string path = dir.write("src/" + name, "data");
        tree.AddFileItem(path);
        EXPECT_TRUE(tree.ChooseForMenu(tree.fileItem(tree.fileItemCount() - 1)));
        return path;
    }

    CLeftView tree;
    QString chosenFolder;
    QStringList titles, information, failures, opened;
};

TEST_F(LeftViewTest, StartsWithTheHintOnly)
{
    EXPECT_EQ(TopLevelTexts(), QStringList{kHint});
    EXPECT_EQ(tree.fileItemCount(), 0);
    EXPECT_TRUE(tree.FileEntryPaths().empty());
    EXPECT_FALSE(tree.rootIsDecorated());
}

TEST_F(LeftViewTest, TheDocumentsQueuedPathsBecomeFileItems)
{
    LoadSample(kBefore);
    LoadSample(kAfter);
    tree.OnUpdateFromDocument(doc());

    EXPECT_EQ(TopLevelTexts(), (QStringList{QString::fromStdString(kBefore), QString::fromStdString(kAfter)}));
    EXPECT_EQ(tree.FileEntryPaths(), (std::vector<std::string>{kBefore, kAfter}));
    EXPECT_EQ(doc().textDoc.pendingTreePaths, (std::array<int, 3>{0, 0, 0}));

    tree.OnUpdateFromDocument(doc());  // nothing queued: nothing added
    EXPECT_EQ(tree.topLevelItemCount(), 2);
}

TEST_F(LeftViewTest, OneUpdatePerLoadGivesTheSameItems)
{
    LoadSample(kBefore);
    tree.OnUpdateFromDocument(doc());
    EXPECT_EQ(TopLevelTexts(), QStringList{QString::fromStdString(kBefore)});
    LoadSample(kAfter);
    tree.OnUpdateFromDocument(doc());
    EXPECT_EQ(tree.FileEntryPaths(), (std::vector<std::string>{kBefore, kAfter}));
}

TEST_F(LeftViewTest, AReloadDoesNotQueueThePathsAgain)
{
    LoadSample(kBefore);
    LoadSample(kAfter);
    tree.OnUpdateFromDocument(doc());
    kl::ClearDocument(doc().textDoc);
    doc().textDoc.recording = false;
    LoadSample(kBefore);
    LoadSample(kAfter);
    tree.OnUpdateFromDocument(doc());
    EXPECT_EQ(tree.fileItemCount(), 2);
}

TEST_F(LeftViewTest, StatisticsGoUnderTheItemOfTheirFile)
{
    LoadSample(kBefore);
    tree.OnUpdateFromDocument(doc());
    tree.SetStatistics(1, kTotals);   // no DocB item yet
    tree.SetStatistics(-1, kTotals);
    tree.SetStatistics(7, kTotals);
    EXPECT_EQ(tree.fileItem(0)->childCount(), 0);
    EXPECT_FALSE(tree.rootIsDecorated());

    LoadSample(kAfter);
    tree.OnUpdateFromDocument(doc());
    tree.SetStatistics(0, kTotals);
    tree.SetStatistics(1, "second");
    tree.SetStatistics(1, "third");  // a later run adds to the earlier one
    ASSERT_EQ(tree.fileItem(0)->childCount(), 1);
    EXPECT_EQ(tree.fileItem(0)->child(0)->text(0), kTotalsText);
    EXPECT_EQ(tree.fileItem(1)->childCount(), 2);
    EXPECT_EQ(tree.fileItem(1)->child(1)->text(0), QStringLiteral("third"));
    EXPECT_EQ(tree.statisticsCount(0), 1);
    EXPECT_EQ(tree.statisticsCount(1), 2);
    EXPECT_TRUE(tree.rootIsDecorated());
    EXPECT_TRUE(tree.fileItem(0)->isExpanded());
    EXPECT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.FileEntryPaths().size(), 2u);
}

TEST_F(LeftViewTest, ClearingBringsBackTheHint)
{
    tree.AddFileItem(kBefore);
    tree.AddFileItem(kAfter);
    tree.SetStatistics(0, kTotals);
    tree.ClearFiles();
    EXPECT_EQ(TopLevelTexts(), QStringList{kHint});
    EXPECT_EQ(tree.fileItemCount(), 0);
    EXPECT_EQ(tree.statisticsCount(0), 0);
    EXPECT_FALSE(tree.rootIsDecorated());
    tree.AddFileItem(kAfter);
    EXPECT_EQ(TopLevelTexts(), QStringList{QString::fromStdString(kAfter)});
}

TEST_F(LeftViewTest, EntryPathsComeBackByteForByte)
{
    const std::vector<std::string> paths = {
        "/data/2024 [draft]/a.txt",    // a bracket after a blank is part of the path
        "/data/\xff\xfe-latin1.txt",  // not UTF-8: the bytes survive the display text
    };
    for (const std::string& path : paths)
        tree.AddFileItem(path);
    EXPECT_EQ(tree.FileEntryPaths(), paths);
    EXPECT_EQ(tree.fileItem(0)->text(0), QStringLiteral("/data/2024 [draft]/a.txt"));
}

TEST_F(LeftViewTest, OnlyFileItemsOfferTheMenu)
{
    EXPECT_FALSE(tree.ChooseForMenu(tree.topLevelItem(0)));  // the hint
    tree.AddFileItem(kBefore);
    tree.SetStatistics(0, kTotals);
    EXPECT_FALSE(tree.ChooseForMenu(tree.fileItem(0)->child(0)));
    EXPECT_TRUE(tree.chosenPath().empty());
    EXPECT_FALSE(tree.ChooseForMenu(nullptr));
    EXPECT_TRUE(tree.ChooseForMenu(tree.fileItem(0)));
    EXPECT_EQ(tree.chosenPath(), kBefore);

    const QList<QAction*> actions = tree.contextMenu()->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_TRUE(actions[3]->isSeparator());
    ASSERT_NE(actions[4]->menu(), nullptr);
    EXPECT_EQ(actions[4]->text(), QStringLiteral(u"文字コード"));
    EXPECT_EQ(actions[0]->text(), QStringLiteral(u"フォルダを選択してコピー(&C)"));
    EXPECT_EQ(actions[0]->data().toInt(), CLeftView::ID_COPY_TO_FOLDER);
    EXPECT_EQ(actions[1]->text(), QStringLiteral(u"フォルダを選択して移動(&M)"));
    EXPECT_EQ(actions[1]->data().toInt(), CLeftView::ID_MOVE_TO_FOLDER);
    EXPECT_EQ(actions[2]->text(), QStringLiteral(u"開く(&E)"));
    EXPECT_EQ(actions[2]->data().toInt(), CLeftView::ID_OPEN_FILE);
}

TEST_F(LeftViewTest, CopyToATakenNameReportsTheNewName)
{
    const std::string source = ChooseNewFile("x.txt");
    fs::create_directories(dir.file("dst"));
    dir.write("dst/x.txt", "old");
    dir.write("dst/x0.txt", "older");
    chosenFolder = QString::fromStdString(dir.file("dst"));

    tree.contextMenu()->actions()[0]->trigger();
    EXPECT_EQ(titles, QStringList{QStringLiteral(u"コピー先のフォルダを指定してください")});
    EXPECT_EQ(information, QStringList{QStringLiteral(
                               u"すでに同名のファイルが存在していたためファイル名をx1.txtに変更して処理しました")});
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_EQ(kltest::ReadFileBytes(dir.file("dst/x1.txt")), "data");
    EXPECT_TRUE(fs::exists(source));
}

TEST_F(LeftViewTest, MoveToAFreeNameSaysNothing)
{
    const std::string source = ChooseNewFile("y.txt");
    chosenFolder = QString::fromStdString(dir.path());
    tree.OnMoveToFolder();
    EXPECT_EQ(titles, QStringList{QStringLiteral(u"移動先のフォルダを指定してください")});
    EXPECT_TRUE(information.isEmpty());
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_FALSE(fs::exists(source));
    EXPECT_EQ(kltest::ReadFileBytes(dir.file("y.txt")), "data");
}

TEST_F(LeftViewTest, AMovedFileIsListedAndAnnouncedAtItsNewPlace)
{
    std::vector<std::pair<std::string, std::string>> moves;
    QObject::connect(&tree, &CLeftView::fileMoved,
                     [&moves](const std::string& from, const std::string& to) { moves.emplace_back(from, to); });
    const std::string source = ChooseNewFile("m.txt");
    tree.AddFileItem(source);  // the same file as DocB
    tree.AddFileItem(kAfter);
    fs::create_directories(dir.file("dst"));
    dir.write("dst/m.txt", "taken");
    chosenFolder = QString::fromStdString(dir.file("dst"));

    tree.OnCopyToFolder();  // a copy leaves the file where it is
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(tree.FileEntryPaths()[0], source);

    tree.OnMoveToFolder();
    const std::string target = dir.file("dst/m1.txt");  // m.txt and m0.txt (the copy) are taken
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], std::make_pair(source, target));
    EXPECT_EQ(tree.FileEntryPaths(), (std::vector<std::string>{target, target, kAfter}));
    EXPECT_EQ(tree.fileItem(0)->text(0), QString::fromStdString(target));
    EXPECT_EQ(tree.chosenPath(), target);
    EXPECT_EQ(kltest::ReadFileBytes(target), "data");
}

TEST_F(LeftViewTest, AfterAMoveTheDocumentReloadsFromTheNewPlace)
{
    fs::create_directories(dir.file("src"));
    const std::string source = dir.write("src/r.txt", "moved\n");
    LoadSample(source);
    LoadSample(kAfter);
    tree.OnUpdateFromDocument(doc());
    QObject::connect(&tree, &CLeftView::fileMoved, &doc(), &CKestrilaneDoc::RenameFilePath);
    QStringList titles;
    QObject::connect(&doc(), &CKestrilaneDoc::titleChanged, [&titles](const QString& title) { titles << title; });
    ASSERT_TRUE(tree.ChooseForMenu(tree.fileItem(0)));
    chosenFolder = QString::fromStdString(dir.path());

    tree.OnMoveToFolder();
    const std::string target = dir.file("r.txt");
    EXPECT_EQ(doc().textDoc.filePaths, (std::vector<std::string>{target, kAfter}));
    EXPECT_EQ(doc().textDoc.fileNames[0], "r.txt");
    EXPECT_EQ(titles, QStringList{QStringLiteral("r.txt-after.txt")});

    // What a reload does: the texts are read again from the tree's entries.
    kl::ClearDocument(doc().textDoc);
    doc().textDoc.recording = false;
    for (const std::string& path : tree.FileEntryPaths())
        LoadSample(path);
    EXPECT_EQ(kl::LoadedTextCount(doc().textDoc), 2);
    EXPECT_EQ(doc().textDoc.texts[0]->bytes(), "moved\n");
}

TEST_F(LeftViewTest, FailuresAreReported)
{
    const std::string source = ChooseNewFile("z.txt");
    tree.OnCopyToFolder();  // the folder browser was cancelled
    tree.OnMoveToFolder();
    chosenFolder = QString::fromStdString(dir.file("no such folder"));
    tree.OnMoveToFolder();
    EXPECT_EQ(failures, (QStringList{QStringLiteral(u"コピーに失敗しました"), QStringLiteral(u"移動に失敗しました"),
                                     QStringLiteral(u"移動に失敗しました")}));
    EXPECT_TRUE(information.isEmpty());
    EXPECT_EQ(kltest::ReadFileBytes(source), "data");
}

TEST_F(LeftViewTest, CommandsWithoutAChosenFileDoNothing)
{
    tree.OnCopyToFolder();
    tree.OnMoveToFolder();
    tree.OnOpenFile();
    EXPECT_TRUE(titles.isEmpty());
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(LeftViewTest, OpenHandsThePathToTheDesktopEvenWhenItIsGone)
{
    const std::string gone = dir.file("gone.txt");
    tree.AddFileItem(gone);
    ASSERT_TRUE(tree.ChooseForMenu(tree.fileItem(0)));
    tree.contextMenu()->actions()[2]->trigger();
    EXPECT_EQ(opened, QStringList{QString::fromStdString(gone)});
}

TEST_F(LeftViewTest, ARightClickOnAFileItemOpensTheMenu)
{
    tree.resize(500, 150);
    tree.show();
    tree.AddFileItem(kBefore);
    tree.AddFileItem(kAfter);
    tree.SetStatistics(0, kTotals);
    QApplication::processEvents();

    const auto rightClick = [this](QTreeWidgetItem* item) {
        const QPoint at = tree.visualItemRect(item).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree.viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree.viewport(), &event);
        QApplication::processEvents();
    };
    rightClick(tree.fileItem(0)->child(0));
    EXPECT_FALSE(tree.contextMenu()->isVisible());
    EXPECT_TRUE(tree.chosenPath().empty());

    rightClick(tree.fileItem(1));
    EXPECT_TRUE(tree.contextMenu()->isVisible());
    EXPECT_EQ(tree.chosenPath(), kAfter);
    EXPECT_EQ(tree.currentItem(), tree.fileItem(1));
    tree.contextMenu()->hide();
}

}  // namespace
