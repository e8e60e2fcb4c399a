#pragma once
// Numbers read from settings text the way the C library reads them: atoi and "%x". A
// malformed value yields whatever prefix parses (usually 0), never an error.
#include <cstdint>
#include <string>
#include <string_view>

namespace kl {

// atoi: leading whitespace, an optional sign, then decimal digits up to the first
// non-digit; 0 when there are none. A value beyond the range of int is clamped.
int AtoiText(std::string_view text);

// One "%d" conversion of scanf, limited to maxWidth characters after the skipped leading
// whitespace (like "%10d"): an optional sign and decimal digits. On success the value (clamped
// to int) is stored and the consumed characters are removed from text; without a digit
// nothing changes and the result is false.
bool ScanDecimal(std::string_view& text, int& value, std::size_t maxWidth = std::string_view::npos);

// "%x": leading whitespace, an optional "0x"/"0X" prefix, then hexadecimal digits up to
// the first non-hex character; 0 when there are none. A value beyond 32 bits is clamped.
std::uint32_t HexText(std::string_view text);

// "%x": lower-case hexadecimal digits without prefix or leading zeros.
std::string FormatHex(std::uint32_t value);

}  // namespace kl
