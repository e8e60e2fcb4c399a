#pragma once
#include <string>
#include <string_view>

namespace kl {

// Replaces the content of the file at path with bytes, or creates it. The bytes go to a
// temporary file in the same directory, which is flushed to disk and then renamed over the
// target, so the target always holds either its old or its new content. An existing file
// keeps its permissions; a symbolic link stays a link and its target is replaced. On failure
// the temporary file is removed, the target is left untouched and false is returned.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace kl
