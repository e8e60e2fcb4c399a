#pragma once
// Saving the merged text.
#include <string>
#include <string_view>

namespace kl {

// Writes bytes unchanged to path, replacing the file as a whole: the target holds either
// its old content or the complete new one, never a part. On failure returns false with a
// Japanese message naming the file in error (UTF-8).
bool SaveMergedText(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace kl
