#pragma once
// JSON string values for the command-line output.
#include <string_view>

#include "cli/output_buffer.h"
#include "engine/platform/text_encoding.h"

namespace kl::cli {

// Writes utf8 as a quoted JSON string: quote and backslash escaped, control characters
// as \u00XX, everything else as is.
void PutJsonString(OutputBuffer& out, std::string_view utf8);

// Writes bytes in the given encoding as a quoted JSON string; a byte that is no part of a
// character becomes U+FFFD.
void PutTextJsonString(OutputBuffer& out, std::string_view bytes, TextEncoding encoding);

}  // namespace kl::cli
