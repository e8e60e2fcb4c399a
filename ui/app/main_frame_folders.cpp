// The main window's part of the folder comparison: the command that asks for two folders,
// two folders dropped or given on the command line, the page that shows the folder result
// in place of the comparison, and opening a pair of files from it.
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTreeView>

#include "ui/app/command_ids.h"
#include "ui/app/kestrilane_app.h"
#include "ui/app/main_frame.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/folders/folder_page.h"

namespace {

std::string LocalPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

}  // namespace

void CMainFrame::CompareFolders(const std::string& folderA, const std::string& folderB)
{
    if (!folderPage_) {
        // The comparison panes move into a stack, beside the folder result.
        QWidget* panes = takeCentralWidget();
        pages_ = new QStackedWidget(this);
        pages_->setObjectName(QStringLiteral("pages"));
        pages_->addWidget(panes);
        folderPage_ = new FolderPage(app_.settingsPath(), pages_);
        pages_->addWidget(folderPage_);
        setCentralWidget(pages_);
        connect(folderPage_, &FolderPage::openPairRequested, this, &CMainFrame::OpenFolderPair);
        connect(folderPage_, &FolderPage::runningChanged, this, [this] { UpdateCommandStates(); });
        // A pair of files opened in any other way shows the comparison again.
        connect(&doc_, &CKestrilaneDoc::docBLoaded, this, &CMainFrame::ShowComparePage);
        // A saved file of the tree shows its new state there.
        connect(&doc_, &CKestrilaneDoc::sideSaved, folderPage_, [this](int side) {
            const auto k = static_cast<std::size_t>(side);
            if (k < doc_.textDoc.filePaths.size())
                folderPage_->CompareFileAgain(doc_.textDoc.filePaths[k]);
        });
    }
    folderPage_->SetColors(doc_.colors);
    folderPage_->SetCompareOptions(doc_.compareOptions);
    folderPage_->Start(folderA, folderB);
    ShowFolderPage();
}

void CMainFrame::ShowFolderPage()
{
    if (!folderPage_)
        return;
    folderPage_->SetColors(doc_.colors);
    pages_->setCurrentWidget(folderPage_);
    folderPage_->treeView()->setFocus();
    UpdateCommandStates();
}

void CMainFrame::ShowComparePage()
{
    if (!pages_)
        return;
    pages_->setCurrentIndex(0);
    UpdateCommandStates();
}

bool CMainFrame::folderPageShown() const
{
    return pages_ && pages_->currentWidget() == folderPage_;
}

bool CMainFrame::folderComparing() const
{
    return folderPage_ && folderPage_->running();
}

void CMainFrame::StopFolderCompare()
{
    if (folderPage_)
        folderPage_->Stop();
}

void CMainFrame::OnFolderCompare()
{
    if (!chooseFolder) {
        chooseFolder = [this](const QString& title) {
            return QFileDialog::getExistingDirectory(this, title);
        };
    }
    const QString folderA = chooseFolder(QStringLiteral(u"DocA のフォルダを選んでください"));
    if (folderA.isEmpty())
        return;
    const QString folderB = chooseFolder(QStringLiteral(u"DocB のフォルダを選んでください"));
    if (folderB.isEmpty())
        return;
    CompareFolders(LocalPath(folderA), LocalPath(folderB));
}

bool CMainFrame::OpenDroppedFolders(const QStringList& paths)
{
    if (paths.size() != 2 || !QFileInfo(paths[0]).isDir() || !QFileInfo(paths[1]).isDir())
        return false;
    CompareFolders(LocalPath(paths[0]), LocalPath(paths[1]));
    return true;
}

void CMainFrame::OpenFolderPair(const std::string& pathA, const std::string& pathB)
{
    if (RefuseWhileMerging())
        return;
    app_.OnFileNew();
    if (!app_.OpenDocumentFile(pathA) || !app_.OpenDocumentFile(pathB))
        return;
    ShowComparePage();
    // The pair is compared whatever the setting for files opened later says.
    if (!compareActive() && !doc_.loading())
        OnAutoCompare(kl::AutoCompare::StartAndSend);
    statusBar()->showMessage(QStringLiteral(u"Alt+↑ でフォルダの比較結果に戻ります"), 5000);
}
