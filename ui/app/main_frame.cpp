// The main window's construction, placement and window events.
#include "ui/app/main_frame.h"

#include <QMessageBox>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <utility>

#include "ui/app/command_ids.h"
#include "ui/app/command_table.h"
#include "ui/app/compare_worker.h"
#include "ui/app/kestrilane_app.h"
#include "ui/app/lock_indicators.h"
#include "ui/app/recent_files.h"
#include "ui/compare/compare_set_dlg.h"
#include "ui/compare/preset_combo.h"
#include "ui/display/difference_navigator.h"
#include "ui/display/frame_dlg.h"
#include "ui/display/over_view.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "ui/display/view_state.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/linedetail/line_popups.h"
#include "ui/merge/merge_set_dlg.h"
#include "ui/pairs/file_set_menu.h"
#include "ui/pairs/file_set_open.h"
#include "ui/platform/file_drop_target.h"
#include "engine/settings/window_state_settings.h"
#include "ui/tree/left_view.h"
#include "ui/document/doc_name.h"

namespace {

const QString kAppTitle = QStringLiteral("Kestrilane");
constexpr int kOptionShift = 30;      // the switch /o moves the window this far right
constexpr int kShowNormal = 1;        // stored show states
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
constexpr int kSmallestSide = 100;
constexpr int kComboWidth = 150;      // nominal width of the compare-mode combo box
constexpr int kMessagePaneWidth = 146;  // the progress bar starts right of it
constexpr int kProgressWidth = 150;
constexpr int kTreeRows = 4;          // the file tree shows two files with their totals

kl::ColorRef ToColorRef(const QColor& color)
{
    return kl::Rgb(color.red(), color.green(), color.blue());
}

}  // namespace

// The icons are compiled into the UI library, whose resource initialiser must be named
// (outside any namespace) to be linked and run.
static void InitResources()
{
    Q_INIT_RESOURCE(kestrilane);
}

CMainFrame::CMainFrame(CKestrilaneApp& app, CKestrilaneDoc& doc) : app_(app), doc_(doc)
{
    InitResources();
    execCompareSetDlg = [](CCompareSetDlg& dialog) { return dialog.exec(); };
    execSettingsDialog = [](QDialog& dialog) { return dialog.exec(); };
    showError = [this](const QString& message) { QMessageBox::critical(this, kAppTitle, message); };
    mergePrefixes_ = kl::ReadMergePrefixes(app_.settingsPath());

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1024, 768);
    placement_ = app_.profile().ReadWindowPlacement(screenSize, kComboWidth);

    viewState_ = new ViewState(this);
    viewState_->setPaired(doc_.docSettings.fPaired != 0);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateCompareModeBand();
    CreateDialogBar();
    CreateStatusBar();
    CreateClient();
    CreateFindBar();

    // The colours and the filler messages are loaded once, as soon as the window exists (the
    // window colour is part of them) and before any view shows the document.
    doc_.LoadColorSettings(ToColorRef(palette().color(QPalette::Base)));

    normalRect_ = QRect(QPoint(placement_.left, placement_.top),
                        QSize(std::max(placement_.right - placement_.left, kSmallestSide),
                              std::max(placement_.bottom - placement_.top, kSmallestSide)));
    move(normalRect_.topLeft());
    resize(normalRect_.size());

    ConnectDocument();
    UpdateTitle(doc_.Title());
    UpdateCommandStates();
    UpdateAllViews();
}

CMainFrame::~CMainFrame()
{
    CancelCompare();
    WritePlacement();
    kl::SaveSelectedPreset(app_.settingsPath(), selectedPreset_);
}

