#pragma once
// The temporary files a save writes next to its target before renaming them over it.
//
// Their names carry a mark no user file is expected to have, a random part and a fixed
// suffix: ".kestrilane-save-<16 letters or digits>.tmp". The name does not depend on the
// target's, so it stays short whatever the target's length. A leftover is recognised by
// the mark alone, never by a process id, which means nothing across containers or machines
// sharing a folder; it is removed only once it is old enough that no running save can
// still be writing it.
#include <chrono>
#include <string>
#include <string_view>

namespace kl {

// A new name with a fresh random part; two calls practically never give the same name,
// and the caller creates the file exclusively all the same.
std::string NewSaveTemporaryName();

// Whether a file name has exactly the form NewSaveTemporaryName gives.
bool IsSaveTemporaryName(std::string_view fileName);

// A temporary file untouched for this long belongs to a save that was killed: a running
// save writes its file from start to end without a pause and renames it at once.
inline constexpr std::chrono::hours kStaleSaveTemporaryAge{24};

// What is known of a directory entry that carries the save mark.
struct SaveTemporaryEntry {
    std::string_view fileName;
    bool regularFile = false;
    bool ownedByThisUser = false;
    std::chrono::seconds sinceModified{0};  // negative for a time in the future
};

// Whether a leftover may be deleted: our name, a regular file of this user, and older than
// kStaleSaveTemporaryAge.
bool IsStaleSaveTemporary(const SaveTemporaryEntry& entry);

}  // namespace kl
