#include "engine/compare/partner_slot_table.h"

namespace kl {

PartnerSlotTable::PartnerSlotTable(int lineCount)
    : primary_(static_cast<std::size_t>(lineCount), kNoLine),
      later_((static_cast<std::size_t>(lineCount) + kChunkLines - 1) / kChunkLines)
{
}

PartnerSlots PartnerSlotTable::operator[](int line) const
{
    PartnerSlots slots;
    for (int k = 0; k < kPartnerSlotCount; ++k)
        slots[static_cast<std::size_t>(k)] = Get(line, k);
    return slots;
}

void PartnerSlotTable::Set(int line, int k, std::int32_t partner)
{
    if (k == 0) {
        primary_[static_cast<std::size_t>(line)] = partner;
        return;
    }
    std::vector<Later>& chunk = later_[static_cast<std::size_t>(line) / kChunkLines];
    if (chunk.empty()) {
        if (partner == kNoLine)
            return;  // an empty slot stays empty without its chunk
        chunk.assign(kChunkLines, Later{kNoLine, kNoLine, kNoLine});
    }
    chunk[static_cast<std::size_t>(line) % kChunkLines][static_cast<std::size_t>(k) - 1] = partner;
}

}  // namespace kl