void CMainFrame::CreateActions()
{
    using namespace cmd;
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_SAVE_DOC_A, ID_FILE_SAVE_DOC_B,
                   ID_FILE_SAVE_REPORT, ID_FILE_RELOAD, ID_APP_EXIT,
                   ID_EDIT_COPY, ID_VIEW_TOOLBAR, ID_REBUILD_NEWLINES, ID_HELP_USAGE, ID_APP_ABOUT,
                   ID_VIEW_STATUS_BAR, ID_VIEW_SOURCE, ID_VIEW_RESULT, ID_COMPARE, ID_COMPARE_DETAILED,
                   ID_COMPARE_MINIMAL, ID_COMPARE_STOP, ID_PREV_DIFF, ID_NEXT_DIFF, ID_MERGE, ID_COMPARE_METHOD,
                   ID_WINDOW_SPLIT, ID_NEXT_PANE, ID_PREV_PANE, ID_FONT_SETTINGS, ID_COLOR_SETTINGS,
                   ID_ENVIRONMENT_SETTINGS, ID_VIEW_PAIRED, ID_VIEW_EOL_KIND, ID_VIEW_WRAP, ID_SWAP_SIDES,
                   ID_FOLDER_COMPARE, ID_FOLDER_BACK, ID_EDIT_FIND, ID_EDIT_FIND_NEXT, ID_EDIT_FIND_PREV,
                   ID_EDIT_GOTO_LINE, ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_PASTE, ID_COPY_TO_B,
                   ID_COPY_TO_A, ID_COPY_ALL_TO_B, ID_COPY_ALL_TO_A}) {
        QAction* action = CreateCommandAction(*FindCommand(id), this);
        actions_[id] = action;
        if (id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR) {
            action->setCheckable(true);
            action->setChecked(true);
            continue;  // toggled below, once the bars exist
        }
        if (id == ID_VIEW_PAIRED || id == ID_VIEW_EOL_KIND) {
            action->setCheckable(true);
            action->setChecked((id == ID_VIEW_PAIRED ? doc_.docSettings.fPaired : doc_.docSettings.fEolKind) != 0);
        }
        if (id == ID_VIEW_WRAP) {
            action->setCheckable(true);
            action->setChecked(doc_.docSettings.fWrap != 0);
        }
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
}

