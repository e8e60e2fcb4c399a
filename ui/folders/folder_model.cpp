#include "ui/folders/folder_model.h"

#include <QBrush>
#include <QColor>
#include <QLocale>

#include "engine/platform/file_error_text.h"
#include "engine/platform/local_time.h"
#include "ui/display/painters.h"
#include "ui/platform/path_text.h"

namespace {

QString SizeText(const kl::EntrySide& side)
{
    if (side.kind != kl::EntryKind::File)
        return {};
    return QLocale(QLocale::Japanese).toString(static_cast<qulonglong>(side.size));
}

QString KindText(const kl::EntrySide& side)
{
    switch (side.kind) {
    case kl::EntryKind::Missing: return {};
    case kl::EntryKind::File: return QString::fromStdString(side.description);
    case kl::EntryKind::Folder: return QStringLiteral(u"フォルダ");
    case kl::EntryKind::Link: return QStringLiteral(u"リンク → ") + PathText(side.linkTarget);
    case kl::EntryKind::Special: return QStringLiteral(u"特殊ファイル");
    }
    return {};
}

// "相違 (相違 3 / DocAのみ 1)" for a folder with differences below it.
QString StateText(const kl::FolderEntry& entry)
{
    QString text = QString::fromUtf8(kl::EntryStateLabel(entry.state));
    if (entry.IsFolder() && kl::DifferenceCount(entry.counts) > 0) {
        QStringList parts;
        for (int s = 0; s < kl::kEntryStateCount; ++s) {
            const auto state = static_cast<kl::EntryState>(s);
            if (kl::IsDifference(state) && entry.counts[static_cast<std::size_t>(s)] > 0)
                parts << QString::fromUtf8(kl::EntryStateLabel(state)) + QLatin1Char(' ') +
                             QString::number(entry.counts[static_cast<std::size_t>(s)]);
        }
        text += QStringLiteral(" (") + parts.join(QStringLiteral(" / ")) + QLatin1Char(')');
    }
    return text;
}

}  // namespace

FolderModel::FolderModel(QObject* parent) : QAbstractItemModel(parent) {}

void FolderModel::SetTree(std::shared_ptr<const kl::FolderTree> tree)
{
    beginResetModel();
    tree_ = std::move(tree);
    Rebuild();
    endResetModel();
}

void FolderModel::SetDisplay(const FolderDisplay& display)
{
    if (display == display_)
        return;
    beginResetModel();
    display_ = display;
    Rebuild();
    endResetModel();
}

void FolderModel::SetColors(const kl::ColorTable& colors)
{
    colors_ = colors;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

bool FolderModel::Shows(const kl::FolderEntry& entry) const
{
    if (display_.onlyDifferences && !kl::IsDifference(entry.state))
        return false;
    return !(display_.hideSame && entry.state == kl::EntryState::Same);
}

void FolderModel::Rebuild()
{
    shownChildren_.clear();
    rowInParent_.clear();
    if (!tree_)
        return;
    const std::size_t count = tree_->entries.size();
    shownChildren_.resize(count);
    rowInParent_.assign(count, -1);
    for (std::size_t i = 0; i < count; ++i) {
        const kl::FolderEntry& entry = tree_->entries[i];
        // A hidden folder hides everything below it: its children are never reached.
        if (i != 0 && rowInParent_[i] < 0)
            continue;
        for (std::int32_t c = 0; c < entry.childCount; ++c) {
            const std::int32_t child = entry.firstChild + c;
            if (!Shows(tree_->entries[static_cast<std::size_t>(child)]))
                continue;
            rowInParent_[static_cast<std::size_t>(child)] = static_cast<std::int32_t>(shownChildren_[i].size());
            shownChildren_[i].push_back(child);
        }
    }
}

int FolderModel::EntryAt(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex FolderModel::IndexOf(int entry) const
{
    if (!tree_ || entry <= 0 || static_cast<std::size_t>(entry) >= rowInParent_.size() ||
        rowInParent_[static_cast<std::size_t>(entry)] < 0)
        return {};
    return createIndex(rowInParent_[static_cast<std::size_t>(entry)], 0, static_cast<quintptr>(entry));
}

QModelIndex FolderModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!tree_ || row < 0 || column < 0 || column >= ColumnCount)
        return {};
    const int parentEntry = parent.isValid() ? EntryAt(parent) : 0;
    const auto& children = shownChildren_[static_cast<std::size_t>(parentEntry)];
    if (static_cast<std::size_t>(row) >= children.size())
        return {};
    return createIndex(row, column, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex FolderModel::parent(const QModelIndex& child) const
{
    const int entry = EntryAt(child);
    if (entry <= 0)
        return {};
    return IndexOf(tree_->entries[static_cast<std::size_t>(entry)].parent);
}

int FolderModel::rowCount(const QModelIndex& parent) const
{
    if (!tree_ || (parent.isValid() && parent.column() != 0))
        return 0;
    return static_cast<int>(shownChildren_[static_cast<std::size_t>(parent.isValid() ? EntryAt(parent) : 0)].size());
}

int FolderModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

bool FolderModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant FolderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Name: return QStringLiteral(u"名前");
    case State: return QStringLiteral(u"状態");
    case SizeA: return QStringLiteral(u"DocA サイズ");
    case TimeA: return QStringLiteral(u"DocA 更新日時");
    case KindA: return QStringLiteral(u"DocA 文字コード");
    case SizeB: return QStringLiteral(u"DocB サイズ");
    case TimeB: return QStringLiteral(u"DocB 更新日時");
    case KindB: return QStringLiteral(u"DocB 文字コード");
    default: return {};
    }
}

