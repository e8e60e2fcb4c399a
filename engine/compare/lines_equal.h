#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/compare/compare_options.h"

namespace kl {

// The one line-equality test. Both texts include their line ends. Returns 0 when the lines
// count as equal under the options, nonzero otherwise. Not symmetric: `first` (the line
// being matched) decides the line-end handling and the delimiter search.
// Thread-safe: uses only local storage.
int LinesEqual(std::string_view first, std::string_view second, const CompareOptions& options);

// The first n bytes of src without half-width spaces and tabs (walked by character).
std::string StripSpaceTab(std::string_view src, std::size_t n, TextEncoding encoding = TextEncoding::Cp932);

// The first n bytes of src with the full-width-space and trailing-space rules applied.
std::string NormaliseSpaces(std::string_view src, std::size_t n, const CompareOptions& options);

}  // namespace kl
