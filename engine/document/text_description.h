#pragma once
// How a loaded text is described to the user beside its file name: its encoding (and the
// conversion it went through) and its line-end style, e.g. "UTF-8 LF", "Shift_JIS CRLF",
// "UTF-16→UTF-8 CRLF", "Shift_JIS CRLF+LF".
#include <string>

#include "engine/document/text.h"

namespace kl {

// UTF-8 text.
std::string TextDescription(const Text& text);

// The text holds a NUL byte in its first 8 KB: it is probably no text at all.
bool LooksBinary(const Text& text);

}  // namespace kl
