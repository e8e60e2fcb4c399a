#include "ui/folders/folder_page.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "engine/platform/file_copy.h"
#include "engine/platform/file_error_text.h"
#include "ui/folders/folder_model.h"
#include "ui/folders/folder_worker.h"
#include "ui/platform/path_text.h"

namespace {

QString PatternText(const std::vector<std::string>& patterns)
{
    return QString::fromStdString(kl::JoinPatterns(patterns));
}

std::vector<std::string> Patterns(const QLineEdit* field)
{
    return kl::SplitPatterns(field->text().toStdString());
}

QCheckBox* AddCheck(QHBoxLayout* row, const QString& text, const QString& name, bool checked)
{
    auto* box = new QCheckBox(text);
    box->setObjectName(name);
    box->setChecked(checked);
    row->addWidget(box);
    return box;
}

}  // namespace

FolderPage::FolderPage(std::string iniPath, QWidget* parent) : QWidget(parent), iniPath_(std::move(iniPath))
{
    setObjectName(QStringLiteral("folderPage"));
    confirmOverwrite = [this](const QString& path) {
        return QMessageBox::question(this, QStringLiteral(u"コピー"),
                                     QStringLiteral(u"%1 はすでにあります。上書きしますか？").arg(path)) ==
               QMessageBox::Yes;
    };
    showError = [this](const QString& message) { QMessageBox::warning(this, QStringLiteral("Kestrilane"), message); };
    model_ = new FolderModel(this);
    BuildControls();
}

FolderPage::~FolderPage()
{
    delete worker_;  // stops and joins its thread
}