void CMainFrame::CreateMenus()
{
    using namespace cmd;
    QMenu* file = menuBar()->addMenu(QStringLiteral(u"ファイル(&F)"));
    file->addAction(actions_[ID_FILE_NEW]);
    file->addAction(actions_[ID_FILE_OPEN]);
    file->addAction(actions_[ID_FOLDER_COMPARE]);
    file->addAction(actions_[ID_FOLDER_BACK]);
    file->addAction(actions_[ID_FILE_SAVE]);
    file->addAction(actions_[ID_FILE_SAVE_DOC_A]);
    file->addAction(actions_[ID_FILE_SAVE_DOC_B]);
    file->addAction(actions_[ID_FILE_SAVE_AS]);
    file->addAction(actions_[ID_FILE_SAVE_REPORT]);
    file->addSeparator();
    QMenu* pairs = file->addMenu(CFileSetMenu::Title());
    pairs->setObjectName(QStringLiteral("fileSetMenu"));
    fileSets_ = new CFileSetMenu(pairs, file, app_.settingsPath(), this);
    connect(fileSets_, &CFileSetMenu::fileSetChosen, this, &CMainFrame::OpenFileSetPair);
    file->addAction(actions_[ID_FILE_RELOAD]);
    file->addSeparator();
    recentMenu_ = file->addMenu(QStringLiteral(u"最近使ったファイル"));
    recentMenu_->setObjectName(QStringLiteral("recentFileMenu"));
    file->addSeparator();
    file->addAction(actions_[ID_APP_EXIT]);
    RebuildRecentFileMenu();
    connect(&app_, &CKestrilaneApp::recentFilesChanged, this, &CMainFrame::RebuildRecentFileMenu);

    QMenu* edit = menuBar()->addMenu(QStringLiteral(u"編集(&E)"));
    edit->addAction(actions_[ID_EDIT_UNDO]);
    edit->addAction(actions_[ID_EDIT_REDO]);
    edit->addSeparator();
    edit->addAction(actions_[ID_EDIT_CUT]);
    edit->addAction(actions_[ID_EDIT_COPY]);
    edit->addAction(actions_[ID_EDIT_PASTE]);
    edit->addSeparator();
    edit->addAction(actions_[ID_COPY_TO_B]);
    edit->addAction(actions_[ID_COPY_TO_A]);
    edit->addAction(actions_[ID_COPY_ALL_TO_B]);
    edit->addAction(actions_[ID_COPY_ALL_TO_A]);
    edit->addSeparator();
    edit->addAction(actions_[ID_EDIT_FIND]);
    edit->addAction(actions_[ID_EDIT_FIND_NEXT]);
    edit->addAction(actions_[ID_EDIT_FIND_PREV]);
    edit->addAction(actions_[ID_EDIT_GOTO_LINE]);

    QMenu* view = menuBar()->addMenu(QStringLiteral(u"表示(&V)"));
    view->addAction(actions_[ID_VIEW_TOOLBAR]);
    view->addAction(actions_[ID_VIEW_STATUS_BAR]);
    view->addAction(actions_[ID_WINDOW_SPLIT]);
    view->addSeparator();
    view->addAction(actions_[ID_VIEW_SOURCE]);
    view->addAction(actions_[ID_VIEW_RESULT]);
    view->addSeparator();
    view->addAction(actions_[ID_VIEW_PAIRED]);
    view->addAction(actions_[ID_VIEW_EOL_KIND]);
    view->addAction(actions_[ID_VIEW_WRAP]);

    QMenu* compare = menuBar()->addMenu(QStringLiteral(u"比較(&C)"));
    compare->addAction(actions_[ID_COMPARE]);
    compare->addAction(actions_[ID_COMPARE_DETAILED]);
    compare->addAction(actions_[ID_COMPARE_MINIMAL]);
    compare->addAction(actions_[ID_COMPARE_STOP]);
    compare->addSeparator();
    compare->addAction(actions_[ID_PREV_DIFF]);
    compare->addAction(actions_[ID_NEXT_DIFF]);

    QMenu* tools = menuBar()->addMenu(QStringLiteral(u"ツール(&T)"));
    tools->addAction(actions_[ID_REBUILD_NEWLINES]);
    tools->addAction(actions_[ID_MERGE]);
    tools->addAction(actions_[ID_SWAP_SIDES]);

    QMenu* settings = menuBar()->addMenu(QStringLiteral(u"設定(&S)"));
    settings->addAction(actions_[ID_FONT_SETTINGS]);
    settings->addAction(actions_[ID_COLOR_SETTINGS]);
    settings->addAction(actions_[ID_COMPARE_METHOD]);
    settings->addAction(actions_[ID_ENVIRONMENT_SETTINGS]);

    QMenu* help = menuBar()->addMenu(QStringLiteral(u"ヘルプ(&H)"));
    help->addAction(actions_[ID_HELP_USAGE]);
    help->addAction(actions_[ID_APP_ABOUT]);

    // Keys without a menu item: the next and the previous pane.
    addAction(actions_[ID_NEXT_PANE]);
    addAction(actions_[ID_PREV_PANE]);
}

