#pragma once
// The character structure of one line as the character-level comparison sees it: where
// characters start, which substrings are candidates, and how long they are.
//
// Lengths are counted in cells (CharCellsIn): a byte in code page 932, and the same count
// for the same characters in UTF-8, so that a line compares alike in either encoding.
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/platform/text_encoding.h"

namespace kl {

struct LineShape {
    std::string_view text;
    std::vector<std::uint8_t> isBoundary;  // text.size() + 1 entries: 1 at each character start and at the end
    std::vector<std::uint8_t> isStart;     // text.size() entries: 1 at each candidate start
    std::vector<std::int32_t> starts;      // the candidate starts ascending: every character start before the first CR or LF
    std::int32_t endLimit = 0;             // the greatest end a candidate may have
    std::int64_t candidateCount = 0;
    // text.size() + 1 entries: the cells of the characters that end at or before each offset.
    std::vector<std::int32_t> cellsBefore;
    // For each cell count up to the whole line's, the boundary with that many cells before
    // it, or -1 where a two-cell character spans the count.
    std::vector<std::int32_t> boundaryAtCells;

    // Whether text[start, end) is a candidate, for a start taken from starts.
    bool IsCandidateEnd(std::int32_t start, std::int32_t end) const;
    // The cells of text[start, end) for two boundaries.
    std::int32_t Cells(std::int32_t start, std::int32_t end) const
    {
        return cellsBefore[static_cast<std::size_t>(end)] - cellsBefore[static_cast<std::size_t>(start)];
    }
    // The boundary that lies the given cells after start, or -1 when there is none.
    std::int32_t EndAfterCells(std::int32_t start, std::int32_t cells) const
    {
        const auto at = static_cast<std::size_t>(cellsBefore[static_cast<std::size_t>(start)] + cells);
        return at < boundaryAtCells.size() ? boundaryAtCells[at] : -1;
    }
};

// Walks the text character by character in its encoding; a CR or LF that follows a lead
// byte of code page 932 belongs to its double-byte character and does not end the walk.
LineShape MakeLineShape(std::string_view text, TextEncoding encoding = TextEncoding::Cp932);

}  // namespace kl
