#pragma once
// Which DocA-only lines and DocB-only lines of one gap between common rows stand side by side
// as changed rows. With equal counts they pair in order. With unequal counts they pair by
// similarity: of all pairings that keep both sides in order, the one whose pairs share the
// most characters (a pair must share at least one); beyond kSimilarityPairingLimit lines on
// a side, in order, as far as the shorter side reaches.
#include <span>
#include <string_view>
#include <vector>

#include "engine/platform/text_encoding.h"

namespace kl {

inline constexpr int kSimilarityPairingLimit = 200;

struct LinePairing {
    int a = 0;  // index into the DocA lines given
    int b = 0;  // index into the DocB lines given
    bool operator==(const LinePairing&) const = default;
};

// Lines are given with their line ends, which take no part in the similarity. The answer is
// ascending in both a and b.
std::vector<LinePairing> PairChangedLines(std::span<const std::string_view> linesA, TextEncoding encodingA,
                                          std::span<const std::string_view> linesB, TextEncoding encodingB);

// How many characters two lines have in common, counted as multisets (each character of a
// counts once for an equal character of b), line ends left out.
int CommonCharacters(std::string_view a, TextEncoding encodingA, std::string_view b, TextEncoding encodingB);

}  // namespace kl
