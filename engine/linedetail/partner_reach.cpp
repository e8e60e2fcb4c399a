#include "engine/linedetail/partner_reach.h"

#include <algorithm>


namespace kl {

bool ComputePartnerReach(const LineShape& line1, const LineShape& line2, PartnerReach& out,
                         const std::stop_token& stop)
{
    const std::size_t n1 = line1.text.size();
    const std::size_t n2 = line2.text.size();
    out.reach1.assign(n1, 0);
    out.reach2.assign(n2, 0);
    if (line1.starts.empty() || line2.starts.empty())
        return true;

    // room2[j]: how long a candidate of line 2 starting at j can be (0 where none starts).
    std::vector<std::int32_t> room2(n2, 0);
    for (std::int32_t t : line2.starts)
        room2[static_cast<std::size_t>(t)] = std::max(0, line2.endLimit - t);

    // extension[j] = length of the common prefix of line1[i..] and line2[j..] for the
    // current row i; below holds row i + 1. The loops are branch-free so that they
    // vectorise; reach2 is also written at positions where no candidate starts, which
    // nothing reads.
    std::vector<std::int32_t> extension(n2 + 1, 0);
    std::vector<std::int32_t> below(n2 + 1, 0);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(line2.text.data());
    std::int32_t* reach2 = out.reach2.data();
    for (std::size_t i = n1; i-- > 0;) {
        if (stop.stop_requested())
            return false;
        const unsigned char a = static_cast<unsigned char>(line1.text[i]);
        for (std::size_t j = 0; j < n2; ++j)
            extension[j] = b[j] == a ? below[j + 1] + 1 : 0;

        if (line1.isStart[i] != 0) {
            const std::int32_t room1 = line1.endLimit - static_cast<std::int32_t>(i);
            std::int32_t best = 0;
            for (std::size_t j = 0; j < n2; ++j) {
                best = std::max(best, std::min(extension[j], room2[j]));
                reach2[j] = std::max(reach2[j], std::min(extension[j], room1));
            }
            out.reach1[i] = best;
        }
        std::swap(extension, below);
    }
    return true;
}

}  // namespace kl
