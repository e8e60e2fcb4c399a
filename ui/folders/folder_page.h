#pragma once
// The folder result page: the merged tree of two folders with each entry's state, sizes,
// times and kind of text, the display and name filters, and the actions on an entry (open
// the pair, copy it to the other side, compare again). The comparison runs on a worker.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "engine/folders/folder_compare.h"
#include "engine/settings/folder_settings.h"
#include "engine/settings/settings_file.h"
#include "ui/folders/folder_model.h"

class FolderModel;
class FolderWorker;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeView;

class FolderPage : public QWidget {
    Q_OBJECT

public:
    FolderPage(std::string iniPath, QWidget* parent = nullptr);
    ~FolderPage() override;

    // Compares the two folders (UTF-8 paths) with the filters shown.
    void Start(const std::string& folderA, const std::string& folderB);
    // Compares the same folders again.
    void Refresh();
    // Asks a running comparison to stop; what was compared so far is shown.
    void Stop();
    bool running() const { return worker_ != nullptr; }

    // Copies the selected entry to the other side: toB true copies DocA's to DocB.
    void CopySelected(bool toB);
    // Opens the selected pair (as a double click does).
    void OpenSelected();
    // A file of the tree (UTF-8 path) was written from elsewhere: its entry is compared again.
    void CompareFileAgain(const std::string& path);

    void SetColors(const kl::ColorTable& colors);
    void SetCompareOptions(const kl::CompareOptions& options) { compareOptions_ = options; }

    const kl::FolderTree* tree() const;
    QTreeView* treeView() const { return view_; }
    FolderModel* model() const { return model_; }
    // The entry of the current row; -1 for none.
    int currentEntry() const;
    // Makes the entry the current row, opening the folders above it.
    void SelectEntry(int entry);

    // Asks whether an existing file may be replaced (path as shown); tests answer it.
    std::function<bool(const QString& path)> confirmOverwrite;
    // Shows a failure; tests collect it.
    std::function<void(const QString& message)> showError;
    // Given to every run: tests hold a run at a chosen step with it.
    std::function<void(int step, const std::stop_token& stop)> workerHook;

signals:
    // Both files of an entry, to be compared side by side.
    void openPairRequested(const std::string& pathA, const std::string& pathB);
    void runningChanged(bool running);

private:
    void BuildControls();
    kl::FolderCompareRequest CurrentRequest() const;
    FolderDisplay CurrentDisplay() const;
    void ApplyDisplay();
    void ExpandDifferences();
    void OnProgress();
    void OnFinished(std::shared_ptr<const kl::FolderTree> tree, const QString& failure);
    void OnActivated(const QModelIndex& index);
    void ShowSummary();
    void SaveFilterSet();
    // Compares an entry again after its files changed, keeping the current row.
    void ShowEntryComparedAgain(int entry);

    std::string iniPath_;
    std::string roots_[2];
    kl::CompareOptions compareOptions_;
    std::shared_ptr<kl::FolderTree> tree_;
    FolderModel* model_ = nullptr;
    FolderWorker* worker_ = nullptr;
    std::string restorePath_;  // the row to select again after a refresh

    QLabel* rootsLabel_ = nullptr;
    QTreeView* view_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* progressText_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QCheckBox* hideSame_ = nullptr;
    QCheckBox* onlyDifferences_ = nullptr;
    QCheckBox* foldUnchanged_ = nullptr;
    QCheckBox* compareAsText_ = nullptr;
    QCheckBox* hidden_ = nullptr;
    QLineEdit* filterName_ = nullptr;
    QLineEdit* include_ = nullptr;
    QLineEdit* exclude_ = nullptr;
};
