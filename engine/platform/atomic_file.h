#pragma once
#include <string>
#include <string_view>

namespace kl {

// The outcome of a save. reason says why it failed, in Japanese (UTF-8), without the file
// name; errorNumber is the errno of the failed step, or 0 when a rule of the save (not the
// system) refused the target.
struct ReplaceResult {
    bool ok = false;
    int errorNumber = 0;
    std::string reason;

    explicit operator bool() const { return ok; }
};

// Replaces the content of the file at path with bytes, or creates it.
//
// A regular file is replaced atomically: the bytes go to a temporary file in the same
// directory, which is flushed to disk and renamed over the target, so the target always
// holds either its old or its new content. The new file takes the old one's permissions and,
// where the system permits, its owner and group. A symbolic link stays a link and the file
// it points to is replaced. A file with further hard links is replaced all the same: this
// name gets the new content, the other names keep the old one.
//
// Refused, leaving the target untouched: a read-only file (IsReadOnlyFile), a file owned by
// another user (unless running as the superuser, since the replacement could not keep the
// owner), a directory, a socket and a block device.
//
// A character device or a named pipe is written into directly and never replaced; a pipe
// that no process reads fails at once instead of waiting for a reader.
//
// The temporary file has a marked name of its own (save_temporary.h), never derived from
// the target's, so a target name of any legal length saves. Marked leftovers of killed
// saves in the same directory are removed on the way once they are old; no other file of
// the directory is touched. On failure the temporary file is removed too.
ReplaceResult ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// An existing file that saves refuse for lack of write permission: one without any write
// permission bit (whoever runs the program, the superuser too), or one whose permissions do
// not let this user write it.
bool IsReadOnlyFile(const std::string& path);

// The file a save of path writes: path with symbolic links followed to their final target
// (which need not exist yet).
std::string SaveTarget(const std::string& path);

}  // namespace kl
