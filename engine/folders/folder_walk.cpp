// Walking two folders into one tree merged by relative path.
#include <optional>
#include <utility>
#include <vector>

#include "engine/folders/folder_compare.h"

namespace kl {

namespace {

EntrySide SideFromListing(const ListedEntry& listed)
{
    EntrySide side;
    side.kind = listed.kind;
    side.size = listed.size;
    side.modified = listed.modified;
    side.linkTarget = listed.linkTarget;
    side.error = listed.error;
    return side;
}

// A folder is entered when it is a folder on one side and a folder or nothing on the other;
// a link is never followed, so no walk can go round in a loop.
bool IsWalkedFolder(const FolderEntry& entry)
{
    const EntryKind a = entry.sides[0].kind;
    const EntryKind b = entry.sides[1].kind;
    return (a == EntryKind::Folder || b == EntryKind::Folder) && (a == b || a == EntryKind::Missing || b == EntryKind::Missing);
}

class TreeWalker {
public:
    TreeWalker(FolderTree& tree, const NameFilter& filter, std::stop_token stop, const FolderProgressCallback& progress)
        : tree_(tree), filter_(filter), stop_(std::move(stop)), progress_(progress)
    {
    }

    void Walk()
    {
        std::vector<std::int32_t> pending{0};
        while (!pending.empty()) {
            if (stop_.stop_requested()) {
                tree_.stopped = true;
                return;
            }
            const std::int32_t index = pending.back();
            pending.pop_back();
            Expand(index);
            const FolderEntry& entry = tree_.entries[static_cast<std::size_t>(index)];
            // Pushed last to first, so that folders are entered in name order.
            for (std::int32_t c = entry.childCount; c-- > 0;) {
                const std::int32_t child = entry.firstChild + c;
                if (IsWalkedFolder(tree_.entries[static_cast<std::size_t>(child)]))
                    pending.push_back(child);
            }
        }
        if (progress_)
            progress_(progress);
    }

private:
    void Expand(std::int32_t index)
    {
        std::array<FolderListing, 2> listings;
        for (int side = 0; side < 2; ++side) {
            EntrySide& entrySide = tree_.entries[static_cast<std::size_t>(index)].sides[static_cast<std::size_t>(side)];
            if (entrySide.kind != EntryKind::Folder)
                continue;
            listings[static_cast<std::size_t>(side)] = ListFolder(SidePath(tree_, index, side));
            if (listings[static_cast<std::size_t>(side)].error != 0)
                entrySide.error = listings[static_cast<std::size_t>(side)].error;
        }
        const std::vector<ListedEntry>& a = listings[0].entries;
        const std::vector<ListedEntry>& b = listings[1].entries;
        const auto firstChild = static_cast<std::int32_t>(tree_.entries.size());
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < a.size() || j < b.size()) {
            const ListedEntry* left = nullptr;
            const ListedEntry* right = nullptr;
            if (j == b.size() || (i < a.size() && a[i].name < b[j].name)) {
                left = &a[i++];
            } else if (i == a.size() || b[j].name < a[i].name) {
                right = &b[j++];
            } else {
                left = &a[i++];
                right = &b[j++];
            }
            const bool isFolder = (left && left->kind == EntryKind::Folder) || (right && right->kind == EntryKind::Folder);
            if (!TakesEntry(filter_, left ? left->name : right->name, isFolder))
                continue;
            FolderEntry child;
            child.name = left ? left->name : right->name;
            child.parent = index;
            if (left)
                child.sides[0] = SideFromListing(*left);
            if (right)
                child.sides[1] = SideFromListing(*right);
            tree_.entries.push_back(std::move(child));
            if (++progress.seen % 256 == 0 && progress_)
                progress_(progress);
        }
        FolderEntry& entry = tree_.entries[static_cast<std::size_t>(index)];
        entry.firstChild = firstChild;
        entry.childCount = static_cast<std::int32_t>(tree_.entries.size()) - firstChild;
    }

    FolderTree& tree_;
    const NameFilter& filter_;
    std::stop_token stop_;
    const FolderProgressCallback& progress_;

public:
    FolderProgress progress;
};

}  // namespace

FolderTree WalkFolders(const std::string& folderA, const std::string& folderB, const NameFilter& filter,
                       std::stop_token stop, const FolderProgressCallback& progress)
{
    FolderTree tree;
    tree.roots = {folderA, folderB};
    FolderEntry root;
    for (int side = 0; side < 2; ++side) {
        // The folders named by the user are taken as folders even when they are links.
        EntrySide& rootSide = root.sides[static_cast<std::size_t>(side)];
        rootSide.kind = EntryKind::Folder;
        if (const std::optional<FileTime> modified = LastWriteTime(tree.roots[static_cast<std::size_t>(side)]))
            rootSide.modified = *modified;
    }
    tree.entries.push_back(std::move(root));
    TreeWalker walker(tree, filter, std::move(stop), progress);
    walker.Walk();
    return tree;
}

}  // namespace kl
