#pragma once
// EUC-JP written from code page 932 codes: the way back of the loader's EUC-JP conversion
// (the arithmetic mapping between the two forms of JIS X 0208, half-width katakana behind 0x8E).
#include <string>

namespace kl {

// Appends the EUC-JP bytes of a code page 932 code (a single byte, or lead << 8 | trail).
// False, appending nothing, when EUC-JP has no place for it: a double-byte code past the
// 94 rows of JIS X 0208 (lead 0xF0 and above), a trail byte outside 0x40-0xFC, a byte that
// is no character.
bool AppendEucJpCode(unsigned cp932Code, std::string& out);

}  // namespace kl
