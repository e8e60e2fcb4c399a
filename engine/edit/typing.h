#pragma once
// The edits the keys make: typed characters in the text's own encoding, a new line with the
// text's usual line end, and the character before or after the caret taken away (a line
// end counts as one character, CR LF included).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/document/text.h"
#include "engine/edit/text_edit.h"

namespace kl {

// The line end most lines of text end with (CR LF on ties and when no line has one).
std::string_view DominantNewline(const Text& text);

// UTF-8 text in encoding, or nothing when a character has no code there.
std::optional<std::string> EncodeFor(TextEncoding encoding, std::string_view utf8);
// Every LF, CR and CR LF of utf8 replaced by newline.
std::string WithNewlines(std::string_view utf8, std::string_view newline);

// Text as UTF-8 for characters its own encoding cannot hold: the same lines, marked as
// converted from its file's encoding.
std::shared_ptr<const Text> AsUtf8Text(const Text& text);
// Where byte offset pos of text lies in AsUtf8Text(text).
std::int64_t Utf8Offset(const Text& text, std::int64_t pos);

// Typing utf8 over [begin, end) of text. When the text's encoding cannot hold a character
// the edit is made on base, the text as UTF-8 (offsets moved there); base is null otherwise.
struct PreparedEdit {
    std::shared_ptr<const Text> base;
    TextEdit edit;
};
PreparedEdit TypingEdit(const Text& text, int side, std::int64_t begin, std::int64_t end, std::string_view utf8);

// The character before pos (the whole line end at a line start); empty at the start.
TextEdit BackspaceEdit(const Text& text, int side, std::int64_t pos);
// The character at pos (the whole line end at a line's end); empty at the end.
TextEdit DeleteEdit(const Text& text, int side, std::int64_t pos);

}  // namespace kl
