#include "engine/folders/folder_tree.h"

namespace kl {

std::string_view EntryStateLabel(EntryState state)
{
    switch (state) {
    case EntryState::Same: return "同一";
    case EntryState::Different: return "相違";
    case EntryState::OnlyA: return "DocAのみ";
    case EntryState::OnlyB: return "DocBのみ";
    case EntryState::BinaryDifferent: return "バイナリ相違";
    case EntryState::ReadError: return "読み込みエラー";
    case EntryState::NewlineOnly: return "改行のみ相違";
    case EntryState::EqualUnderOptions: return "比較条件で同一";
    case EntryState::KindDifferent: return "種類相違";
    case EntryState::Special: return "特殊ファイル";
    case EntryState::Pending: return "未比較";
    }
    return "";
}

bool IsDifference(EntryState state)
{
    switch (state) {
    case EntryState::Same:
    case EntryState::EqualUnderOptions:
    case EntryState::Special:
    case EntryState::Pending:
        return false;
    default:
        return true;
    }
}

bool FolderEntry::IsFolder() const
{
    return sides[0].kind == EntryKind::Folder || sides[1].kind == EntryKind::Folder;
}

std::string RelativePath(const FolderTree& tree, int index)
{
    std::vector<int> chain;
    for (int i = index; i > 0; i = tree.entries[static_cast<std::size_t>(i)].parent)
        chain.push_back(i);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty())
            path += '/';
        path += tree.entries[static_cast<std::size_t>(*it)].name;
    }
    return path;
}

int FindEntry(const FolderTree& tree, std::string_view relativePath)
{
    if (tree.entries.empty())
        return -1;
    int index = 0;
    while (!relativePath.empty()) {
        const std::size_t slash = relativePath.find('/');
        const std::string_view part = relativePath.substr(0, slash);
        const FolderEntry& entry = tree.entries[static_cast<std::size_t>(index)];
        int found = -1;
        for (std::int32_t c = 0; c < entry.childCount && found < 0; ++c) {
            if (tree.entries[static_cast<std::size_t>(entry.firstChild + c)].name == part)
                found = entry.firstChild + c;
        }
        if (found < 0)
            return -1;
        index = found;
        relativePath = slash == std::string_view::npos ? std::string_view() : relativePath.substr(slash + 1);
    }
    return index;
}

std::string SidePath(const FolderTree& tree, int index, int side)
{
    const std::string relative = RelativePath(tree, index);
    std::string path = tree.roots[static_cast<std::size_t>(side)];
    if (relative.empty())
        return path;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + relative;
}

const StateCounts& Totals(const FolderTree& tree)
{
    static const StateCounts kNone{};
    return tree.entries.empty() ? kNone : tree.entries.front().counts;
}

int DifferenceCount(const StateCounts& counts)
{
    int total = 0;
    for (int s = 0; s < kEntryStateCount; ++s) {
        if (IsDifference(static_cast<EntryState>(s)))
            total += counts[static_cast<std::size_t>(s)];
    }
    return total;
}

void UpdateFolderStates(FolderTree& tree)
{
    // Children come after their parent, so a walk from the end sees every folder's
    // children complete before the folder itself.
    for (std::size_t i = tree.entries.size(); i-- > 0;) {
        FolderEntry& entry = tree.entries[i];
        if (!entry.IsFolder() && i != 0)
            continue;
        entry.counts.fill(0);
        for (std::int32_t c = 0; c < entry.childCount; ++c) {
            const FolderEntry& child = tree.entries[static_cast<std::size_t>(entry.firstChild + c)];
            if (child.IsFolder() && child.state != EntryState::KindDifferent) {
                for (int s = 0; s < kEntryStateCount; ++s)
                    entry.counts[static_cast<std::size_t>(s)] += child.counts[static_cast<std::size_t>(s)];
                // A folder on one side only or a folder that could not be listed counts
                // as an entry of its own too, so that the difference shows in the totals.
                if (child.state == EntryState::OnlyA || child.state == EntryState::OnlyB ||
                    child.state == EntryState::ReadError)
                    ++entry.counts[static_cast<std::size_t>(child.state)];
            } else {
                ++entry.counts[static_cast<std::size_t>(child.state)];
            }
        }
        const bool oneSided = entry.sides[0].kind == EntryKind::Missing || entry.sides[1].kind == EntryKind::Missing;
        const bool failed = entry.sides[0].error != 0 || entry.sides[1].error != 0;
        if (oneSided && i != 0)
            entry.state = entry.sides[0].kind == EntryKind::Missing ? EntryState::OnlyB : EntryState::OnlyA;
        else if (failed)
            entry.state = EntryState::ReadError;
        else if (entry.sides[0].kind != entry.sides[1].kind)
            entry.state = EntryState::KindDifferent;
        else if (entry.counts[static_cast<std::size_t>(EntryState::Pending)] > 0)
            entry.state = EntryState::Pending;
        else
            entry.state = DifferenceCount(entry.counts) > 0 ? EntryState::Different : EntryState::Same;
    }
}

std::string CountsSummary(const StateCounts& counts)
{
    std::string summary;
    for (int s = 0; s < kEntryStateCount; ++s) {
        const std::int32_t n = counts[static_cast<std::size_t>(s)];
        if (n == 0 && s != static_cast<int>(EntryState::Same))
            continue;
        if (!summary.empty())
            summary += " / ";
        summary += EntryStateLabel(static_cast<EntryState>(s));
        summary += ' ';
        summary += std::to_string(n);
    }
    return summary;
}

}  // namespace kl
