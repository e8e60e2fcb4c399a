#pragma once
// The character structure of one line as the character-level comparison sees it: where
// characters start and which substrings are candidates.
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

    // Whether text[start, end) is a candidate, for a start taken from starts.
    bool IsCandidateEnd(std::int32_t start, std::int32_t end) const;
};

// Walks the text character by character in its encoding; a CR or LF that follows a lead
// byte of code page 932 belongs to its double-byte character and does not end the walk.
LineShape MakeLineShape(std::string_view text, TextEncoding encoding = TextEncoding::Cp932);

}  // namespace kl
