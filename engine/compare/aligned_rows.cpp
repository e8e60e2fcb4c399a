#include "engine/compare/aligned_rows.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/compare/row_emitter.h"

namespace kl {
namespace {

// partners[x] of each line of one side, with the runs where consecutive lines have
// consecutive partners measured as block sizes.
std::vector<std::int32_t> RunLengths(const std::vector<std::int32_t>& partners)
{
    std::vector<std::int32_t> sizes(partners.size(), 0);
    std::size_t x = 0;
    while (x < partners.size()) {
        if (partners[x] == kNoLine) {
            ++x;
            continue;
        }
        std::size_t end = x + 1;
        while (end < partners.size() && partners[end] != kNoLine && partners[end] == partners[end - 1] + 1) ++end;
        for (std::size_t k = x; k < end; ++k) sizes[k] = static_cast<std::int32_t>(end - x);
        x = end;
    }
    return sizes;
}

void FillSide(const std::vector<std::int32_t>& common, const std::vector<std::int32_t>& moved, SideResult& side)
{
    std::vector<std::int32_t> partners(common.size(), kNoLine);
    for (std::size_t k = 0; k < common.size(); ++k) partners[k] = common[k] != kNoLine ? common[k] : moved[k];
    // Common and moved runs are measured apart: a moved line never extends a common block.
    const std::vector<std::int32_t> commonSizes = RunLengths(common);
    const std::vector<std::int32_t> movedSizes = RunLengths(moved);
    side.blockSize.assign(common.size(), 0);
    side.partnerSlots = PartnerSlotTable(static_cast<int>(common.size()));
    side.partnerLines.starts.assign(common.size() + 1, 0);
    side.partnerLines.lines.clear();
    for (std::size_t k = 0; k < common.size(); ++k) {
        side.blockSize[k] = common[k] != kNoLine ? commonSizes[k] : movedSizes[k];
        side.partnerLines.starts[k] = static_cast<std::uint32_t>(side.partnerLines.lines.size());
        if (partners[k] != kNoLine) {
            side.partnerSlots.Set(static_cast<int>(k), 0, partners[k]);
            side.partnerLines.lines.push_back(partners[k]);
        }
    }
    side.partnerLines.starts[common.size()] = static_cast<std::uint32_t>(side.partnerLines.lines.size());
    if (common.empty()) side.partnerLines.starts.clear();
}

}  // namespace

void FillMatchFields(const MinimalMatch& match, CompareResult& result)
{
    FillSide(match.alignment.partnerA, match.movedA, result.sides[DOC_A]);
    FillSide(match.alignment.partnerB, match.movedB, result.sides[DOC_B]);
}

bool EmitAlignedRows(const MinimalMatch& match, int progressStart, const ProgressCallback& progress,
                     const std::stop_token& stop, CompareResult& result)
{
    RowEmitter out(result);
    const std::vector<std::int32_t>& partnerA = match.alignment.partnerA;
    const int nA = out.countA();
    const int nB = out.countB();
    const std::int64_t total = static_cast<std::int64_t>(nA) + nB;
    int lastReported = -1;
    std::int64_t steps = 0;
    out.Begin();
    while (out.i() < nA || out.j() < nB) {
        const int i = out.i();
        const int j = out.j();
        if (i < nA && j < nB && partnerA[static_cast<std::size_t>(i)] == j) {
            out.EmitCommon();
        } else if (i < nA && partnerA[static_cast<std::size_t>(i)] == kNoLine) {
            const int p = match.movedA[static_cast<std::size_t>(i)];
            if (p != kNoLine)
                out.EmitMoved(p, j < p ? RowMessage::PartnerBelow : RowMessage::PartnerAbove);
            else
                out.EmitOnlyA();
        } else if (i < nA) {
            out.EmitOnlyB();
        } else {
            out.EmitTrailingOnlyB();
        }
        if (++steps % 4096 == 0) {
            const int value = progressStart + static_cast<int>((out.i() + out.j()) * (100 - progressStart) / std::max<std::int64_t>(total, 1));
            if (value != lastReported && progress) progress(value);
            lastReported = value;
            if (stop.stop_requested()) return false;
        }
    }
    out.Finish();
    if (progress) progress(100);
    return true;
}

}  // namespace kl
