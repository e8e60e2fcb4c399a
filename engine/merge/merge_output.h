#pragma once
// Saving the merged text.
#include <string>
#include <string_view>

namespace kl {

// Writes bytes unchanged to path through ReplaceFileAtomically: a regular file holds either
// its old content or the complete new one, never a part; links, read-only and special files
// are treated as described there. On failure returns false with a Japanese message naming
// the file and the reason in error (UTF-8).
bool SaveMergedText(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace kl
