#pragma once
// Comparing two folders: both are walked and merged by relative path, then every pair of
// files is compared by content. A run reads only its arguments and returns a value.
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>

#include "engine/compare/compare_options.h"
#include "engine/folders/folder_tree.h"
#include "engine/folders/name_filter.h"

namespace kl {

struct FolderCompareRequest {
    NameFilter filter;
    // Files whose bytes differ are compared again as texts under the options, so that a
    // difference only in line ends or spaces is named as such.
    bool compareAsText = false;
    CompareOptions options;
    // Each file's encoding and line ends are told from its first bytes (EntrySide::description).
    bool describeFiles = true;
};

struct FolderProgress {
    std::int64_t seen = 0;      // entries listed so far
    std::int64_t compared = 0;  // files compared so far
    std::int64_t toCompare = 0; // files to compare (known once the walk has ended)
};
// Called on the worker's thread now and then; may be empty.
using FolderProgressCallback = std::function<void(const FolderProgress&)>;

// Walks both folders into one tree (kinds, sizes, times; every state Pending).
FolderTree WalkFolders(const std::string& folderA, const std::string& folderB, const NameFilter& filter,
                       std::stop_token stop = {}, const FolderProgressCallback& progress = {});

// Walks and compares. A stop request ends the run early with tree.stopped set and the
// entries not reached left Pending.
FolderTree CompareFolders(const std::string& folderA, const std::string& folderB, const FolderCompareRequest& request,
                          std::stop_token stop = {}, const FolderProgressCallback& progress = {});

// Compares the files of one entry again (after a copy, for instance) and updates the
// folder states above it.
void CompareEntryAgain(FolderTree& tree, int index, const FolderCompareRequest& request);

}  // namespace kl
