#pragma once
// Text of any origin made safe to stand in HTML: every character is decoded from its own
// encoding and written as UTF-8, with markup characters as entities and invisible
// characters made visible, so no byte of a text can ever become markup.
#include <string>
#include <string_view>

#include "engine/platform/text_encoding.h"

namespace kl {

// Appends the characters of bytes (no line end) to out as HTML text:
// - & < > " ' as entities;
// - a byte that is no part of a character as U+FFFD, as the window shows it;
// - C0 controls and DEL as their control pictures (U+2400...), C1 controls and the
//   direction overrides (which would reorder the text around them) as "<U+XXXX>";
// - a tab, with tabSize > 0, as spaces up to the next tab stop; cells counts the character
//   cells written so far in the row and is advanced (a full-width character takes two).
//   With tabSize 0 a tab is shown as its control picture.
void AppendHtmlText(std::string& out, TextEncoding encoding, std::string_view bytes, int tabSize, int& cells);

// UTF-8 text (a path, a message) appended as HTML text, tabs shown as control pictures.
void AppendHtmlUtf8(std::string& out, std::string_view utf8);

}  // namespace kl
