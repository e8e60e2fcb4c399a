#pragma once
// The partner slots of every line of one text. The primary partner (slot 0) of each line
// sits in one compact array, which the candidate search reads all the time; the further
// slots are kept in chunks of lines that are made only where some line needs them, since
// most lines never get a second candidate.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/document/text.h"

namespace kl {

// Candidate partners of a line in the other text, ended by the first kNoLine; slot 0 is
// the primary partner. A list holds at most four.
inline constexpr int kPartnerSlotCount = 4;
using PartnerSlots = std::array<std::int32_t, kPartnerSlotCount>;
inline constexpr PartnerSlots kNoPartners{kNoLine, kNoLine, kNoLine, kNoLine};

class PartnerSlotTable {
public:
    explicit PartnerSlotTable(int lineCount = 0);

    std::size_t size() const { return primary_.size(); }
    // All slots of a line (a copy).
    PartnerSlots operator[](int line) const;
    std::int32_t Get(int line, int k) const
    {
        if (k == 0) return primary_[static_cast<std::size_t>(line)];
        const std::vector<Later>& chunk = later_[static_cast<std::size_t>(line) / kChunkLines];
        return chunk.empty() ? kNoLine : chunk[static_cast<std::size_t>(line) % kChunkLines][static_cast<std::size_t>(k) - 1];
    }
    void Set(int line, int k, std::int32_t partner);
    const std::int32_t* Primaries() const { return primary_.data(); }

private:
    static constexpr std::size_t kChunkLines = 1024;
    using Later = std::array<std::int32_t, kPartnerSlotCount - 1>;

    std::vector<std::int32_t> primary_;
    std::vector<std::vector<Later>> later_;  // per chunk of lines; empty until needed
};

}  // namespace kl
