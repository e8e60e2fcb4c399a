#pragma once
// The program's main window: menus, toolbar, the compare-method band, the dialog bar, the
// status bar with the key indicators and the progress bar, and the panes (file tree on
// top, overview bar and the two text views below). It routes the commands, starts and
// stops comparison runs and keeps its placement in the per-user profile.
#include <QMainWindow>
#include <QRect>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "engine/compare/compare_result.h"
#include "engine/compare/line_matching.h"
#include "engine/display/match_places.h"
#include "ui/app/compare_worker.h"
#include "ui/merge/merge_prompts.h"
#include "ui/app/report_prompts.h"
#include "ui/pairs/file_set_prompts.h"
#include "engine/settings/merge_settings.h"
#include "ui/settings/user_profile.h"

class CCompareSetDlg;
class CFrameDlg;
class CKestrilaneApp;
class CKestrilaneDoc;
class CKestrilaneView;
class CKestrilane2View;
class CLeftView;
class CLinePopups;
class CMergeSetDlg;
class CFileSetMenu;
class COverView;
class CSplitterSnd;
class CDifferenceNavigator;
class ViewState;
class FolderPage;
class QStackedWidget;
class LockIndicators;
class QAction;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QProgressBar;
class QSplitter;
class QToolBar;
class QTimer;
class FindBar;
class SearchWorker;

