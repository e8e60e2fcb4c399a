#include "ui/tree/left_view.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <algorithm>

#include "ui/display/side_marks.h"
#include "ui/document/kestrilane_doc.h"
#include "engine/document/text_description.h"
#include "engine/platform/cp932.h"
#include "engine/platform/file_transfer.h"
#include "ui/platform/path_text.h"

namespace {

// Item data: the hint carries -1, file items 0, statistics items nothing.
constexpr int kKindRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;  // file items: the path's bytes
constexpr int kHintKind = -1;
constexpr int kFileKind = 0;

const QString kHintText = QStringLiteral(u"ここにファイルをドラッグしてください。");

QAction* AddCommand(QMenu* menu, const QString& text, int id)
{
    QAction* action = menu->addAction(text);
    action->setData(id);
    return action;
}

// A file item shows its path as text and keeps its bytes.
void SetItemPath(QTreeWidgetItem* item, const std::string& path)
{
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    item->setText(0, QFile::decodeName(bytes));
    item->setToolTip(0, item->text(0));
    item->setData(0, kPathRole, bytes);
}

}  // namespace

CLeftView::CLeftView(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    // The second column tells how each file is read (encoding, line ends).
    setColumnCount(2);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    setRootIsDecorated(false);  // expand buttons appear with the first statistics item
    setIconSize(QSize(kl::kSideMarkWidth, kl::kSideMarkHeight));
    setSelectionMode(QAbstractItemView::SingleSelection);

    menu_ = new QMenu(this);
    connect(AddCommand(menu_, QStringLiteral(u"フォルダを選択してコピー(&C)"), ID_COPY_TO_FOLDER),
            &QAction::triggered, this, &CLeftView::OnCopyToFolder);
    connect(AddCommand(menu_, QStringLiteral(u"フォルダを選択して移動(&M)"), ID_MOVE_TO_FOLDER),
            &QAction::triggered, this, &CLeftView::OnMoveToFolder);
    connect(AddCommand(menu_, QStringLiteral(u"開く(&E)"), ID_OPEN_FILE), &QAction::triggered, this,
            &CLeftView::OnOpenFile);
    menu_->addSeparator();
    // How the file is read; choosing reads both files again.
    encodingMenu_ = menu_->addMenu(QStringLiteral(u"文字コード"));
    const std::pair<QString, kl::EncodingChoice> encodings[] = {
        {QStringLiteral(u"自動"), kl::EncodingChoice::Auto},
        {QStringLiteral("Shift_JIS"), kl::EncodingChoice::ShiftJis},
        {QStringLiteral("UTF-8"), kl::EncodingChoice::Utf8},
        {QStringLiteral("EUC-JP"), kl::EncodingChoice::EucJp},
    };
    auto* encodingGroup = new QActionGroup(this);
    for (const auto& [label, choice] : encodings) {
        QAction* action = encodingMenu_->addAction(label);
        action->setCheckable(true);
        action->setData(static_cast<int>(choice));
        encodingGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, choice] {
            const int doc = ChosenDocIndex();
            if (doc >= 0)
                emit encodingChosen(doc, choice);
        });
    }

    InsertHint();
}

void CLeftView::InsertHint()
{
    auto* hint = new QTreeWidgetItem(this, QStringList(kHintText));
    hint->setIcon(0, kl::SideIcon(0));
    hint->setData(0, kKindRole, kHintKind);
}

void CLeftView::OnUpdateFromDocument(CKestrilaneDoc& doc)
{
    kl::TextDocument& text = doc.textDoc;
    choices_ = text.encodingChoices;
    const int pathCount = static_cast<int>(text.filePaths.size());
    for (int& pending : text.pendingTreePaths) {
        if (pending >= 1 && pending <= pathCount)
            AddFileItem(text.filePaths[static_cast<std::size_t>(pending - 1)]);
        pending = 0;
    }
    // Each file says how it is read: encoding, conversion and line-end style. A text is
    // described once; the views update far more often than texts are loaded.
    for (int k = 0; k < 2 && k < fileItemCount(); ++k) {
        QTreeWidgetItem* item = fileItem(k);
        const std::shared_ptr<const kl::Text>& shared = text.texts[static_cast<std::size_t>(k)];
        const kl::Text* loaded = shared.get();
        std::weak_ptr<const kl::Text>& described = described_[static_cast<std::size_t>(k)];
        if (!item || !loaded || (described.lock() == shared && !item->text(1).isEmpty()))
            continue;
        described = shared;
        QString label = QStringLiteral("[%1]").arg(QString::fromStdString(kl::TextDescription(*loaded)));
        if (kl::LooksBinary(*loaded))
            label += QStringLiteral(u"   バイナリファイルの可能性があります");
        item->setText(1, label);
    }
}

void CLeftView::AddFileItem(const std::string& path)
{
    QTreeWidgetItem* item = topLevelItemCount() > 0 ? topLevelItem(0) : nullptr;
    if (!item || item->data(0, kKindRole).toInt() != kHintKind) {
        item = new QTreeWidgetItem(this);
        item->setIcon(0, kl::SideIcon(std::min(fileItemCount(), 1)));
    }
    SetItemPath(item, path);
    item->setData(0, kKindRole, kFileKind);
    fileItems_.push_back(item);
    childCounts_.push_back(0);
}

