#pragma once
// The file tree pane above the comparison: one item per loaded file (DocA first, DocB
// second) with its full path, the totals of each comparison run as child items, and a
// context menu on a file item to copy or move the file to another folder or to open it.
// Before any file is loaded (and again after the files are cleared) it shows a hint to
// drag files onto the window.
#include <array>
#include <memory>

#include "engine/document/text_loader.h"
#include <QStringList>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "ui/tree/tree_prompts.h"

class CKestrilaneDoc;
class QMenu;

class CLeftView : public QTreeWidget {
    Q_OBJECT

public:
    // Commands of the context menu.
    static constexpr int ID_COPY_TO_FOLDER = 32790;
    static constexpr int ID_MOVE_TO_FOLDER = 32791;
    static constexpr int ID_OPEN_FILE = 32792;

    explicit CLeftView(QWidget* parent = nullptr);

    // Adds an item for every path the document queued for the pane (its pendingTreePaths,
    // in order) and empties the queue. Run on every update of the document.
    void OnUpdateFromDocument(CKestrilaneDoc& doc);
    // The item of the next file; path is in the system's file name encoding. The first file
    // takes the place of the hint.
    void AddFileItem(const std::string& path);
    // A line of totals (code page 932) under the item of file doc (0 DocA, 1 DocB); nothing
    // happens when that item does not exist. Call on the user-interface thread.
    void SetStatistics(int doc, const std::string& cp932Text);
    // Item of file doc names path, marked "*" while its text is edited (nothing happens
    // when the item does not exist).
    void ShowFileState(int doc, const std::string& path, bool edited);
    // Removes all items and shows the hint again.
    void ClearFiles();

    // The paths of the file items in order, in the system's file name encoding: what a
    // reload opens again.
    std::vector<std::string> FileEntryPaths() const;
    int fileItemCount() const { return static_cast<int>(fileItems_.size()); }
    // Item of file index, or nullptr.
    QTreeWidgetItem* fileItem(int index) const;
    // Statistics items under file index.
    int statisticsCount(int index) const;

    // Makes item the subject of the context menu when it is a file item. False (and no
    // subject) for the hint, a statistics item or no item.
    bool ChooseForMenu(QTreeWidgetItem* item);
    const std::string& chosenPath() const { return chosenPath_; }
    QMenu* contextMenu() const { return menu_; }

    // The context menu's commands, on the chosen file.
    void OnCopyToFolder();
    void OnMoveToFolder();
    void OnOpenFile();

    TreePrompts prompts = InteractiveTreePrompts();

signals:
    // A listed file was moved: its items show the new path. Paths in the system's file name
    // encoding.
    void fileMoved(const std::string& from, const std::string& to);
    // The user chose how file doc (0 DocA, 1 DocB) is to be read.
    void encodingChosen(int doc, kl::EncodingChoice choice);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void InsertHint();
    void TransferChosen(bool move);
    void FollowMovedFile(const std::string& from, const std::string& to);

    QMenu* menu_ = nullptr;
    QMenu* encodingMenu_ = nullptr;
    // The document's choices as of the last update, checked in the 文字コード menu.
    std::array<kl::EncodingChoice, 2> choices_{kl::EncodingChoice::Auto, kl::EncodingChoice::Auto};
    std::array<std::weak_ptr<const kl::Text>, 2> described_;  // the texts the items describe
    kl::EncodingChoice encodingChoiceOf(int doc) const { return choices_[static_cast<std::size_t>(doc)]; }
    // The file item the context menu is open on as 0 (DocA) or 1 (DocB); -1 for none.
    int ChosenDocIndex() const;
    std::vector<QTreeWidgetItem*> fileItems_;  // index 0 DocA, 1 DocB
    std::vector<int> childCounts_;
    std::string chosenPath_;
};
