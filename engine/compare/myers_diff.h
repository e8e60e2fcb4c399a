#pragma once
// Myers' difference algorithm in linear space: a shortest edit script between two key
// sequences, found by meeting a forward and a backward search in the middle and dividing
// there. Beyond a cost that grows with the square root of the lengths a search stops at the
// furthest point it reached, as GNU diff does, so that two unrelated large texts still
// finish quickly; below it the answer is minimal.
#include <stop_token>

#include "engine/compare/line_alignment.h"

namespace kl {

// Links the common lines of range in out (which has room for both texts). Returns false
// when a stop was requested, with part of the range aligned.
bool AlignMyers(const KeySequences& keys, const LineRange& range, LineAlignment& out,
                const std::stop_token& stop = {});

}  // namespace kl
