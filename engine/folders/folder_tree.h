#pragma once
// The result of a folder comparison: both folders merged by relative path into one tree,
// each entry with what it is on either side and how the two compare.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/platform/directory_listing.h"
#include "engine/platform/file_time.h"

namespace kl {

enum class EntryState : std::uint8_t {
    Same,               // the same bytes (files), the same link target (links), or a folder
                        // with no difference below it
    Different,          // different bytes, or a folder with differences below it
    OnlyA,              // only in folder A
    OnlyB,              // only in folder B
    BinaryDifferent,    // different bytes, and at least one side is binary
    ReadError,          // one side could not be read or listed
    NewlineOnly,        // as texts, only the line ends differ
    EqualUnderOptions,  // as texts, equal under the compare options (spaces, delimiter)
    KindDifferent,      // a file on one side, a folder, link or special file on the other
    Special,            // a named pipe, socket or device on both sides: never opened
    Pending,            // not compared yet (the run was stopped)
};
inline constexpr int kEntryStateCount = static_cast<int>(EntryState::Pending) + 1;

// The state as the window and the console name it (UTF-8), e.g. "同一", "DocAのみ".
std::string_view EntryStateLabel(EntryState state);
// Whether the state says that the two sides are not the same.
bool IsDifference(EntryState state);

// One side of an entry.
struct EntrySide {
    EntryKind kind = EntryKind::Missing;
    std::uint64_t size = 0;
    FileTime modified;
    std::string linkTarget;
    std::string description;  // a text file's encoding and line ends, e.g. "UTF-8 CRLF"
    int error = 0;            // errno of what failed on this side
};

// How many files below a folder are in each state.
using StateCounts = std::array<std::int32_t, kEntryStateCount>;

struct FolderEntry {
    std::string name;     // bytes of the name; empty for the root
    std::int32_t parent = -1;
    std::int32_t firstChild = 0;  // children are entries [firstChild, firstChild + childCount)
    std::int32_t childCount = 0;
    std::array<EntrySide, 2> sides;
    EntryState state = EntryState::Pending;
    StateCounts counts{};  // folders: the files below in each state

    bool IsFolder() const;  // a folder on either side
};

struct FolderTree {
    std::array<std::string, 2> roots;  // the two folders compared (UTF-8 paths)
    std::vector<FolderEntry> entries;  // entries[0] is the root; children after their parent
    bool stopped = false;              // the run was stopped before it ended
};

// The path of entry index below the roots, parts joined by '/'; empty for the root.
std::string RelativePath(const FolderTree& tree, int index);
// The entry at a relative path (parts joined by '/'); -1 when there is none.
int FindEntry(const FolderTree& tree, std::string_view relativePath);
// The full path of the entry on one side.
std::string SidePath(const FolderTree& tree, int index, int side);

// Counts of the whole tree (the root's counts).
const StateCounts& Totals(const FolderTree& tree);
int DifferenceCount(const StateCounts& counts);

// Sets each folder's counts and state from the entries below it.
void UpdateFolderStates(FolderTree& tree);

// "同一 12 / 相違 3 / DocAのみ 1 ..." with the states that occur, for a summary line.
std::string CountsSummary(const StateCounts& counts);

}  // namespace kl
