#pragma once
// Everything that depends on the text encoding of the loaded files sits behind this seam:
// character stepping, decoding for display and the full-width space test. The comparison
// algorithms only ever call these functions, so another text encoding can be added here.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/platform/utf8_validation.h"

namespace kl {

// A lead byte of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
bool IsLeadByte(unsigned char c);

// Position of the character after the one starting at pos. A lead byte takes the next
// byte with it (whatever that byte is, CR and LF included), but the result never passes
// the end of text. At or past the end, returns text.size().
std::size_t NextChar(std::string_view text, std::size_t pos);
const char* NextChar(const char* p, const char* end);

// The full-width space 0x81 0x40 starts at pos.
bool IsWideSpaceAt(std::string_view text, std::size_t pos);

// Decoding for display. A byte or byte pair with no character in code page 932 becomes
// U+FFFD, one per undecodable byte (a lead byte with an invalid trail byte gives U+FFFD
// for the lead byte; the trail byte is then decoded on its own).
std::u16string Cp932ToUtf16(std::string_view bytes);
std::string Cp932ToUtf8(std::string_view bytes);
// The character starting at pos, decoded the same way; pos moves past it.
char32_t DecodeCp932Char(std::string_view bytes, std::size_t& pos);
// Writes the UTF-8 form of a code point of the Basic Multilingual Plane to out (room for
// three bytes); returns the bytes written.
std::size_t EncodeUtf8(char32_t cp, char* out);

// Encoding of Unicode text into code page 932; characters without a code become '?'.
// Invalid UTF-8 sequences also become '?' (one per maximal ill-formed subpart), and so
// does a UTF-16 surrogate pair or lone surrogate. A character with several codes gets the
// one Windows writes (JIS row 2 before NEC row 13 before the IBM extensions; never the
// NEC-selected IBM extensions 0xED40-0xEEFC), and the JIS look-alikes U+301C, U+2016,
// U+2212, U+00A2, U+00A3, U+00AC map one way onto their code page 932 characters.
std::string Utf8ToCp932(std::string_view utf8);
// The code page 932 code of a code point: a single byte (below 0x100) or a double-byte code
// (lead << 8 | trail), chosen as Utf8ToCp932 does; nullopt when the code page has none.
std::optional<unsigned> Cp932CodeOf(char32_t cp);
std::string Utf16ToCp932(std::u16string_view utf16);

// The longest prefix of text of at most maxBytes bytes that does not cut a double-byte
// character in half.
std::size_t Cp932PrefixLength(std::string_view text, std::size_t maxBytes);

}  // namespace kl