void CLeftView::ShowFileState(int doc, const std::string& path, bool edited)
{
    QTreeWidgetItem* item = fileItem(doc);
    if (!item)
        return;
    if (item->data(0, kPathRole).toByteArray().toStdString() != path)
        SetItemPath(item, path);
    const QString shown = QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
    item->setText(0, edited ? QStringLiteral("* ") + shown : shown);
}

void CLeftView::SetStatistics(int doc, const std::string& cp932Text)
{
    QTreeWidgetItem* parent = fileItem(doc);
    if (!parent)
        return;
    auto* statistics = new QTreeWidgetItem(parent, QStringList(QString::fromStdString(kl::Cp932ToUtf8(cp932Text))));
    statistics->setIcon(0, QIcon(kl::DigitsMark()));
    ++childCounts_[static_cast<std::size_t>(doc)];
    setRootIsDecorated(true);
    parent->setExpanded(true);
}

void CLeftView::ClearFiles()
{
    clear();
    fileItems_.clear();
    childCounts_.clear();
    chosenPath_.clear();
    setRootIsDecorated(false);
    InsertHint();
}

std::vector<std::string> CLeftView::FileEntryPaths() const
{
    std::vector<std::string> paths;
    for (const QTreeWidgetItem* item : fileItems_)
        paths.push_back(item->data(0, kPathRole).toByteArray().toStdString());
    return paths;
}

QTreeWidgetItem* CLeftView::fileItem(int index) const
{
    if (index < 0 || index >= fileItemCount())
        return nullptr;
    return fileItems_[static_cast<std::size_t>(index)];
}

int CLeftView::statisticsCount(int index) const
{
    return fileItem(index) ? childCounts_[static_cast<std::size_t>(index)] : 0;
}

bool CLeftView::ChooseForMenu(QTreeWidgetItem* item)
{
    chosenPath_.clear();
    if (!item || item->parent() || item->data(0, kKindRole).toInt() != kFileKind)
        return false;
    chosenPath_ = item->data(0, kPathRole).toByteArray().toStdString();
    return true;
}

void CLeftView::contextMenuEvent(QContextMenuEvent* event)
{
    QTreeWidgetItem* item = event->reason() == QContextMenuEvent::Mouse ? itemAt(event->pos()) : currentItem();
    if (!ChooseForMenu(item))
        return;
    setCurrentItem(item);
    // The check shows the choice the file is read with now.
    const int doc = ChosenDocIndex();
    for (QAction* action : encodingMenu_->actions())
        action->setChecked(doc >= 0 && action->data().toInt() == static_cast<int>(encodingChoiceOf(doc)));
    encodingMenu_->setEnabled(doc >= 0);
    QPoint at = event->globalPos();
    if (event->reason() != QContextMenuEvent::Mouse) {
        const QRect rect = visualItemRect(item);
        at = viewport()->mapToGlobal(QPoint(rect.left() + 30, rect.bottom()));
    }
    menu_->popup(at);
}

int CLeftView::ChosenDocIndex() const
{
    QTreeWidgetItem* item = currentItem();
    for (int k = 0; k < fileItemCount() && k < 2; ++k) {
        if (fileItem(k) == item)
            return k;
    }
    return -1;
}

void CLeftView::OnCopyToFolder()
{
    TransferChosen(false);
}

void CLeftView::OnMoveToFolder()
{
    TransferChosen(true);
}

void CLeftView::TransferChosen(bool move)
{
    if (chosenPath_.empty())
        return;
    QWidget* owner = window();
    const QString folder = prompts.chooseFolder(
        owner, move ? QStringLiteral(u"移動先のフォルダを指定してください")
                    : QStringLiteral(u"コピー先のフォルダを指定してください"));
    kl::TransferResult result;
    if (!folder.isEmpty()) {
        result = kl::TransferFile(chosenPath_, QFile::encodeName(folder).toStdString(),
                                  move ? kl::TransferKind::Move : kl::TransferKind::Copy);
    }
    if (!result.ok) {
        prompts.showFailure(owner, move ? QStringLiteral(u"移動に失敗しました") : QStringLiteral(u"コピーに失敗しました"));
        return;
    }
    if (move) {
        const std::string from = chosenPath_;
        FollowMovedFile(from, result.targetPath);
        emit fileMoved(from, result.targetPath);
    }
    if (result.renamed) {
        prompts.showInformation(
            owner, QStringLiteral(u"すでに同名のファイルが存在していたためファイル名を%1に変更して処理しました")
                       .arg(PathText(result.targetName)));
    }
}

// Every item of the file (the same file may be loaded twice) names its new place, so a
// reload reads it there.
void CLeftView::FollowMovedFile(const std::string& from, const std::string& to)
{
    for (QTreeWidgetItem* item : fileItems_) {
        if (item->data(0, kPathRole).toByteArray().toStdString() == from)
            SetItemPath(item, to);
    }
    chosenPath_ = to;
}

void CLeftView::OnOpenFile()
{
    if (!chosenPath_.empty())
        prompts.openFile(QFile::decodeName(QByteArray::fromStdString(chosenPath_)));
}
