#pragma once
// The folder comparison's filters, kept as named sets: section FOLDERFILTER holds SELECTED
// (the name of the set in use), and section "FOLDERFILTER <name>" the set's INCLUDE and
// EXCLUDE pattern lists ("*.txt;*.md"), HIDDEN (1: hidden files are compared) and TEXT (1:
// differing files are compared again as texts). An empty settings path gives the defaults;
// the writer then does nothing and returns false.
#include <string>

#include "engine/folders/name_filter.h"

namespace kl {

struct FolderFilterSet {
    std::string name = "既定";  // UTF-8
    NameFilter filter;
    bool compareAsText = false;

    bool operator==(const FolderFilterSet&) const = default;
};

// The set named SELECTED, or the built-in one when there is none.
FolderFilterSet ReadSelectedFolderFilter(const std::string& iniPath);
// The set of this name (UTF-8); the built-in filter under that name when it is not stored.
FolderFilterSet ReadFolderFilter(const std::string& iniPath, const std::string& name);
// Stores the set and makes it the selected one, in one replacement of the file.
bool SaveFolderFilter(const std::string& iniPath, const FolderFilterSet& set);

}  // namespace kl
