// The main window's command routing and the commands that do not start a comparison.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMenu>

#include "ui/app/command_ids.h"
#include "ui/app/kestrilane_app.h"
#include "ui/app/main_frame.h"
#include "engine/compare/compare_options.h"
#include "ui/compare/compare_set_dlg.h"
#include "ui/display/difference_navigator.h"
#include "engine/display/display_options.h"
#include "ui/display/frame_dlg.h"
#include "ui/display/over_view.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "ui/display/view_state.h"
#include "engine/document/document_ops.h"
#include "ui/document/kestrilane_doc.h"
#include "engine/settings/filter_settings.h"
#include "engine/settings/settings_file.h"
#include "ui/tree/left_view.h"
#include "ui/merge/merge_set_dlg.h"
#include "ui/help/about_dlg.h"
#include "ui/help/help_dialog.h"
#include "ui/pairs/file_set_menu.h"
#include "ui/pairs/file_set_open.h"
#include "ui/pairs/file_set_record.h"
#include "ui/settings/color_text_set.h"
#include "ui/settings/font_setting.h"
#include "ui/settings/setting_dlg.h"
#include "ui/settings/settings_apply.h"
#include "ui/platform/path_text.h"
#include <QSplitter>
#include <array>
#include <QScrollBar>

namespace {

bool HasFocusWithin(const QWidget* view)
{
    const QWidget* focus = QApplication::focusWidget();
    return view && focus && (focus == view || view->isAncestorOf(focus));
}

}  // namespace

