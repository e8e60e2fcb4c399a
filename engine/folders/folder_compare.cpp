#include "engine/folders/folder_compare.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <exception>
#include <thread>
#include <utility>

#include "engine/folders/file_pair_compare.h"
#include "engine/platform/block_reader.h"

namespace kl {

namespace {

// Describes the one file of an entry that exists on one side only.
void DescribeLoneFile(FolderTree& tree, int index, int side)
{
    EntrySide& entrySide = tree.entries[static_cast<std::size_t>(index)].sides[static_cast<std::size_t>(side)];
    int error = 0;
    const std::string head = ReadFileHead(SidePath(tree, index, side), kFileHeadBytes, error);
    if (error == 0)
        entrySide.description = DescribeFileHead(head, entrySide.size <= head.size());
}

// Below this many file pairs a second thread is not worth starting.
constexpr std::int64_t kParallelFrom = 256;

bool NeedsContent(const FolderEntry& entry)
{
    return entry.sides[0].kind == EntryKind::File && entry.sides[1].kind == EntryKind::File &&
           entry.sides[0].error == 0 && entry.sides[1].error == 0;
}

// The state of an entry that is not a folder.
void CompareEntry(FolderTree& tree, int index, const FolderCompareRequest& request, std::stop_token stop)
{
    FolderEntry& entry = tree.entries[static_cast<std::size_t>(index)];
    const EntrySide& a = entry.sides[0];
    const EntrySide& b = entry.sides[1];
    if (a.error != 0 || b.error != 0) {
        entry.state = EntryState::ReadError;
    } else if (b.kind == EntryKind::Missing) {
        entry.state = EntryState::OnlyA;
        if (a.kind == EntryKind::File && request.describeFiles)
            DescribeLoneFile(tree, index, 0);
    } else if (a.kind == EntryKind::Missing) {
        entry.state = EntryState::OnlyB;
        if (b.kind == EntryKind::File && request.describeFiles)
            DescribeLoneFile(tree, index, 1);
    } else if (a.kind != b.kind) {
        entry.state = EntryState::KindDifferent;
    } else if (a.kind == EntryKind::Link) {
        entry.state = a.linkTarget == b.linkTarget ? EntryState::Same : EntryState::Different;
    } else if (a.kind == EntryKind::Special) {
        entry.state = EntryState::Special;
    } else {
        FilePairOutcome outcome = CompareFilePair(SidePath(tree, index, 0), SidePath(tree, index, 1), a.size, b.size,
                                                  request, std::move(stop));
        FolderEntry& compared = tree.entries[static_cast<std::size_t>(index)];
        compared.state = outcome.state;
        for (std::size_t side = 0; side < 2; ++side) {
            compared.sides[side].description = std::move(outcome.descriptions[side]);
            compared.sides[side].error = outcome.errors[side];
        }
    }
}

}  // namespace

FolderTree CompareFolders(const std::string& folderA, const std::string& folderB, const FolderCompareRequest& request,
                          std::stop_token stop, const FolderProgressCallback& progress)
{
    FolderTree tree = WalkFolders(folderA, folderB, request.filter, stop, progress);
    FolderProgress counted;
    counted.seen = static_cast<std::int64_t>(tree.entries.size()) - 1;
    for (const FolderEntry& entry : tree.entries) {
        if (NeedsContent(entry))
            ++counted.toCompare;
    }
    // Two threads take the entries in small runs: reading a file is mostly waiting for the
    // system, and each entry is written by the one thread that took it.
    constexpr std::size_t kRun = 16;
    std::atomic<std::size_t> next{1};
    std::atomic<std::int64_t> compared{0};
    std::atomic<bool> stopped{tree.stopped};
    const auto work = [&](bool reports) {
        for (std::size_t first = next.fetch_add(kRun); first < tree.entries.size(); first = next.fetch_add(kRun)) {
            for (std::size_t i = first; i < std::min(first + kRun, tree.entries.size()); ++i) {
                if (stopped.load(std::memory_order_relaxed))
                    return;
                if (tree.entries[i].IsFolder() && tree.entries[i].sides[0].kind == tree.entries[i].sides[1].kind)
                    continue;
                if (stop.stop_requested()) {
                    stopped = true;
                    return;
                }
                const bool content = NeedsContent(tree.entries[i]);
                CompareEntry(tree, static_cast<int>(i), request, stop);
                if (tree.entries[i].state == EntryState::Pending)
                    stopped = true;
                const std::int64_t done = content ? compared.fetch_add(1) + 1 : 0;
                if (reports && content && done % 64 == 0 && progress) {
                    counted.compared = done;
                    progress(counted);
                }
            }
        }
    };
    std::exception_ptr helperFailure;
    {
        std::jthread helper;
        if (counted.toCompare >= kParallelFrom)
            helper = std::jthread([&] {
                try {
                    work(false);
                } catch (...) {
                    helperFailure = std::current_exception();
                    stopped = true;
                }
            });
        work(true);
    }
    if (helperFailure)
        std::rethrow_exception(helperFailure);
    tree.stopped = stopped;
    counted.compared = compared;
    UpdateFolderStates(tree);
    if (progress)
        progress(counted);
    return tree;
}

void CompareEntryAgain(FolderTree& tree, int index, const FolderCompareRequest& request)
{
    // The sides as they are now: a copy may have created or replaced one of them.
    FolderEntry& entry = tree.entries[static_cast<std::size_t>(index)];
    for (int side = 0; side < 2; ++side) {
        const ListedEntry listed = ExaminePath(SidePath(tree, index, side));
        EntrySide& s = entry.sides[static_cast<std::size_t>(side)];
        s = EntrySide{};
        s.kind = listed.kind;
        s.size = listed.size;
        s.modified = listed.modified;
        s.error = listed.kind == EntryKind::Missing && listed.error == ENOENT ? 0 : listed.error;
    }
    if (!entry.IsFolder())
        CompareEntry(tree, index, request, {});
    UpdateFolderStates(tree);
}

}  // namespace kl