void CMainFrame::RebuildRecentFileMenu()
{
    recentMenu_->clear();
    const QStringList& files = app_.recentFiles().files();
    for (int index = 0; index < files.size(); ++index) {
        const int id = cmd::ID_FILE_MRU_FIRST + index;
        QAction* action = recentMenu_->addAction(RecentFileMenuText(index, files[index]));
        action->setObjectName(QStringLiteral("cmd%1").arg(id));
        action->setData(id);
        action->setStatusTip(QStringLiteral(u"このファイルを開きます。"));
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void CMainFrame::CreateToolBar()
{
    using namespace cmd;
    toolBar_ = addToolBar(QStringLiteral(u"ツール バー"));
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setFloatable(false);
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_RELOAD, 0, ID_EDIT_COPY, ID_EDIT_UNDO, ID_EDIT_REDO, 0,
                   ID_COPY_TO_B, ID_COPY_TO_A, ID_COPY_ALL_TO_B, ID_COPY_ALL_TO_A, 0, ID_COMPARE,
                   ID_COMPARE_DETAILED, ID_COMPARE_MINIMAL, ID_COMPARE_STOP, 0, ID_PREV_DIFF, ID_NEXT_DIFF, 0,
                   ID_VIEW_RESULT, ID_VIEW_PAIRED, 0,
                   ID_APP_ABOUT}) {
        if (id == 0)
            toolBar_->addSeparator();
        else
            toolBar_->addAction(actions_[id]);
    }
    QAction* toggle = actions_[ID_VIEW_TOOLBAR];
    connect(toggle, &QAction::toggled, toolBar_, &QWidget::setVisible);
    connect(toolBar_, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

// The band "比較方法": the compare-mode presets. Its sizes come from the profile: the band
// is `wide` pixels long, but never shorter than its minimum child width (`height`, at least
// half of `wide`, and 35 when that comes out below 30); within it the combo box takes its
// ideal width `cmbleft`, never narrower than the minimum child width.
void CMainFrame::CreateCompareModeBand()
{
    comboBand_ = addToolBar(QStringLiteral(u"比較方法"));
    comboBand_->setObjectName(QStringLiteral("compareModeBand"));
    comboBand_->setFloatable(false);
    auto* label = new QLabel(QStringLiteral(u"比較方法"), comboBand_);
    label->setContentsMargins(2, 0, 4, 0);
    comboBand_->addWidget(label);

    presetCombo_ = new QComboBox(comboBand_);
    presetCombo_->setObjectName(QStringLiteral("compareModeCombo"));
    presetCombo_->setProperty("controlId", cmd::IDC_COMPARE_MODE);
    presetCombo_->setToolTip(QStringLiteral(u"比較を始めるときに適用する比較モード"));
    comboBand_->addWidget(presetCombo_);

    int minChild = std::max(placement_.height, placement_.wide / 2);
    if (minChild < 30)
        minChild = 35;
    placement_.height = minChild;
    bandWidth_ = std::max(placement_.wide, minChild);
    presetCombo_->setFixedWidth(std::clamp(placement_.cmbLeft, minChild, bandWidth_));

    FillPresetCombo(*presetCombo_, app_.settingsPath());
    selectedPreset_ = kl::ReadSelectedPreset(app_.settingsPath());
    presetCombo_->setCurrentIndex(selectedPreset_ >= 0 && selectedPreset_ < presetCombo_->count() ? selectedPreset_
                                                                                                : -1);
    // Only the user's choice counts, not a refill of the list.
    connect(presetCombo_, &QComboBox::activated, this, [this](int index) { selectedPreset_ = index; });
}

void CMainFrame::CreateDialogBar()
{
    dialogBarBand_ = addToolBar(QStringLiteral(u"表示切り替え"));
    dialogBarBand_->setObjectName(QStringLiteral("dialogBarBand"));
    dialogBarBand_->setFloatable(false);
    dialogBar_ = new CFrameDlg(dialogBarBand_);
    dialogBarBand_->addWidget(dialogBar_);

    dialogBar_->SetDisplayRadio(0);
    dialogBar_->SetViewState(viewState_);
    dialogBar_->Refresh();
    connect(dialogBar_, &CFrameDlg::showSourceRequested, this, [this] { SwitchDisplay(0, false); });
    connect(dialogBar_, &CFrameDlg::showResultRequested, this, [this] { SwitchDisplay(1, false); });
    connect(dialogBar_, &CFrameDlg::detailModeChanged, this, [this] { UpdateAllViews(); });
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    messagePane_ = new QLabel(QStringLiteral(u"レディ"), bar);
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    messagePane_->setFixedWidth(kMessagePaneWidth);
    bar->addWidget(messagePane_);

    progress_ = new QProgressBar(bar);
    progress_->setObjectName(QStringLiteral("compareProgress"));
    progress_->setProperty("controlId", cmd::IDC_PROGRESS);
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setFixedWidth(kProgressWidth);
    progress_->setMaximumHeight(messagePane_->sizeHint().height());
    bar->addWidget(progress_);
    progress_->hide();
    bar->addWidget(new QWidget(bar), 1);

    indicators_ = new LockIndicators(bar);

    QAction* toggle = actions_[cmd::ID_VIEW_STATUS_BAR];
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
}

void CMainFrame::CreateClient()
{
    outer_ = new QSplitter(Qt::Vertical, this);
    outer_->setObjectName(QStringLiteral("outerSplitter"));
    outer_->setChildrenCollapsible(false);
    tree_ = new CLeftView(outer_);
    lower_ = new CSplitterSnd(doc_, app_.settingsPath(), outer_);
    outer_->addWidget(tree_);
    outer_->addWidget(lower_);
    outer_->setStretchFactor(0, 0);
    outer_->setStretchFactor(1, 1);
    const int rowHeight = std::max(tree_->fontMetrics().height(), tree_->iconSize().height()) + 2;
    const int treeHeight = std::max(60, kTreeRows * rowHeight + 2 * tree_->frameWidth() + 4);
    outer_->setSizes({treeHeight, 100});
    setCentralWidget(outer_);
    // Files dropped anywhere on the window, the file tree included, are opened.
    auto* drops = new FileDropTarget(this);
    drops->Watch(this);
    drops->Watch(tree_->viewport());
    drops->Watch(leftView()->viewport());
    drops->Watch(rightView()->viewport());
    connect(drops, &FileDropTarget::filesDropped, this, &CMainFrame::OpenDroppedFiles);
    // A file moved to another folder is read from there from now on.
    connect(tree_, &CLeftView::fileMoved, &doc_, &CKestrilaneDoc::RenameFilePath, Qt::DirectConnection);
    connect(tree_, &CLeftView::encodingChosen, this, &CMainFrame::OnEncodingChosen);

    // The views, the overview bar, the navigation and the line windows share the view state.
    leftView()->SetViewState(viewState_);
    rightView()->SetViewState(viewState_);
    overView()->Attach(*lower_, *viewState_);
    navigator_ = new CDifferenceNavigator(doc_, *lower_, *viewState_, this);
    navigator_->TrackActions(actions_[cmd::ID_NEXT_DIFF], actions_[cmd::ID_PREV_DIFF]);
    connect(navigator_, &CDifferenceNavigator::arrived, this, [this](int block, int count) {
        statusBar()->showMessage(QStringLiteral(u"相違 %1 / %2").arg(block + 1).arg(count));
    });
    connect(navigator_, &CDifferenceNavigator::endReached, this, [this](bool forward) {
        statusBar()->showMessage(forward ? QStringLiteral(u"最後の相違です。もう一度押すと最初に戻ります。")
                                         : QStringLiteral(u"最初の相違です。もう一度押すと最後に戻ります。"));
    });

    linePopups_[0] = new CLinePopups(*leftView(), doc_, viewState_);
    linePopups_[1] = new CLinePopups(*rightView(), doc_, viewState_);
}

void CMainFrame::ConnectDocument()
{
    connect(&doc_, &CKestrilaneDoc::titleChanged, this, &CMainFrame::UpdateTitle);
    connect(&doc_, &CKestrilaneDoc::documentChanged, this, &CMainFrame::UpdateAllViews);
    connect(&doc_, &CKestrilaneDoc::documentChanged, this, &CMainFrame::UpdateCommandStates);
    connect(&doc_, &CKestrilaneDoc::cleared, this, &CMainFrame::OnDocumentCleared);
    connect(&doc_, &CKestrilaneDoc::docBLoaded, this, [this] {
        viewState_->setDiffPosition(-1);
        navigator_->RefreshActions();
        leftView()->CancelSelection();
        rightView()->CancelSelection();
    });
    connect(&doc_, &CKestrilaneDoc::autoCompareRequested, this, &CMainFrame::OnAutoCompare);
    connect(&doc_, &CKestrilaneDoc::textEdited, this, &CMainFrame::OnTextEdited);
    connect(&doc_, &CKestrilaneDoc::loadNoted, this, [this](const QString& note) { statusBar()->showMessage(note); });
    // A large file is read while the window paints: the progress bar follows the reading.
    connect(&doc_, &CKestrilaneDoc::loadingChanged, this, [this](bool loading, const QString& fileName) {
        if (loading) {
            ShowPlaced();  // a file given on the command line is read before the window shows
            messagePane_->setText(QStringLiteral(u"読み込み中…"));
            progress_->setToolTip(fileName);
            progress_->setValue(0);
            progress_->show();
        } else {
            messagePane_->setText(QStringLiteral(u"レディ"));
            progress_->setToolTip(QString());
            progress_->setVisible(compareActive());
            if (std::exchange(closeAfterLoad_, false))
                QTimer::singleShot(0, this, &QWidget::close);
        }
    });
    connect(&doc_, &CKestrilaneDoc::loadProgress, progress_, &QProgressBar::setValue);
}

CKestrilaneView* CMainFrame::leftView() const
{
    return lower_->leftView();
}

CKestrilane2View* CMainFrame::rightView() const
{
    return lower_->rightView();
}

COverView* CMainFrame::overView() const
{
    return lower_->overView();
}

void CMainFrame::ShowPlaced()
{
    if (shown_)
        return;
    // The second window stands 30 pixels right of the stored place, so that it does not
    // cover the first; it gives up width rather than run off the right edge of the screen.
    if (app_.m_szOption == "o") {
        normalRect_.translate(kOptionShift, 0);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            if (normalRect_.right() > available.right())
                normalRect_.setRight(std::max(available.right(), normalRect_.left() + kSmallestSide - 1));
            if (normalRect_.right() > available.right())
                normalRect_.moveRight(available.right());
        }
        fitFrameOnScreen_ = true;
    }
    move(normalRect_.topLeft());
    resize(normalRect_.size());
    shown_ = true;
    if (placement_.showCmd == kShowMaximized)
        showMaximized();
    else
        show();  // a window stored minimised comes back normal
    FitFrameOnScreen();
}

void CMainFrame::RememberNormalRect()
{
    if (isVisible() && windowState() == Qt::WindowNoState)
        normalRect_ = QRect(pos(), size());
}

void CMainFrame::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    FitFrameOnScreen();
    RememberNormalRect();
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FitFrameOnScreen();
    RememberNormalRect();
}

