#include "engine/compare/left_out_lines.h"

#include "engine/compare/row_emitter.h"

namespace kl {
namespace {

std::int32_t MapLine(const std::vector<std::int32_t>& lines, std::int32_t keyLine)
{
    return keyLine >= 0 && static_cast<std::size_t>(keyLine) < lines.size() ? lines[static_cast<std::size_t>(keyLine)]
                                                                            : kNoLine;
}

// The match fields of one side in the text's line numbers; left-out lines have none.
void RestoreMatchFields(const SideResult& keyed, const ComparedLines& own, const ComparedLines& other,
                        SideResult& side)
{
    const std::size_t n = own.keyLine.size();
    side.blockSize.assign(n, 0);
    side.partnerSlots = PartnerSlotTable(static_cast<int>(n));
    side.partnerLines.starts.assign(n + 1, 0);
    side.partnerLines.lines.clear();
    for (std::size_t i = 0; i < n; ++i) {
        side.partnerLines.starts[i] = static_cast<std::uint32_t>(side.partnerLines.lines.size());
        const std::int32_t k = own.keyLine[i];
        if (k == kNoLine) continue;
        side.blockSize[i] = keyed.blockSize[static_cast<std::size_t>(k)];
        for (int slot = 0; slot < kPartnerSlotCount; ++slot) {
            const std::int32_t partner = keyed.partnerSlots.Get(k, slot);
            if (partner == kNoLine) break;
            side.partnerSlots.Set(static_cast<int>(i), slot, MapLine(other.lines, partner));
        }
        for (std::int32_t partner : keyed.partnerLines.Of(k)) side.partnerLines.lines.push_back(MapLine(other.lines, partner));
    }
    side.partnerLines.starts[n] = static_cast<std::uint32_t>(side.partnerLines.lines.size());
    if (n == 0) side.partnerLines.starts.clear();
}

// Puts the left-out lines before DocA line a and DocB line b into rows, side by side
// where both have some.
void EmitLeftOutUntil(RowEmitter& out, int a, int b)
{
    while (out.i() < a || out.j() < b) out.EmitLeftOut(out.i() < a, out.j() < b);
}

}  // namespace

bool RestoreLeftOutLines(const CompareResult& keyed, const std::array<ComparedLines, 2>& compared,
                         const std::stop_token& stop, CompareResult& result)
{
    const ComparedLines& a = compared[DOC_A];
    const ComparedLines& b = compared[DOC_B];
    RestoreMatchFields(keyed.sides[DOC_A], a, b, result.sides[DOC_A]);
    RestoreMatchFields(keyed.sides[DOC_B], b, a, result.sides[DOC_B]);

    RowEmitter out(result);
    out.Begin();
    for (int r = 0; r < keyed.RowCount(); ++r) {
        const DisplayRow& left = keyed.Rows(DOC_A)[static_cast<std::size_t>(r)];
        const DisplayRow& right = keyed.Rows(DOC_B)[static_cast<std::size_t>(r)];
        const std::int32_t x = MapLine(a.lines, left.lineIndex);
        const std::int32_t y = MapLine(b.lines, right.lineIndex);
        EmitLeftOutUntil(out, x != kNoLine ? x : out.i(), y != kNoLine ? y : out.j());
        if (x != kNoLine && y != kNoLine)
            out.EmitCommon();
        else if (x != kNoLine && left.kind == ROW_COMMON)
            out.EmitMoved(MapLine(b.lines, right.partnerLine), right.message);
        else if (x != kNoLine)
            out.EmitOnlyA();
        else if (y != kNoLine && out.i() < out.countA() && out.j() < out.countB() - 1)
            out.EmitOnlyB();
        else if (y != kNoLine)
            out.EmitTrailingOnlyB();
        if (r % 4096 == 0 && stop.stop_requested()) return false;
    }
    EmitLeftOutUntil(out, out.countA(), out.countB());
    out.Finish();
    return true;
}

}  // namespace kl
