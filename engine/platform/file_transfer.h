#pragma once
// Copying or moving one file into a folder without ever overwriting a file there: when the
// name is taken, the next names of NextFileName are tried.
#include <string>

namespace kl {

enum class TransferKind { Copy, Move };

// Names tried after the file's own one before the transfer gives up.
inline constexpr int kMaxRenameTries = 30;

struct TransferResult {
    bool ok = false;
    std::string targetPath;  // where the file is now (set when ok)
    std::string targetName;  // its file name there
    bool renamed = false;    // the file's own name was taken and another one was used
};

// Copies sourcePath (a regular file) into folder, under its own name or the first free one
// of the next names. The copy keeps the source's modification time. A move removes the
// source only after the file is complete at the target; when the source cannot be removed,
// the new file is removed again and the move fails, so a failed transfer leaves both
// folders as they were. Paths are UTF-8.
TransferResult TransferFile(const std::string& sourcePath, const std::string& folder,
                            TransferKind kind);

}  // namespace kl
