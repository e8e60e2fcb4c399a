#pragma once
// The encodings a text can be held in, and what depends on them: stepping through
// characters, the full-width space, decoding for display, and telling a file's encoding
// from its bytes. A text is code page 932 unless its bytes say otherwise; UTF-16 files are
// held as UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

namespace kl {

enum class TextEncoding : std::uint8_t { Cp932, Utf8 };

// "Shift_JIS" or "UTF-8", as the program names the encodings to the user.
std::string_view EncodingName(TextEncoding encoding);

// Position of the character after the one at pos; never past the end of text.
std::size_t NextCharIn(TextEncoding encoding, std::string_view text, std::size_t pos);
// Cells the character text[pos, next) takes: 1 for a character code page 932 writes in
// one byte (ASCII, half-width katakana, a stray byte), 2 for any other. The same text
// therefore has the same cell count in both encodings.
int CharCellsIn(TextEncoding encoding, std::string_view text, std::size_t pos, std::size_t next);
// The full-width space (code page 932 81 40, UTF-8 E3 80 80) starts at pos.
bool IsWideSpaceIn(TextEncoding encoding, std::string_view text, std::size_t pos);
// The character at pos, decoded (U+FFFD for a byte that is no part of one); pos moves past it.
char32_t DecodeCharIn(TextEncoding encoding, std::string_view bytes, std::size_t& pos);
// Writes the UTF-8 form of any code point to out (room for four bytes); returns its length.
std::size_t EncodeUtf8Any(char32_t cp, char* out);
// Bytes decoded for display; a byte that is no part of a character becomes U+FFFD.
std::u16string DecodeToUtf16(TextEncoding encoding, std::string_view bytes);
std::string DecodeToUtf8(TextEncoding encoding, std::string_view bytes);

// What a file's bytes say about their encoding.
enum class DetectedEncoding {
    Cp932,    // anything that is not one of the others (pure ASCII included)
    Utf8,     // valid UTF-8 as a whole, with at least one byte above 0x7F
    Utf8Bom,  // begins with EF BB BF
    Utf16Le,  // begins with FF FE
    Utf16Be,  // begins with FE FF
};
DetectedEncoding DetectEncoding(std::string_view bytes);
// The same for bytes already checked: validUtf8 is IsValidUtf8(bytes).
DetectedEncoding DetectEncoding(std::string_view bytes, bool validUtf8);
// Bytes of the byte order mark that begins bytes in the detected encoding (0 for none).
std::size_t ByteOrderMarkLength(DetectedEncoding detected);

// UTF-16 code units (without their byte order mark) as UTF-8. An odd last byte and an
// unpaired surrogate each become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
// Appends the UTF-16 code units of cp in the given byte order; false, appending nothing, for
// a surrogate or a value past U+10FFFF.
bool AppendUtf16Char(char32_t cp, bool bigEndian, std::string& out);

}  // namespace kl
