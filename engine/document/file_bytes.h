#pragma once
// A text written out in the encoding of a file.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/document/text.h"

namespace kl {

// A character an encoding has no code for.
struct Unencodable {
    int line = 0;            // 0-based line of the text
    std::size_t offset = 0;  // where the character starts in the stored line
    char32_t character = 0;  // U+FFFD for bytes that are no character
};

struct FileBytes {
    std::string encoded;   // the file's bytes, unless asStored
    bool asStored = false;  // the file's bytes are the text's stored bytes as they are
    std::optional<Unencodable> unencodable;  // set when encoding stopped: bytes are unusable

    std::string_view bytes(const Text& text) const { return asStored ? text.bytes() : std::string_view(encoded); }
};

// The bytes of text in the given encoding, with the byte order mark the encoding asks for.
// In the text's own file encoding (origin.encoding) every line the file held in bytes of its
// own gets them back, so a text saved unedited is its file byte for byte. Stops at the
// first character the encoding cannot hold; nothing is ever replaced by a stand-in.
FileBytes EncodeForFile(const Text& text, FileEncoding encoding);

// Appends one stored line (in the text's encoding) in the file encoding; returns the
// offset of the first character the file encoding cannot hold, leaving out partly written.
std::optional<std::size_t> AppendEncodedLine(TextEncoding from, std::string_view line, FileEncoding to,
                                             std::string& out);

}  // namespace kl
