#include "engine/report/report_rows.h"

namespace kl {

namespace {

CellShade ShadeOf(RowKind kind)
{
    switch (kind) {
    case ROW_COMMON: return CellShade::Same;
    case ROW_ONLY_A: return CellShade::OnlyA;
    case ROW_ONLY_B: return CellShade::OnlyB;
    case ROW_CHANGED: return CellShade::Changed;
    case ROW_FILLER: break;
    }
    return CellShade::Filler;
}

}  // namespace

void ReportRows::Read(int r, ReportRow& row, bool marks)
{
    for (int side = DOC_A; side <= DOC_B; ++side) {
        const auto k = static_cast<std::size_t>(side);
        ReportCell& cell = row.cells[k];
        const DisplayRow& shown = shown_.Cell(side, r);
        cell.lineIndex = shown.lineIndex;
        cell.shade = ShadeOf(shown.kind);
        cell.text = shown_.TextAt(side, r, scratch_[k]);
        // Messages are code page 932 whatever the text's encoding.
        cell.encoding = shown.kind == ROW_FILLER ? TextEncoding::Cp932 : shown_.EncodingOf(side);
        cell.marks.clear();
    }
    if (marks && shown_.IsPaired(r)) {
        RowMarks found = MarkShownRow(shown_, r);
        for (std::size_t k = 0; k < 2; ++k)
            row.cells[k].marks = std::move(found.runs[k]);
    }
}

}  // namespace kl
