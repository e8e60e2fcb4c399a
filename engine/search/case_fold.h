#pragma once
// Case folding for search without case distinction: ASCII letters and the full-width Latin
// letters (Ａ-Ｚ to ａ-ｚ). Each letter keeps its width, so "Ａ" never matches "a". Folding
// never changes a character's length in either encoding, so byte offsets into folded bytes
// are offsets into the original.
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/platform/text_encoding.h"

namespace kl {

char32_t FoldCase(char32_t c);

// Folds the characters of bytes[0, size) that begin at a character boundary; bytes must
// begin at one (a line start). A double-byte Shift_JIS character whose trail byte looks like
// an ASCII letter is left alone.
void FoldCaseInPlace(TextEncoding encoding, char* bytes, std::size_t size);

// Whether utf8 holds a letter that has another case (so that folding the searched text matters).
bool HasCasedLetter(std::string_view utf8);

std::string FoldedUtf8(std::string_view utf8);

}  // namespace kl
