#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kl {

inline constexpr int kPartnerSlotCount = 5;
inline constexpr int kNoLine = -1;

// One line of a loaded text. The bytes live in the owning LineTable's arena; the match
// fields are filled by the comparison run.
struct LineRecord {
    std::int32_t index = 0;          // 0-based line number within its text
    std::int32_t length = 0;         // bytes taken from the file, line end included
    std::int32_t contentLength = 0;  // bytes before the line end
    std::int16_t newlineKind = 0;    // 0 none (last line only), 1 LF or lone CR, 2 CR LF
    std::int64_t textOffset = 0;     // start of the line's bytes in LineTable::bytes
    std::int32_t textLength = 0;     // stored bytes; shorter than length after EUC-JP conversion

    // Match fields. Partner slots hold line indexes of the other text, kNoLine = empty;
    // the list ends at the first empty slot and slot 0 is the primary partner. The
    // partner lines list is a separate record of line numbers and can differ from the slots.
    std::int32_t blockSize = 0;
    std::array<std::int32_t, kPartnerSlotCount> partnerSlots{kNoLine, kNoLine, kNoLine, kNoLine, kNoLine};
    std::vector<std::int32_t> partnerLines;
};

// A loaded text: its lines and one arena holding all their bytes back to back. Neighbours
// of a line (the chain the matcher walks) are the records at index - 1 and index + 1.
struct LineTable {
    std::string bytes;
    std::vector<LineRecord> lines;

    int count() const { return static_cast<int>(lines.size()); }
    std::string_view text(int i) const
    {
        const LineRecord& r = lines[static_cast<std::size_t>(i)];
        return std::string_view(bytes.data() + r.textOffset, static_cast<std::size_t>(r.textLength));
    }
    std::string_view text(const LineRecord& r) const
    {
        return std::string_view(bytes.data() + r.textOffset, static_cast<std::size_t>(r.textLength));
    }
};

}  // namespace kl
