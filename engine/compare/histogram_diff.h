#pragma once
// The histogram heuristic: within a range, the common line that is rarest in DocA anchors
// the alignment, with the longest run of equal lines through it; the lines before and after
// are aligned the same way. Ranges without a rare common line fall back to Myers. The
// anchors follow the lines a reader recognises (headings, unique code) instead of blank
// lines and braces, which reads better than a bare shortest edit script.
#include <stop_token>

#include "engine/compare/line_alignment.h"

namespace kl {

// Aligns the whole of both sequences; keyCount bounds the keys. anchors (when given) gets
// the number of anchors taken: with none, the answer is Myers' alone. Returns false on a
// stop request.
bool AlignHistogram(const KeySequences& keys, int keyCount, LineAlignment& out, const std::stop_token& stop = {},
                    int* anchors = nullptr);

}  // namespace kl
