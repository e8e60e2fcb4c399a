#pragma once
// Telling whether bytes are well-formed UTF-8.
#include <string_view>

namespace kl {

// Whether bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no character cut short at the end. Checks sixteen bytes at a time where the
// processor allows (SSSE3), otherwise character by character; the answer is the same.
bool IsValidUtf8(std::string_view bytes);
// The same, character by character on every processor.
bool IsValidUtf8Bytewise(std::string_view bytes);

}  // namespace kl
