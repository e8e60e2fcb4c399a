#pragma once
// JSON string values for the command-line output.
#include <string_view>

#include "cli/output_buffer.h"
#include "engine/platform/text_encoding.h"

namespace kl::cli {

// Writes utf8 as a quoted JSON string: quote and backslash escaped, control characters
// as \u00XX, everything else as is.
void PutJsonString(OutputBuffer& out, std::string_view utf8);

// Writes code page 932 bytes as a quoted JSON string; a byte with no character becomes
// U+FFFD.
void PutCp932JsonString(OutputBuffer& out, std::string_view cp932);
// The same for bytes in the given encoding.
void PutTextJsonString(OutputBuffer& out, std::string_view bytes, TextEncoding encoding);

}  // namespace kl::cli
