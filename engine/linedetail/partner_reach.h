#pragma once
// How far an equal substring of the other line reaches from each candidate start.
#include <cstdint>
#include <stop_token>
#include <vector>

#include "engine/linedetail/line_shape.h"

namespace kl {

// reach1[s], for a candidate start s of line 1: the greatest length L such that
// line1[s, s + L) equals a substring of line 2 that starts at a candidate start t of
// line 2 and ends at or before line 2's end limit (0 when there is none). A candidate
// (s, s + L) of line 1 can have an equal candidate in line 2 only when L <= reach1[s].
// (Equal bytes from a character start step alike, so the equal substring almost always
// ends on a boundary too; only a lone lead byte at the very end of a text steps
// differently, which the partner search checks.) reach2 is the same for line 2 against
// line 1. Both are indexed by byte offset.
struct PartnerReach {
    std::vector<std::int32_t> reach1;
    std::vector<std::int32_t> reach2;
};

// Longest common extensions of every pair of positions, row by row, in O(n1 * n2) time
// and O(n2) memory. Returns false when an abort was requested.
bool ComputePartnerReach(const LineShape& line1, const LineShape& line2, PartnerReach& out,
                         const std::stop_token& stop);

}  // namespace kl