void FolderPage::BuildControls()
{
    const kl::FolderFilterSet set = kl::ReadSelectedFolderFilter(iniPath_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    rootsLabel_ = new QLabel;
    rootsLabel_->setObjectName(QStringLiteral("folderRoots"));
    rootsLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(rootsLabel_);

    auto* actions = new QHBoxLayout;
    const auto addButton = [&](const QString& text, const QString& name, const QString& tip, auto slot) {
        auto* button = new QPushButton(text);
        button->setObjectName(name);
        button->setToolTip(tip);
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this, slot);
        actions->addWidget(button);
        return button;
    };
    addButton(QStringLiteral(u"更新"), QStringLiteral("folderRefresh"), QStringLiteral(u"もう一度比較します (F5)"),
              [this] { Refresh(); });
    addButton(QStringLiteral(u"コピー →"), QStringLiteral("folderCopyToB"),
              QStringLiteral(u"DocA 側をDocB 側へコピーします (Ctrl+Shift+Right)"), [this] { CopySelected(true); });
    addButton(QStringLiteral(u"コピー ←"), QStringLiteral("folderCopyToA"),
              QStringLiteral(u"DocB 側をDocA 側へコピーします (Ctrl+Shift+Left)"), [this] { CopySelected(false); });
    stopButton_ = addButton(QStringLiteral(u"中止"), QStringLiteral("folderStop"), QStringLiteral(u"比較を中止します (Ctrl+D)"),
                            [this] { Stop(); });
    stopButton_->setEnabled(false);
    actions->addSpacing(12);
    hideSame_ = AddCheck(actions, QStringLiteral(u"同一を隠す"), QStringLiteral("folderHideSame"), false);
    onlyDifferences_ = AddCheck(actions, QStringLiteral(u"相違のみ"), QStringLiteral("folderOnlyDifferences"), false);
    foldUnchanged_ = AddCheck(actions, QStringLiteral(u"相違のないフォルダを閉じる"), QStringLiteral("folderFold"), true);
    for (QCheckBox* box : {hideSame_, onlyDifferences_, foldUnchanged_})
        connect(box, &QCheckBox::toggled, this, &FolderPage::ApplyDisplay);
    actions->addStretch(1);
    progressText_ = new QLabel;
    progressText_->setObjectName(QStringLiteral("folderProgressText"));
    actions->addWidget(progressText_);
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("folderProgress"));
    progress_->setFixedWidth(150);
    progress_->setTextVisible(false);
    progress_->hide();
    actions->addWidget(progress_);
    layout->addLayout(actions);

    auto* filters = new QHBoxLayout;
    const auto addField = [&](const QString& label, const QString& name, const QString& text, const QString& hint) {
        filters->addWidget(new QLabel(label));
        auto* field = new QLineEdit(text);
        field->setObjectName(name);
        field->setPlaceholderText(hint);
        connect(field, &QLineEdit::returnPressed, this, [this] { Refresh(); });
        filters->addWidget(field, 1);
        return field;
    };
    filterName_ = addField(QStringLiteral(u"フィルタ名"), QStringLiteral("folderFilterName"),
                           QString::fromStdString(set.name), QString());
    filterName_->setMaximumWidth(120);
    include_ = addField(QStringLiteral(u"対象"), QStringLiteral("folderInclude"), PatternText(set.filter.include),
                        QStringLiteral("*.txt;*.md"));
    exclude_ = addField(QStringLiteral(u"除外"), QStringLiteral("folderExclude"), PatternText(set.filter.exclude),
                        QStringLiteral(".git;node_modules;*.bak"));
    hidden_ = AddCheck(filters, QStringLiteral(u"隠しファイル"), QStringLiteral("folderHidden"), set.filter.includeHidden);
    compareAsText_ = AddCheck(filters, QStringLiteral(u"テキストとして比較"), QStringLiteral("folderCompareAsText"),
                              set.compareAsText);
    compareAsText_->setToolTip(QStringLiteral(u"内容の異なるファイルを現在の比較方法でテキストとして比較します"));
    layout->addLayout(filters);

    view_ = new QTreeView;
    view_->setObjectName(QStringLiteral("folderTree"));
    view_->setModel(model_);
    view_->setUniformRowHeights(true);
    view_->setAlternatingRowColors(false);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->header()->setStretchLastSection(false);
    view_->header()->setSectionResizeMode(QHeaderView::Interactive);
    const int widths[FolderModel::ColumnCount] = {260, 290, 80, 140, 110, 80, 140, 110};
    for (int column = 0; column < FolderModel::ColumnCount; ++column)
        view_->setColumnWidth(column, widths[column]);
    // A double click opens a pair or a folder once: through activated, not also by itself.
    view_->setExpandsOnDoubleClick(false);
    connect(view_, &QTreeView::activated, this, &FolderPage::OnActivated);
    const auto addKey = [this](const QKeySequence& key, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    addKey(QKeySequence(Qt::Key_F5), [this] { Refresh(); });
    addKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right), [this] { CopySelected(true); });
    addKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left), [this] { CopySelected(false); });
    layout->addWidget(view_, 1);

    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("folderSummary"));
    layout->addWidget(summary_);
}

kl::FolderCompareRequest FolderPage::CurrentRequest() const
{
    kl::FolderCompareRequest request;
    request.filter.include = Patterns(include_);
    request.filter.exclude = Patterns(exclude_);
    request.filter.includeHidden = hidden_->isChecked();
    request.compareAsText = compareAsText_->isChecked();
    request.options = compareOptions_;
    return request;
}

FolderDisplay FolderPage::CurrentDisplay() const
{
    FolderDisplay display;
    display.hideSame = hideSame_->isChecked();
    display.onlyDifferences = onlyDifferences_->isChecked();
    return display;
}

void FolderPage::SaveFilterSet()
{
    kl::FolderFilterSet set;
    set.name = filterName_->text().trimmed().toStdString();
    if (set.name.empty())
        return;
    const kl::FolderCompareRequest request = CurrentRequest();
    set.filter = request.filter;
    set.compareAsText = request.compareAsText;
    // Written only when the user changed the filters: comparing alone leaves the file alone.
    if (set != kl::ReadSelectedFolderFilter(iniPath_)) {
        if (!iniPath_.empty() && !kl::SaveFolderFilter(iniPath_, set))
            showError(QStringLiteral(u"フィルタを設定ファイル %1 に保存できませんでした。").arg(PathText(iniPath_)));
    }
}