namespace kl {
enum class AutoCompare;
struct FilePair;
enum class EncodingChoice;
}

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame(CKestrilaneApp& app, CKestrilaneDoc& doc);
    ~CMainFrame() override;

    // Places the window at its stored rectangle (30 pixels further right after the switch
    // /o) and shows it in its stored show state; once only.
    void ShowPlaced();

    // Runs the command with identifier id, as its menu item, toolbar button or key would.
    void OnCommand(int id);
    // The action of command id; nullptr when there is none.
    QAction* commandAction(int id) const;
    // Refreshes the enabled state of the commands that depend on a running comparison.
    void UpdateCommandStates();

    // Starts a comparison with the current compareMode: applies the selected preset,
    // captures the options and messages and starts the worker.
    void StartCompare();
    // Drops a running comparison: it is asked to stop and its result is never shown.
    // Everything that releases or replaces the texts calls this first.
    void CancelCompare();
    // A comparison runs (the compare commands are disabled, the stop command enabled).
    bool compareActive() const { return worker_ != nullptr; }

    // Compares two folders (UTF-8 paths) and shows the folder result page.
    void CompareFolders(const std::string& folderA, const std::string& folderB);
    // Shows the folder result where it was left; nothing before the first folder comparison.
    void ShowFolderPage();
    FolderPage* folderPage() const { return folderPage_; }
    bool folderPageShown() const;
    bool folderComparing() const;
    // Asks for the two folders, one prompt each (tests answer it); empty when cancelled.
    std::function<QString(const QString& title)> chooseFolder;

    CLeftView* treeView() const { return tree_; }
    CSplitterSnd* splitterSnd() const { return lower_; }
    CKestrilaneView* leftView() const;
    CKestrilane2View* rightView() const;
    COverView* overView() const;
    CFrameDlg* dialogBar() const { return dialogBar_; }
    // The line windows of the view of side (DocA 0, DocB 1).
    CLinePopups* linePopups(int side) const { return linePopups_[static_cast<std::size_t>(side)]; }
    QComboBox* presetCombo() const { return presetCombo_; }
    QProgressBar* progressBar() const { return progress_; }
    LockIndicators* lockIndicators() const { return indicators_; }
    QToolBar* toolBar() const { return toolBar_; }
    FindBar* findBar() const { return findBar_; }
    const std::shared_ptr<const kl::SearchResult>& searchResult() const { return searchResult_; }
    QToolBar* compareModeBand() const { return comboBand_; }
    int selectedPreset() const { return selectedPreset_; }

    // Runs the compare-method dialog; the program shows it modally, tests answer it.
    std::function<int(CCompareSetDlg& dialog)> execCompareSetDlg;
    // Given to every run as its progress hook (called on the worker thread); empty in the
    // program, tests hold a run at a chosen stage with it.
    CompareWorker::ProgressHook compareProgressHook;
    // The same for every search of the find bar.
    CompareWorker::ProgressHook searchProgressHook;
    // Runs a settings dialog (font, colours and messages, environment); the program shows
    // it modally, tests answer it.
    std::function<int(QDialog& dialog)> execSettingsDialog;
    // Shows an error message (a message box), also the reason a comparison run failed.
    std::function<void(const QString& message)> showError;
    // The questions of recording a file pair; tests answer them.
    FileSetPrompts fileSetPrompts = InteractiveFileSetPrompts();
    // The submenu of saved pairs.
    CFileSetMenu* fileSetMenu() const { return fileSets_; }
    // The merge's dialogs and the start of the second window; tests answer them.
    MergePrompts mergePrompts = InteractiveMergePrompts();
    // The questions of ファイル > レポートを保存; tests answer them.
    ReportPrompts reportPrompts = InteractiveReportPrompts();
    // The merge dialog, made by the first merge command.
    CMergeSetDlg* mergeDialog() const { return mergeDlg_; }
    // A merge is asking a block: nothing may load or compare until it ends.
    bool mergeQuerying() const;

    // What the window shows: display mode, D1/D2, difference position, paired display.
    ViewState* viewState() const { return viewState_; }
    // COMPARE_NORMAL, COMPARE_DETAILED or COMPARE_MINIMAL: the mode of the last started run.
    kl::CompareMode compareMode = kl::COMPARE_NORMAL;
    // How long after the last edit the comparison runs again, milliseconds.
    int recompareDelay = 300;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Building the window.
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateCompareModeBand();
    void CreateDialogBar();
    void CreateStatusBar();
    void CreateClient();
    void ConnectDocument();
    void RebuildRecentFileMenu();

    // Placement.
    void RememberNormalRect();
    void FitFrameOnScreen();
    void WritePlacement();

    // Commands.
    void OnCompare(kl::CompareMode mode);
    void OnStop();
    void SwitchDisplay(int mode, bool followDialogBar);
    void OnCopy();
    void OnReload();
    void OnSwapSides();
    void OnCompareMethod();
    void OnMerge();
    void OnSaveReport();
    void OnColorSettings();
    void OnFontSettings();
    void OnEnvironmentSettings();
    // Turns a 表示 switch (ID_VIEW_PAIRED, ID_VIEW_EOL_KIND, ID_VIEW_WRAP) over and keeps it.
    void ToggleDisplaySwitch(int id);
    // Shows the document with the settings a dialog applied; when they could not be
    // written (saved false), the user is told which file.
    void ShowAppliedSettings(bool saved);
    void OnSplit();
    void OnEncodingChosen(int doc, kl::EncodingChoice choice);
    // A saved pair was chosen: both files are opened anew.
    void OpenFileSetPair(const kl::FilePair& pair);
    // F6 / Shift+F6: the keyboard focus goes to the next or previous pane.
    void SwitchPane(int step);
    // Refuses, with a message, a command that would change what a merge reads.
    bool RefuseWhileMerging();
    void OnAutoCompare(kl::AutoCompare kind);
    void UpdateAllViews();
    void OnDocumentCleared();
    void OpenDroppedFiles(const QStringList& paths, QObject* target);
    bool ReplaceSide(int side, const QString& path);
    void UpdateTitle(const QString& documentTitle);
    // Saving edited texts (main_frame_commands.cpp).
    int SideToSaveAs() const;
    void UpdateSaveCommands();
    // Folder comparison (main_frame_folders.cpp).
    void OnFolderCompare();
    bool OpenDroppedFolders(const QStringList& paths);
    void OpenFolderPair(const std::string& pathA, const std::string& pathB);
    void ShowComparePage();
    void StopFolderCompare();
    // Find and go to line (main_frame_find.cpp).
    void CreateFindBar();
    void OnFind();
    void StartSearch();
    void EndSearching();
    void OnSearchFinished(std::shared_ptr<const kl::SearchResult> result, const QString& failure);
    void OnFindNext(bool forward);
    void OnGoToLine();

    // Editing (main_frame_edit.cpp): undo and redo of the side with the focus, cut and
    // paste, copying differences across, and the comparison that follows the edits.
    int EditSide() const;
    void OnUndo(bool redo);
    void OnCut();
    void OnPaste();
    void OnCopyAcross(int from, bool all);
    void OnTextEdited(int side);
    // A copy across asked for while the comparison was catching up with the edits.
    void RunPendingCopy();
    void UpdateEditCommandStates();
    // The comparison worker's reports.
    void OnCompareProgress(int value);
    void OnCompareFinished(std::shared_ptr<const kl::CompareResult> result, const QString& failure);

    QTimer* recompareTimer_ = nullptr;
    int lastEditedSide_ = 0;
    bool runFollowsEdits_ = false;  // the run in progress was started by the edits
    std::optional<std::pair<int, bool>> pendingCopy_;  // from side, all differences
    CKestrilaneApp& app_;
    CKestrilaneDoc& doc_;

    std::map<int, QAction*> actions_;
    QMenu* recentMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QToolBar* findBand_ = nullptr;
    FindBar* findBar_ = nullptr;
    SearchWorker* searchWorker_ = nullptr;  // owned; the running or last search
    std::shared_ptr<const kl::SearchResult> searchResult_;
    std::vector<kl::MatchPlace> matchPlaces_;  // of searchResult_ over the shown rows
    int currentMatch_ = -1;
    int pendingStep_ = 0;  // +1 / -1: a next / previous match asked for before the matches came
    QToolBar* comboBand_ = nullptr;
    int bandWidth_ = 0;  // length of the compare-mode band
    QToolBar* dialogBarBand_ = nullptr;
    QComboBox* presetCombo_ = nullptr;
    CFrameDlg* dialogBar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QProgressBar* progress_ = nullptr;
    LockIndicators* indicators_ = nullptr;
    QSplitter* outer_ = nullptr;
    CLeftView* tree_ = nullptr;
    CSplitterSnd* lower_ = nullptr;

    kl::WindowPlacement placement_;  // as read at creation; the band sizes live on here
    QRect normalRect_;               // last rectangle in the normal (not maximised) state
    bool shown_ = false;
    // A window moved right by /o keeps its frame on the screen, once the frame is known.
    bool fitFrameOnScreen_ = false;
    bool closeAfterLoad_ = false;  // a close asked for while a file was being read
    int selectedPreset_ = -1;        // COMPMODE SELECTED
    // The running comparison, a child of this window: a window that goes away deletes it,
    // which stops and joins its thread.
    CompareWorker* worker_ = nullptr;
    CDifferenceNavigator* navigator_ = nullptr;
    ViewState* viewState_ = nullptr;
    std::array<CLinePopups*, 2> linePopups_{};
    kl::MergePrefixes mergePrefixes_;  // MESSAGE INSDOCA/INSDOCB, read at start-up
    CMergeSetDlg* mergeDlg_ = nullptr;
    CFileSetMenu* fileSets_ = nullptr;
    // The folder result page and the stack that shows it or the comparison, made by the
    // first folder comparison.
    QStackedWidget* pages_ = nullptr;
    FolderPage* folderPage_ = nullptr;
};
