#pragma once
// One pairing step of the character-level comparison: the candidates of the driving line
// are tried longest first and each is paired with the first equal candidate of the other
// line, unless it lies inside a candidate of its own line that was paired before.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/linedetail/line_compare.h"
#include "engine/linedetail/line_shape.h"
#include "engine/linedetail/substring_hash.h"

namespace kl {

// The candidates of one line that took part in a pairing, each stored once. Indexes stay
// valid: entries are only ever appended.
class CandidateStore {
public:
    // Index of the candidate [start, end), appended with default fields when new.
    std::int32_t Touch(std::int32_t start, std::int32_t end);
    // Index of the candidate, or kNoCandidate when it was never stored.
    std::int32_t Find(std::int32_t start, std::int32_t end) const;

    std::vector<SubstringCandidate> list;

private:
    std::unordered_map<std::uint64_t, std::int32_t> index_;
};

// One line as a pairing step sees it.
struct PairingLine {
    const LineShape& shape;
    const SubstringHasher& hasher;
    const std::vector<std::int32_t>& reach;  // this line's reach into the other (PartnerReach)
    CandidateStore& store;
};

struct PairingOutcome {
    std::vector<std::int32_t> paired;  // store indexes of the driving candidates paired, in pairing order
    bool aborted = false;
};

// Pairs the driving line against the other line. limit: -1 for none; otherwise the step
// stops after limit pairings or after pairing a substring of 4 cells or less.
PairingOutcome PairDrivingLine(const PairingLine& driving, const PairingLine& other, std::int64_t limit,
                               const std::stop_token& stop);

}  // namespace kl