QVariant FolderModel::data(const QModelIndex& index, int role) const
{
    const int entryIndex = EntryAt(index);
    if (entryIndex <= 0)
        return {};
    const kl::FolderEntry& entry = tree_->entries[static_cast<std::size_t>(entryIndex)];
    if (role == Qt::BackgroundRole) {
        // A folder is coloured only for what it is itself; its counts tell what lies below.
        if (entry.IsFolder() && (entry.state == kl::EntryState::Different || entry.state == kl::EntryState::Pending))
            return {};
        switch (entry.state) {
        case kl::EntryState::OnlyA: return QBrush(kl::ColorFromRef(colors_[kl::COLOR_DOC1]));
        case kl::EntryState::OnlyB: return QBrush(kl::ColorFromRef(colors_[kl::COLOR_DOC2]));
        case kl::EntryState::Same:
        case kl::EntryState::EqualUnderOptions:
        case kl::EntryState::Special:
        case kl::EntryState::Pending: return {};
        default: return QBrush(kl::ColorFromRef(colors_[kl::COLOR_OTHER]));
        }
    }
    if (role == Qt::ForegroundRole && (entry.state == kl::EntryState::ReadError ||
                                       (entry.IsFolder() && entry.state == kl::EntryState::Different)))
        return QBrush(QColor(192, 0, 0));
    if (role == Qt::ToolTipRole) {
        QStringList errors;
        for (int side = 0; side < 2; ++side) {
            if (const int error = entry.sides[static_cast<std::size_t>(side)].error; error != 0)
                errors << PathText(kl::SidePath(*tree_, entryIndex, side)) + QStringLiteral(": ") +
                              QString::fromStdString(kl::FileErrorText(error));
        }
        return errors.isEmpty() ? QVariant() : QVariant(errors.join(QLatin1Char('\n')));
    }
    if (role != Qt::DisplayRole)
        return {};
    const kl::EntrySide& a = entry.sides[0];
    const kl::EntrySide& b = entry.sides[1];
    const auto timeText = [](const kl::EntrySide& side) {
        return side.kind == kl::EntryKind::Missing ? QString() : QString::fromStdString(kl::FormatLocalTime(side.modified));
    };
    switch (index.column()) {
    case Name: return PathText(entry.name) + (entry.IsFolder() ? QStringLiteral("/") : QString());
    case State: return StateText(entry);
    case SizeA: return SizeText(a);
    case TimeA: return timeText(a);
    case KindA: return KindText(a);
    case SizeB: return SizeText(b);
    case TimeB: return timeText(b);
    case KindB: return KindText(b);
    default: return {};
    }
}
