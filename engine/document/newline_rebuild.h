#pragma once
// Giving every line of a text a CR LF line end: an LF alone, a CR alone and a line ending
// in CR CR become CR LF. A line without a line end is left as it is.
#include <optional>

#include "engine/document/text.h"
#include "engine/document/text_document.h"

namespace kl {

// The text with its line ends rebuilt, or nothing when every line end is CR LF already (or
// the line has none). Read lengths grow by the byte each appended line end adds, and the
// longest line is found again. Throws std::length_error when a line would reach 2 GiB.
std::optional<Text> RebuildNewlines(const Text& text);

enum class RepairedTexts { None, DocA, DocB, Both };

// Rebuilds the line ends of both loaded texts; a text that needed repairs is replaced by
// its rebuilt one. The comparison result keeps the texts it was made from. On an exception
// (memory, or a line of 2 GiB) neither text is replaced.
RepairedTexts RebuildDocumentNewlines(TextDocument& doc);

inline bool Repaired(RepairedTexts repaired, int k)
{
    return repaired == RepairedTexts::Both || (k == 0 && repaired == RepairedTexts::DocA) ||
           (k == 1 && repaired == RepairedTexts::DocB);
}

}  // namespace kl
