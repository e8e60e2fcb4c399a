#pragma once
// The folder result as a tree model: one row per entry, children in name order, the
// entries that the display choices hide left out. Columns: name, state, and for each side
// size, modification time and kind of text.
#include <QAbstractItemModel>
#include <memory>
#include <vector>

#include "engine/folders/folder_tree.h"
#include "engine/settings/settings_file.h"

// What the result shows.
struct FolderDisplay {
    bool hideSame = false;         // leave out what is the same on both sides
    bool onlyDifferences = false;  // show nothing but differences

    bool operator==(const FolderDisplay&) const = default;
};

class FolderModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { Name, State, SizeA, TimeA, KindA, SizeB, TimeB, KindB, ColumnCount };

    explicit FolderModel(QObject* parent = nullptr);

    void SetTree(std::shared_ptr<const kl::FolderTree> tree);
    const kl::FolderTree* tree() const { return tree_.get(); }
    void SetDisplay(const FolderDisplay& display);
    const FolderDisplay& display() const { return display_; }
    void SetColors(const kl::ColorTable& colors);

    // The entry a row shows; -1 for an invalid index.
    int EntryAt(const QModelIndex& index) const;
    // The row of an entry (column 0); invalid when the entry is hidden or the root.
    QModelIndex IndexOf(int entry) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;

private:
    void Rebuild();
    bool Shows(const kl::FolderEntry& entry) const;

    std::shared_ptr<const kl::FolderTree> tree_;
    FolderDisplay display_;
    kl::ColorTable colors_{};
    std::vector<std::vector<std::int32_t>> shownChildren_;  // per entry, the children shown
    std::vector<std::int32_t> rowInParent_;                 // per entry, -1 when hidden
};
