#pragma once
// The comparison of two long lines, where the greedy cover of line_compare.h would take too
// long: a difference of the two character sequences as a shortest edit script finds it
// (Myers' O(ND) search, in linear space), with its work bounded. Each split of the search
// gives up after a fixed number of edit steps and splits at the diagonal that reached
// furthest instead, and the whole search stops after a fixed amount of work; whatever is
// left unresolved counts as different. The result is a sound list of common stretches,
// not always the longest one.
#include <cstdint>
#include <stop_token>
#include <string_view>
#include <vector>

#include "engine/platform/text_encoding.h"

namespace kl {

// Equal bytes at text1[start1, start1 + length) and text2[start2, start2 + length), on
// character boundaries of both.
struct CommonStretch {
    std::int32_t start1 = 0;
    std::int32_t start2 = 0;
    std::int32_t length = 0;

    bool operator==(const CommonStretch&) const = default;
};

struct BoundedDiffLimits {
    std::int64_t stepsPerSplit = 64;       // edit steps a split tries before it settles for the best diagonal
    std::int64_t work = 300'000'000;       // diagonal and snake steps of the whole search
};

struct BoundedDiff {
    std::vector<CommonStretch> stretches;  // ascending in both texts, not touching each other
    bool aborted = false;                  // a stop was requested; stretches is empty
};

// The common stretches of text1 and text2 (each without its line end), read as characters
// of encoding.
BoundedDiff DiffLongLines(std::string_view text1, std::string_view text2, TextEncoding encoding,
                          const std::stop_token& stop = {}, const BoundedDiffLimits& limits = {});

}  // namespace kl
