#pragma once
// Stepping through UTF-8 text: one character at a time, strictly (no overlong forms, no
// surrogates, nothing above U+10FFFF).
#include <cstddef>
#include <string_view>

namespace kl {

struct Utf8Step {
    char32_t codePoint;  // meaningful only when valid
    std::size_t length;  // bytes consumed; for an invalid sequence its maximal valid prefix
    bool valid;
};

// The character at pos (pos < s.size()). An ill-formed sequence is consumed as its longest
// prefix that could still have begun a valid character (at least one byte), so each such
// prefix counts once.
Utf8Step DecodeUtf8Step(std::string_view s, std::size_t pos);

}  // namespace kl