void FolderPage::Start(const std::string& folderA, const std::string& folderB)
{
    // A refresh comes back to the row it left, by path: entries may have come or gone.
    const int keep = currentEntry();
    restorePath_.clear();
    if (roots_[0] == folderA && roots_[1] == folderB && keep > 0 && tree_)
        restorePath_ = kl::RelativePath(*tree_, keep);
    delete worker_;
    worker_ = nullptr;
    roots_[0] = folderA;
    roots_[1] = folderB;
    rootsLabel_->setText(QStringLiteral(u"DocA: %1    DocB: %2").arg(PathText(folderA), PathText(folderB)));
    SaveFilterSet();
    auto* worker = new FolderWorker(folderA, folderB, CurrentRequest(), workerHook);
    // A child of the page: one whose deferred deletion has not come yet still goes (and joins
    // its thread) with the page.
    worker->setParent(this);
    connect(worker, &FolderWorker::progressChanged, this, &FolderPage::OnProgress);
    connect(worker, &FolderWorker::finished, this, &FolderPage::OnFinished);
    if (!worker->Start()) {
        delete worker;
        showError(QStringLiteral(u"比較を開始できませんでした。"));
        return;
    }
    worker_ = worker;
    progress_->setRange(0, 0);
    progress_->show();
    progressText_->setText(QStringLiteral(u"フォルダを確認中..."));
    stopButton_->setEnabled(true);
    emit runningChanged(true);
}

void FolderPage::Refresh()
{
    if (!roots_[0].empty() || !roots_[1].empty())
        Start(roots_[0], roots_[1]);
}

void FolderPage::Stop()
{
    if (worker_)
        worker_->RequestStop();
}

void FolderPage::OnProgress()
{
    if (!worker_)
        return;
    const kl::FolderProgress progress = worker_->progress();
    if (progress.toCompare > 0) {
        progress_->setRange(0, 1000);
        progress_->setValue(static_cast<int>(progress.compared * 1000 / progress.toCompare));
    }
    progressText_->setText(QStringLiteral(u"%1 件を確認 / %2 件を比較").arg(progress.seen).arg(progress.compared));
}

void FolderPage::OnFinished(std::shared_ptr<const kl::FolderTree> tree, const QString& failure)
{
    worker_->deleteLater();
    worker_ = nullptr;
    progress_->hide();
    progressText_->clear();
    stopButton_->setEnabled(false);
    if (!failure.isEmpty()) {
        emit runningChanged(false);
        showError(failure);
        return;
    }
    // The page owns a copy it may change (a copied entry is compared again).
    tree_ = std::make_shared<kl::FolderTree>(*tree);
    model_->SetTree(tree_);
    ExpandDifferences();
    if (const int restored = restorePath_.empty() ? -1 : kl::FindEntry(*tree_, restorePath_); restored > 0)
        SelectEntry(restored);
    else if (model_->rowCount() > 0)
        view_->setCurrentIndex(model_->index(0, 0));
    ShowSummary();
    emit runningChanged(false);
}

void FolderPage::ApplyDisplay()
{
    const int keep = currentEntry();
    model_->SetDisplay(CurrentDisplay());
    ExpandDifferences();
    if (keep > 0)
        SelectEntry(keep);
}

void FolderPage::ExpandDifferences()
{
    if (!tree_)
        return;
    if (!foldUnchanged_->isChecked()) {
        view_->expandAll();
        return;
    }
    view_->collapseAll();
    for (std::size_t i = 1; i < tree_->entries.size(); ++i) {
        const kl::FolderEntry& entry = tree_->entries[i];
        if (entry.IsFolder() && kl::DifferenceCount(entry.counts) > 0)
            view_->expand(model_->IndexOf(static_cast<int>(i)));
    }
}

void FolderPage::ShowSummary()
{
    if (!tree_)
        return;
    QString text = QStringLiteral(u"合計: ") + QString::fromUtf8(kl::CountsSummary(kl::Totals(*tree_)));
    if (tree_->stopped)
        text += QStringLiteral(u"（中止しました: 未比較の項目があります）");
    summary_->setText(text);
}

