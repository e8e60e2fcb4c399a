#include "engine/linedetail/partner_reach.h"

#include <algorithm>
#include <limits>

namespace kl {

namespace {

// The table walk with cells of type Cell, which must hold every length up to the longer
// line's. Narrow cells let the inner loops handle more positions per vector instruction.
template <typename Cell>
bool ComputeReachRows(const LineShape& line1, const LineShape& line2, PartnerReach& out, const std::stop_token& stop)
{
    const std::size_t n1 = line1.text.size();
    const std::size_t n2 = line2.text.size();

    // room2[j]: how long a candidate of line 2 starting at j can be (0 where none starts).
    std::vector<Cell> room2(n2, 0);
    for (std::int32_t t : line2.starts)
        room2[static_cast<std::size_t>(t)] = static_cast<Cell>(std::max(0, line2.endLimit - t));

    // extension[j] = length of the common prefix of line1[i..] and line2[j..] for the
    // current row i; below holds row i + 1. The loops are branch-free so that they
    // vectorise; reach2 is also written at positions where no candidate starts, which
    // nothing reads.
    std::vector<Cell> extension(n2 + 1, 0);
    std::vector<Cell> below(n2 + 1, 0);
    std::vector<Cell> reach2(n2, 0);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(line2.text.data());
    for (std::size_t i = n1; i-- > 0;) {
        if (stop.stop_requested())
            return false;
        const unsigned char a = static_cast<unsigned char>(line1.text[i]);
        Cell* __restrict ext = extension.data();
        const Cell* __restrict next = below.data() + 1;
        // All ones where the bytes match, all zeros elsewhere: a mask instead of a branch.
        for (std::size_t j = 0; j < n2; ++j)
            ext[j] = static_cast<Cell>((next[j] + 1) & -static_cast<Cell>(b[j] == a));

        if (line1.isStart[i] != 0) {
            const auto room1 = static_cast<Cell>(line1.endLimit - static_cast<std::int32_t>(i));
            const Cell* __restrict room = room2.data();
            Cell* __restrict reach = reach2.data();
            Cell best = 0;
            for (std::size_t j = 0; j < n2; ++j) {
                best = std::max(best, std::min(ext[j], room[j]));
                reach[j] = std::max(reach[j], std::min(ext[j], room1));
            }
            out.reach1[i] = best;
        }
        std::swap(extension, below);
    }
    std::copy(reach2.begin(), reach2.end(), out.reach2.begin());
    return true;
}

}  // namespace

bool ComputePartnerReach(const LineShape& line1, const LineShape& line2, PartnerReach& out,
                         const std::stop_token& stop)
{
    const std::size_t n1 = line1.text.size();
    const std::size_t n2 = line2.text.size();
    out.reach1.assign(n1, 0);
    out.reach2.assign(n2, 0);
    if (line1.starts.empty() || line2.starts.empty())
        return true;
    // Lengths never exceed the longer line; room1 can be negative past the end limit, so a
    // signed cell is needed.
    if (std::max(n1, n2) < static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        return ComputeReachRows<std::int16_t>(line1, line2, out, stop);
    return ComputeReachRows<std::int32_t>(line1, line2, out, stop);
}

}  // namespace kl
