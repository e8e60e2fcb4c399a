#pragma once
// The entries of one folder as the folder comparison needs them: name, kind, size and
// modification time, without following symbolic links and without opening anything.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/file_time.h"

namespace kl {

enum class EntryKind : std::uint8_t {
    Missing,  // not on this side
    File,
    Folder,
    Link,     // a symbolic link, never followed
    Special,  // a named pipe, a socket or a device: listed, never opened
};

struct ListedEntry {
    std::string name;        // the name's bytes as the system gives them (UTF-8 on Windows)
    EntryKind kind = EntryKind::File;
    std::uint64_t size = 0;  // files only
    FileTime modified;
    std::string linkTarget;  // links only: what the link says, unresolved
    int error = 0;           // errno when the entry could not be examined
};

struct FolderListing {
    std::vector<ListedEntry> entries;  // in byte order of their names, without "." and ".."
    int error = 0;                     // errno when the folder could not be read at all
};

// Lists the folder at utf8Path. Entries that cannot be examined are kept with their error.
FolderListing ListFolder(const std::string& utf8Path);

// What the path itself is (links not followed); Missing with error set when it cannot be
// examined.
ListedEntry ExaminePath(const std::string& utf8Path);

// Whether a file of this name is hidden: it starts with a dot.
bool IsHiddenName(const std::string& name);

}  // namespace kl
