#include "engine/report/report_rows.h"

#include <algorithm>

namespace kl {

namespace {

CellShade ShadeOf(RowKind kind)
{
    switch (kind) {
    case ROW_COMMON: return CellShade::Same;
    case ROW_ONLY_A: return CellShade::OnlyA;
    case ROW_ONLY_B: return CellShade::OnlyB;
    case ROW_FILLER: break;
    }
    return CellShade::Filler;
}

}  // namespace

ReportRows::ReportRows(const CompareResult& result)
    : result_(result), count_(static_cast<int>(std::min(result.Rows(DOC_A).size(), result.Rows(DOC_B).size())))
{
}

bool ReportRows::IsDifference(int r) const
{
    const auto k = static_cast<std::size_t>(r);
    return result_.Rows(DOC_A)[k].kind != ROW_COMMON || result_.Rows(DOC_B)[k].kind != ROW_COMMON;
}

void ReportRows::Read(int r, ReportRow& row)
{
    row.difference = IsDifference(r);
    for (int side = DOC_A; side <= DOC_B; ++side) {
        const DisplayRow& shown = result_.Rows(side)[static_cast<std::size_t>(r)];
        ReportCell& cell = row.cells[static_cast<std::size_t>(side)];
        cell.lineIndex = shown.lineIndex;
        cell.shade = ShadeOf(shown.kind);
        cell.text = RowText(result_, side, shown, scratch_[static_cast<std::size_t>(side)]);
        // Messages are code page 932 whatever the text's encoding.
        const Text* text = result_.TextOf(side);
        cell.encoding = shown.kind == ROW_FILLER || !text ? TextEncoding::Cp932 : text->encoding;
        cell.marks.clear();
    }
}

}  // namespace kl