// Once the window manager has framed the window, the frame's right edge is pulled onto the
// screen too.
void CMainFrame::FitFrameOnScreen()
{
    if (!fitFrameOnScreen_ || !isVisible() || frameGeometry().size() == size())
        return;
    fitFrameOnScreen_ = false;
    const QScreen* screen = this->screen();
    const int excess = screen ? frameGeometry().right() - screen->availableGeometry().right() : 0;
    if (excess > 0 && windowState() == Qt::WindowNoState)
        resize(std::max(width() - excess, kSmallestSide), height());
}

// The rectangle of the normal state, the show state and the sizes of the compare-mode
// band (its length, its minimum child width kept between half and four fifths of that, and
// the combo box's ideal width).
void CMainFrame::WritePlacement()
{
    kl::WindowPlacement placement = placement_;
    placement.left = normalRect_.left();
    placement.top = normalRect_.top();
    placement.right = normalRect_.left() + normalRect_.width();
    placement.bottom = normalRect_.top() + normalRect_.height();
    if (shown_) {
        const Qt::WindowStates state = windowState();
        placement.showCmd = state & Qt::WindowMinimized   ? kShowMinimized
                            : state & Qt::WindowMaximized ? kShowMaximized
                                                          : kShowNormal;
    }
    placement.wide = bandWidth_;
    placement.height = std::clamp(placement_.height, bandWidth_ / 2, bandWidth_ * 4 / 5);
    placement.cmbLeft = placement_.cmbLeft;
    app_.profile().WriteWindowPlacement(placement);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // A merge asking a block is ended first; the window closes once it has unwound.
    if (mergeQuerying()) {
        mergeDlg_->AbandonQuery();
        event->ignore();
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    // A file being read is read to the end; the window closes after it.
    if (doc_.loading()) {
        event->ignore();
        closeAfterLoad_ = true;
        return;
    }
    if (!doc_.AskSaveEdited()) {
        event->ignore();
        return;
    }
    CancelCompare();
    if (mergeDlg_)
        mergeDlg_->afterMerge().OfferCleanUp(this, mergePrompts);
    QMainWindow::closeEvent(event);
}

void CMainFrame::UpdateTitle(const QString& documentTitle)
{
    setWindowTitle(documentTitle.isEmpty() ? kAppTitle : documentTitle + QStringLiteral(" - ") + kAppTitle);
    // The file tree marks an edited text too, and names the file a save went to.
    for (int side = 0; side < 2 && side < static_cast<int>(doc_.textDoc.filePaths.size()); ++side)
        tree_->ShowFileState(side, doc_.textDoc.filePaths[static_cast<std::size_t>(side)], doc_.edited(side));
    UpdateSaveCommands();
}

void CMainFrame::OpenDroppedFiles(const QStringList& paths, QObject* target)
{
    if (RefuseWhileMerging() || !doc_.AskSaveEdited())
        return;
    if (OpenDroppedFolders(paths))
        return;
    const int side = target == leftView()->viewport() ? kl::DOC_A : target == rightView()->viewport() ? kl::DOC_B : -1;
    if (side >= 0 && paths.size() == 1 && ReplaceSide(side, paths.front()))
        return;
    for (const QString& path : paths)
        app_.OpenDocumentFile(QFile::encodeName(path).toStdString());
}

// One file dropped on a pane takes the place of that pane's text once the user agrees; the
// other text is read again beside it (a conversion made for the old partner must not stay).
// False when the drop is an ordinary open: nothing loaded yet, or DocB's pane with only DocA.
bool CMainFrame::ReplaceSide(int side, const QString& path)
{
    const kl::TextDocument& text = doc_.textDoc;
    const int loaded = kl::LoadedTextCount(text);
    if (loaded == 0 || (loaded == 1 && side == kl::DOC_B))
        return false;
    const QString question = QStringLiteral(u"%1を「%2」で置き換えますか？")
                                 .arg(DocName(side),
                                      QFileInfo(path).fileName());
    if (!app_.prompts.askReplaceSide || !app_.prompts.askReplaceSide(this, question))
        return true;
    const int kept = loaded == 2 ? 1 - side : -1;
    const std::string keptPath = kept >= 0 ? text.filePaths[static_cast<std::size_t>(kept)] : std::string();
    const kl::EncodingChoice keptChoice = kept >= 0 ? text.encodingChoices[static_cast<std::size_t>(kept)]
                                                    : kl::EncodingChoice::Auto;
    CancelCompare();
    doc_.OnNewDocument();
    tree_->ClearFiles();
    const std::string dropped = QFile::encodeName(path).toStdString();
    if (side == kl::DOC_A) {
        const bool opened = app_.OpenDocumentFile(dropped);
        if (kept >= 0) {  // beside the new DocA, or in its place when it could not be read
            doc_.textDoc.encodingChoices[opened ? kl::DOC_B : kl::DOC_A] = keptChoice;
            doc_.OnOpenDocument(keptPath);
        }
    } else {
        doc_.textDoc.encodingChoices[kl::DOC_A] = keptChoice;
        if (doc_.OnOpenDocument(keptPath))
            app_.OpenDocumentFile(dropped);
    }
    return true;
}
