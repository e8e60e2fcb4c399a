#pragma once
// The folder comparison result as one JSON object.
#include "cli/output_buffer.h"
#include "engine/folders/folder_tree.h"

namespace kl::cli {

// {"folderA", "folderB", "stopped", "totals", "root"}: each entry with its name, path,
// state, counts (folders), its two sides (kind, size, modified, description, error) and
// its children. Names that are not UTF-8 are written escaped ("\\xHH").
void WriteFolderJson(OutputBuffer& out, const FolderTree& tree);

}  // namespace kl::cli