QAction* CMainFrame::commandAction(int id) const
{
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::OnCommand(int id)
{
    using namespace cmd;
    // What loads or compares would change what a merge that asks a block reads.
    const bool loadsOrCompares = id == ID_FILE_NEW || id == ID_FILE_OPEN || id == ID_FILE_RELOAD ||
                                 id == ID_COMPARE || id == ID_COMPARE_DETAILED || id == ID_COMPARE_MINIMAL ||
                                 id == ID_REBUILD_NEWLINES || id == ID_SWAP_SIDES ||
                                 (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST) ||
                                 (id >= ID_FILE_PAIR_FIRST && id <= ID_FILE_PAIR_LAST);
    if (loadsOrCompares && RefuseWhileMerging())
        return;
    // What releases or rebuilds the texts asks first about the edited ones.
    const bool dropsEdits = id == ID_FILE_NEW || id == ID_FILE_OPEN || id == ID_REBUILD_NEWLINES ||
                            (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST);
    if (dropsEdits && !doc_.AskSaveEdited())
        return;
    // A command runs only while its enable rule allows it, wherever it comes from.
    if (const QAction* action = commandAction(id); action && !action->isEnabled())
        return;
    switch (id) {
    case ID_FILE_NEW: app_.OnFileNew(); break;
    case ID_FILE_OPEN: app_.OnFileOpen(); break;
    case ID_FILE_RELOAD: OnReload(); break;
    case ID_FILE_SAVE: RecordFileSet(this, app_.settingsPath(), doc_.textDoc, fileSetPrompts); break;
    case ID_FILE_SAVE_DOC_A: doc_.SaveSide(kl::DOC_A); break;
    case ID_FILE_SAVE_DOC_B: doc_.SaveSide(kl::DOC_B); break;
    case ID_FILE_SAVE_AS: doc_.SaveSideAs(SideToSaveAs()); break;
    case ID_FILE_SAVE_REPORT: OnSaveReport(); break;
    case ID_REBUILD_NEWLINES: doc_.RebuildNewlines(); break;
    case ID_HELP_USAGE: ShowHelpDialog(this); break;
    case ID_APP_ABOUT: ShowAboutBox(this); break;
    case ID_APP_EXIT: close(); break;
    case ID_EDIT_COPY: OnCopy(); break;
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR: actions_[id]->toggle(); break;
    case ID_VIEW_SOURCE: SwitchDisplay(DISPLAY_SOURCE, true); break;
    case ID_VIEW_RESULT: SwitchDisplay(DISPLAY_RESULT, true); break;
    case ID_VIEW_PAIRED:
    case ID_VIEW_EOL_KIND: ToggleDisplaySwitch(id); break;
    case ID_VIEW_WRAP: ToggleDisplaySwitch(id); break;
    case ID_COMPARE: OnCompare(kl::COMPARE_NORMAL); break;
    case ID_COMPARE_DETAILED: OnCompare(kl::COMPARE_DETAILED); break;
    case ID_COMPARE_MINIMAL: OnCompare(kl::COMPARE_MINIMAL); break;
    case ID_COMPARE_STOP: OnStop(); break;
    case ID_FOLDER_COMPARE: OnFolderCompare(); break;
    case ID_FOLDER_BACK: ShowFolderPage(); break;
    case ID_NEXT_DIFF: navigator_->Next(); break;
    case ID_PREV_DIFF: navigator_->Previous(); break;
    case ID_COMPARE_METHOD: OnCompareMethod(); break;
    case ID_MERGE: OnMerge(); break;
    case ID_SWAP_SIDES: OnSwapSides(); break;
    case ID_EDIT_FIND: OnFind(); break;
    case ID_EDIT_FIND_NEXT: OnFindNext(true); break;
    case ID_EDIT_FIND_PREV: OnFindNext(false); break;
    case ID_EDIT_GOTO_LINE: OnGoToLine(); break;
    case ID_EDIT_UNDO: OnUndo(false); break;
    case ID_EDIT_REDO: OnUndo(true); break;
    case ID_EDIT_CUT: OnCut(); break;
    case ID_EDIT_PASTE: OnPaste(); break;
    case ID_COPY_TO_B: OnCopyAcross(kl::DOC_A, false); break;
    case ID_COPY_TO_A: OnCopyAcross(kl::DOC_B, false); break;
    case ID_COPY_ALL_TO_B: OnCopyAcross(kl::DOC_A, true); break;
    case ID_COPY_ALL_TO_A: OnCopyAcross(kl::DOC_B, true); break;
    case ID_COLOR_SETTINGS: OnColorSettings(); break;
    case ID_FONT_SETTINGS: OnFontSettings(); break;
    case ID_ENVIRONMENT_SETTINGS: OnEnvironmentSettings(); break;
    case ID_WINDOW_SPLIT: OnSplit(); break;
    case ID_NEXT_PANE: SwitchPane(1); break;
    case ID_PREV_PANE: SwitchPane(-1); break;
    default:
        if (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST)
            app_.OpenRecentFile(id - ID_FILE_MRU_FIRST);
        else if (id >= ID_FILE_PAIR_FIRST && id <= ID_FILE_PAIR_LAST)
            fileSets_->Choose(id);
        break;
    }
}

// Compare and detailed compare while no run is in progress; stop while one is. While a
// merge asks a block, nothing loads or compares.
void CMainFrame::UpdateCommandStates()
{
    const bool running = compareActive();
    const bool merging = mergeQuerying();
    actions_[cmd::ID_COMPARE]->setEnabled(!running && !merging);
    actions_[cmd::ID_COMPARE_DETAILED]->setEnabled(!running && !merging);
    actions_[cmd::ID_COMPARE_MINIMAL]->setEnabled(!running && !merging);
    actions_[cmd::ID_COMPARE_STOP]->setEnabled(running || folderComparing());
    actions_[cmd::ID_FOLDER_BACK]->setEnabled(folderPage_ && !folderPageShown());
    for (const int id : {cmd::ID_FILE_NEW, cmd::ID_FILE_OPEN, cmd::ID_FILE_RELOAD, cmd::ID_REBUILD_NEWLINES})
        actions_[id]->setEnabled(!merging);
    actions_[cmd::ID_SWAP_SIDES]->setEnabled(!merging && kl::LoadedTextCount(doc_.textDoc) == 2);
    UpdateEditCommandStates();
    recentMenu_->setEnabled(!merging);
    fileSets_->menu()->setEnabled(!merging);
    UpdateSaveCommands();
}

bool CMainFrame::mergeQuerying() const
{
    return mergeDlg_ && mergeDlg_->querying();
}

bool CMainFrame::RefuseWhileMerging()
{
    if (!mergeQuerying())
        return false;
    mergePrompts.showError(this, QStringLiteral(u"マージの問い合わせ中は実行できません。"
                                                u"問い合わせに答えるか、処理を中断してください。"));
    return true;
}

// The merge dialog, made at the first use; it lives as long as this window.
void CMainFrame::OnMerge()
{
    if (!mergeDlg_) {
        MergeContext context;
        context.doc = &doc_;
        context.iniPath = app_.settingsPath();
        context.prompts = &mergePrompts;
        context.prefixes = &mergePrefixes_;
        context.ownerOrigin = [this] { return geometry().topLeft(); };
        context.scrollToRow = [this](int, int row) {
            CTextView* view = leftView();
            view->rowScrollBar()->setValue(static_cast<int>(std::min<long long>(view->RowTop(row), INT_MAX)));
            UpdateAllViews();
        };
        context.program = QCoreApplication::applicationFilePath();
        mergeDlg_ = new CMergeSetDlg(std::move(context), this);
        connect(mergeDlg_, &CMergeSetDlg::queryingChanged, this, &CMainFrame::UpdateCommandStates);
    }
    mergeDlg_->ShowForMerge();
}

// The settings dialogs edit copies; only OK changes the document, and then everything
// shows the new values at once.
void CMainFrame::OnColorSettings()
{
    CColorTextSet dialog(ColorTextValuesOf(doc_), this);
    if (execSettingsDialog(dialog) == QDialog::Accepted)
        ShowAppliedSettings(ApplyColorTextValues(doc_, app_.settingsPath(), dialog.values()));
}

void CMainFrame::OnFontSettings()
{
    CFontSetting dialog(doc_.fontSettings, this);
    if (execSettingsDialog(dialog) == QDialog::Accepted)
        ShowAppliedSettings(ApplyFontSettings(doc_, app_.settingsPath(), dialog.fonts()));
}

void CMainFrame::OnEnvironmentSettings()
{
    CSettingDlg dialog(doc_.docSettings, this);
    if (execSettingsDialog(dialog) == QDialog::Accepted)
        ShowAppliedSettings(ApplyEnvironmentSettings(doc_, app_.settingsPath(), dialog.settings()));
}

void CMainFrame::ToggleDisplaySwitch(int id)
{
    const bool paired = (doc_.docSettings.fPaired != 0) != (id == cmd::ID_VIEW_PAIRED);
    const bool eolKind = (doc_.docSettings.fEolKind != 0) != (id == cmd::ID_VIEW_EOL_KIND);
    const bool wrap = (doc_.docSettings.fWrap != 0) != (id == cmd::ID_VIEW_WRAP);
    const bool saved = ApplyDisplaySwitches(doc_, app_.settingsPath(), paired, eolKind, wrap);
    viewState_->setPaired(paired);
    actions_[cmd::ID_VIEW_PAIRED]->setChecked(paired);
    actions_[cmd::ID_VIEW_EOL_KIND]->setChecked(eolKind);
    actions_[cmd::ID_VIEW_WRAP]->setChecked(wrap);
    ShowAppliedSettings(saved);
}

void CMainFrame::ShowAppliedSettings(bool saved)
{
    UpdateAllViews();
    const std::string& path = app_.settingsPath();
    if (saved || path.empty())
        return;  // without a settings file the values last for this session
    showError(QStringLiteral(u"設定を「%1」に保存できませんでした。\n変更はこの実行中だけ有効です。")
                  .arg(PathText(path)));
}

// 文字コード in the file tree: the file is read again in the chosen encoding.
void CMainFrame::OnEncodingChosen(int doc, kl::EncodingChoice choice)
{
    if (RefuseWhileMerging() || doc < 0 || doc > 1)
        return;
    doc_.textDoc.encodingChoices[static_cast<std::size_t>(doc)] = choice;
    OnReload();
}

void CMainFrame::OpenFileSetPair(const kl::FilePair& pair)
{
    if (RefuseWhileMerging() || !doc_.AskSaveEdited())
        return;
    OpenFileSet(pair, {[this] { app_.OnFileNew(); }, [this](const std::string& path) { return app_.OpenDocumentFile(path); }});
}

// 分割: the two text views share the width beside the overview bar equally.
void CMainFrame::OnSplit()
{
    QSplitter* columns = lower_->columns();
    QList<int> sizes = columns->sizes();
    if (sizes.size() < 3)
        return;
    const int both = sizes[1] + sizes[2];
    sizes[1] = both / 2;
    sizes[2] = both - both / 2;
    columns->setSizes(sizes);
}

// The panes in their order on the screen: the file tree, the overview bar, the left view
// and the right view.
void CMainFrame::SwitchPane(int step)
{
    const std::array<QWidget*, 4> panes{tree_, overView(), leftView(), rightView()};
    int current = -1;
    for (std::size_t i = 0; i < panes.size(); ++i) {
        if (HasFocusWithin(panes[i]))
            current = static_cast<int>(i);
    }
    const int count = static_cast<int>(panes.size());
    const int next = current < 0 ? (step > 0 ? 0 : count - 1) : (current + step + count) % count;
    panes[static_cast<std::size_t>(next)]->setFocus(Qt::ShortcutFocusReason);
}

// Every pane shows the document anew, in the order the panes were created.
void CMainFrame::UpdateAllViews()
{
    tree_->OnUpdateFromDocument(doc_);
    overView()->OnUpdate();
    leftView()->OnUpdate();
    rightView()->OnUpdate();
    navigator_->RefreshActions();
}

// The document has released its texts: a running comparison is dropped and the panes
// forget what they showed.
void CMainFrame::OnDocumentCleared()
{
    CancelCompare();
    tree_->ClearFiles();
    leftView()->CancelSelection();
    rightView()->CancelSelection();
    viewState_->setDiffPosition(-1);
    overView()->SetThumbTop(0);
    navigator_->RefreshActions();
}

// Both text views show the texts as loaded (DISPLAY_SOURCE) or the result. From the View
// menu the dialog bar's radio buttons follow; from the dialog bar they already have.
void CMainFrame::SwitchDisplay(int mode, bool followDialogBar)
{
    viewState_->setDisplayMode(static_cast<kl::DisplayMode>(mode));
    UpdateAllViews();
    if (followDialogBar) {
        dialogBar_->SetDisplayRadio(mode);
        dialogBar_->Refresh();
    }
}

void CMainFrame::OnCopy()
{
    if (HasFocusWithin(leftView()))
        leftView()->CopySelection();
    else if (HasFocusWithin(rightView()))
        rightView()->CopySelection();
}

// DocA and DocB change places in the document, the file tree and the views; a comparison
// that was shown runs again. Recent files and saved pairs stay as they are.
void CMainFrame::OnSwapSides()
{
    if (!doc_.AskSaveEdited())
        return;
    const bool compared = !doc_.textDoc.result->sides[kl::DOC_A].rows.empty() ||
                          !doc_.textDoc.result->sides[kl::DOC_B].rows.empty();
    CancelCompare();
    leftView()->CancelSelection();
    rightView()->CancelSelection();
    if (!kl::SwapSides(doc_.textDoc))
        return;
    tree_->ClearFiles();
    emit doc_.documentChanged();
    UpdateTitle(doc_.Title());
    UpdateCommandStates();
    if (compared)
        StartCompare();
}

// Reads the files of the tree's entries again. The tree keeps its entries (the document
// does not queue the paths again); the automatic comparison rules apply after the second.
void CMainFrame::OnReload()
{
    const std::vector<std::string> paths = tree_->FileEntryPaths();
    if (paths.empty() || !doc_.AskSaveEdited())
        return;
    CancelCompare();
    leftView()->CancelSelection();
    rightView()->CancelSelection();
    // The files are read again as the user chose to read them.
    const auto choices = doc_.textDoc.encodingChoices;
    kl::ClearDocument(doc_.textDoc);
    doc_.textDoc.encodingChoices = choices;
    emit doc_.documentChanged();

    doc_.textDoc.recording = false;
    for (const std::string& path : paths)
        doc_.OnOpenDocument(path);
    doc_.textDoc.recording = true;

    // A file that could not be read again would leave the entries out of step with the
    // texts: the tree then lists what is loaded.
    if (kl::LoadedTextCount(doc_.textDoc) != static_cast<int>(paths.size())) {
        tree_->ClearFiles();
        for (const std::string& path : doc_.textDoc.filePaths)
            tree_->AddFileItem(path);
    }
}

// The compare-method dialog. OK has stored the preset list and refilled the combo box; the
// options are stored and take effect, and the dialog's preset becomes the selected one.
void CMainFrame::OnCompareMethod()
{
    CCompareSetDlg dialog(*presetCombo_, selectedPreset_, doc_.compareOptions, app_.settingsPath(), this);
    if (execCompareSetDlg(dialog) != QDialog::Accepted)
        return;
    const kl::CompareOptions options = dialog.options();
    kl::SaveCompareSettings(app_.settingsPath(), options, dialog.delimiterText());
    kl::SaveFilterSettings(app_.settingsPath(), options);
    doc_.compareOptions = options;
    selectedPreset_ = dialog.selectedPreset();
    presetCombo_->setCurrentIndex(selectedPreset_ < presetCombo_->count() ? selectedPreset_ : -1);
}

// 名前を付けて保存 saves the side whose pane has the focus, else the one edited alone, else DocA.
int CMainFrame::SideToSaveAs() const
{
    if (HasFocusWithin(rightView()))
        return kl::DOC_B;
    if (HasFocusWithin(leftView()))
        return kl::DOC_A;
    return doc_.edited(kl::DOC_B) && !doc_.edited(kl::DOC_A) ? kl::DOC_B : kl::DOC_A;
}

// The save commands are there for a loaded side.
void CMainFrame::UpdateSaveCommands()
{
    const auto& texts = doc_.textDoc.texts;
    actions_[cmd::ID_FILE_SAVE_DOC_A]->setEnabled(texts[kl::DOC_A] != nullptr);
    actions_[cmd::ID_FILE_SAVE_DOC_B]->setEnabled(texts[kl::DOC_B] != nullptr);
    actions_[cmd::ID_FILE_SAVE_AS]->setEnabled(texts[kl::DOC_A] != nullptr || texts[kl::DOC_B] != nullptr);
}
