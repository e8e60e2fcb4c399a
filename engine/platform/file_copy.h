#pragma once
// Copying a file or a whole folder to the other side of a folder comparison. A file is
// written under a temporary name beside its target and renamed into place once complete,
// so the target holds either its old content or the whole new one; it keeps the source's
// modification time. Nothing is replaced unless asked.
#include <string>

namespace kl {

enum class CopyOutcome {
    Copied,
    TargetExists,  // a file is there and replacing was not asked for: nothing changed
    Refused,       // the target is read-only, or of another kind (a folder for a file)
    Failed,        // the system refused a step; error and failedPath say which
};

struct CopyResult {
    CopyOutcome outcome = CopyOutcome::Copied;
    int error = 0;           // errno of the failed step
    std::string failedPath;  // the file the failure concerns
    int copiedFiles = 0;
};

// Copies the file, link or folder at source to target (UTF-8 paths). A folder is copied
// with everything below it, links as links; pipes, sockets and devices are left out. With
// replaceExisting false an existing file ends the copy with TargetExists and is left as it
// is (in a folder, the files copied before it stay).
CopyResult CopyEntry(const std::string& source, const std::string& target, bool replaceExisting);

}  // namespace kl