const kl::FolderTree* FolderPage::tree() const
{
    return tree_.get();
}

int FolderPage::currentEntry() const
{
    return model_->EntryAt(view_->currentIndex());
}

void FolderPage::SelectEntry(int entry)
{
    const QModelIndex index = model_->IndexOf(entry);
    if (!index.isValid())
        return;
    for (QModelIndex above = index.parent(); above.isValid(); above = above.parent())
        view_->expand(above);
    view_->setCurrentIndex(index);
    view_->scrollTo(index);
}

void FolderPage::SetColors(const kl::ColorTable& colors)
{
    model_->SetColors(colors);
}

void FolderPage::OnActivated(const QModelIndex& index)
{
    const int entry = model_->EntryAt(index);
    if (entry <= 0 || !tree_)
        return;
    const kl::FolderEntry& e = tree_->entries[static_cast<std::size_t>(entry)];
    if (e.IsFolder()) {
        view_->setExpanded(index.siblingAtColumn(0), !view_->isExpanded(index.siblingAtColumn(0)));
        return;
    }
    if (e.sides[0].kind != kl::EntryKind::File || e.sides[1].kind != kl::EntryKind::File) {
        showError(QStringLiteral(u"両側にファイルがある項目だけを並べて比較できます。"));
        return;
    }
    emit openPairRequested(kl::SidePath(*tree_, entry, 0), kl::SidePath(*tree_, entry, 1));
}

void FolderPage::OpenSelected()
{
    OnActivated(view_->currentIndex());
}

void FolderPage::CopySelected(bool toB)
{
    const int entry = currentEntry();
    if (entry <= 0 || !tree_ || worker_)
        return;
    const int from = toB ? 0 : 1;
    const kl::FolderEntry& e = tree_->entries[static_cast<std::size_t>(entry)];
    if (e.sides[static_cast<std::size_t>(from)].kind == kl::EntryKind::Missing) {
        showError(QStringLiteral(u"コピー元がありません。"));
        return;
    }
    const std::string source = kl::SidePath(*tree_, entry, from);
    const std::string target = kl::SidePath(*tree_, entry, 1 - from);
    bool replace = false;
    if (e.sides[static_cast<std::size_t>(1 - from)].kind != kl::EntryKind::Missing) {
        if (!confirmOverwrite(PathText(target)))
            return;
        replace = true;
    }
    const kl::CopyResult result = kl::CopyEntry(source, target, replace);
    if (result.outcome != kl::CopyOutcome::Copied) {
        QString reason = result.outcome == kl::CopyOutcome::TargetExists ? QStringLiteral(u"同名のファイルがあります")
                         : result.outcome == kl::CopyOutcome::Refused
                             ? QStringLiteral(u"書き込みできないか、種類の異なる項目です")
                             : QString::fromStdString(kl::FileErrorText(result.error));
        showError(QStringLiteral(u"コピーに失敗しました: %1\n（%2）").arg(PathText(result.failedPath), reason));
    }
    if (e.IsFolder() || e.sides[0].kind == kl::EntryKind::Folder || e.sides[1].kind == kl::EntryKind::Folder) {
        Refresh();
        return;
    }
    ShowEntryComparedAgain(entry);
}

void FolderPage::CompareFileAgain(const std::string& path)
{
    if (!tree_ || worker_)
        return;
    for (std::string prefix : tree_->roots) {
        if (prefix.empty() || prefix.back() != '/')
            prefix += '/';
        if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0)
            continue;
        const int entry = kl::FindEntry(*tree_, std::string_view(path).substr(prefix.size()));
        if (entry > 0 && !tree_->entries[static_cast<std::size_t>(entry)].IsFolder()) {
            const int current = currentEntry();
            ShowEntryComparedAgain(entry);
            if (current > 0)
                SelectEntry(current);
        }
    }
}

void FolderPage::ShowEntryComparedAgain(int entry)
{
    kl::CompareEntryAgain(*tree_, entry, CurrentRequest());
    model_->SetTree(tree_);
    ExpandDifferences();
    SelectEntry(entry);
    ShowSummary();
}
