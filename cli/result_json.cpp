#include "cli/result_json.h"

#include <algorithm>

#include "cli/json_writer.h"
#include "engine/display/changed_marks.h"

namespace kl::cli {

namespace {

// Writes "[" items "]" with one item per line, so that large results stay readable.
template <typename Items, typename WriteItem>
void PutArray(OutputBuffer& out, const Items& items, WriteItem writeItem)
{
    out.Put('[');
    bool first = true;
    for (const auto& item : items) {
        out.Put(first ? "\n" : ",\n");
        first = false;
        writeItem(item);
    }
    out.Put(first ? "]" : "\n]");
}

void PutCell(OutputBuffer& out, const Text* text, const DisplayRow& row, std::string_view bytes)
{
    out.Put('[');
    out.PutInt(row.kind);
    out.Put(", ");
    out.PutInt(row.lineIndex);
    out.Put(", ");
    // Filler messages are code page 932 whatever the text's encoding.
    const TextEncoding encoding = row.kind == ROW_FILLER || !text ? TextEncoding::Cp932 : text->encoding;
    PutTextJsonString(out, bytes, encoding);
    out.Put(']');
}

void PutRowCell(OutputBuffer& out, const CompareResult& result, int side, const DisplayRow& row,
                std::string& scratch)
{
    PutCell(out, result.TextOf(side), row, RowText(result, side, row, scratch));
}

void PutRuns(OutputBuffer& out, const std::vector<MarkedRun>& runs)
{
    out.Put('[');
    for (std::size_t k = 0; k < runs.size(); ++k) {
        out.Put(k == 0 ? "[" : ", [");
        out.PutInt(runs[k].start);
        out.Put(", ");
        out.PutInt(runs[k].end);
        out.Put(']');
    }
    out.Put(']');
}

void PutShownRows(OutputBuffer& out, const ShownRows& shown)
{
    out.Put("[");
    std::string scratch;
    for (int row = 0; row < shown.RowCount(); ++row) {
        out.Put(row == 0 ? "\n{\"a\": " : ",\n{\"a\": ");
        PutCell(out, shown.TextOf(DOC_A), shown.Cell(DOC_A, row), shown.TextAt(DOC_A, row, scratch));
        out.Put(", \"b\": ");
        PutCell(out, shown.TextOf(DOC_B), shown.Cell(DOC_B, row), shown.TextAt(DOC_B, row, scratch));
        out.Put(", \"block\": ");
        out.PutInt(shown.BlockOf(row));
        if (shown.IsPaired(row)) {
            const RowMarks marks = MarkShownRow(shown, row);
            out.Put(", \"paired\": true, \"marks\": {\"a\": ");
            PutRuns(out, marks.runs[0]);
            out.Put(", \"b\": ");
            PutRuns(out, marks.runs[1]);
            out.Put("}}");
        } else {
            out.Put(", \"paired\": false}");
        }
    }
    out.Put(shown.RowCount() == 0 ? "]" : "\n]");
}

void PutBlocks(OutputBuffer& out, const std::vector<DiffBlock>& blocks)
{
    PutArray(out, blocks, [&out](const DiffBlock& block) {
        out.Put("{\"kind\": ");
        out.PutInt(block.kind);
        out.Put(", \"firstLineIndex\": ");
        out.PutInt(block.firstLineIndex);
        out.Put(", \"lastLineIndex\": ");
        if (block.lastLineIndex < 0)
            out.Put("null");
        else
            out.PutInt(block.lastLineIndex);
        out.Put(", \"firstRow\": ");
        out.PutInt(block.firstRow);
        out.Put(", \"lineCount\": ");
        out.PutInt(block.lineCount);
        out.Put(", \"blockNo\": ");
        out.PutInt(block.blockNo);
        out.Put('}');
    });
}

void PutIntList(OutputBuffer& out, const std::int32_t* values, std::size_t count)
{
    out.Put('[');
    for (std::size_t k = 0; k < count; ++k) {
        if (k > 0)
            out.Put(", ");
        out.PutInt(values[k]);
    }
    out.Put(']');
}

void PutLines(OutputBuffer& out, const SideResult& side)
{
    out.Put('[');
    for (std::size_t i = 0; i < side.blockSize.size(); ++i) {
        out.Put(i == 0 ? "\n{\"blockSize\": " : ",\n{\"blockSize\": ");
        out.PutInt(side.blockSize[i]);
        out.Put(", \"partnerLines\": ");
        const std::span<const std::int32_t> partners = side.partnerLines.Of(static_cast<int>(i));
        PutIntList(out, partners.data(), partners.size());
        out.Put(", \"partnerSlots\": ");
        const PartnerSlots slots = side.partnerSlots[static_cast<int>(i)];
        std::size_t used = 0;
        while (used < slots.size() && slots[used] != kNoLine)
            ++used;
        PutIntList(out, slots.data(), used);
        out.Put('}');
    }
    out.Put(side.blockSize.empty() ? "]" : "\n]");
}

}  // namespace

void WriteResultJson(OutputBuffer& out, const CompareResult& result, const std::array<std::string, 2>& totals,
                     const ShownRows* shown)
{
    out.Put("{\"rows\": [");
    const std::vector<DisplayRow>& rowsA = result.Rows(DOC_A);
    const std::vector<DisplayRow>& rowsB = result.Rows(DOC_B);
    const std::size_t rows = std::min(rowsA.size(), rowsB.size());
    std::string scratch;
    for (std::size_t r = 0; r < rows; ++r) {
        out.Put(r == 0 ? "\n{\"a\": " : ",\n{\"a\": ");
        PutRowCell(out, result, DOC_A, rowsA[r], scratch);
        out.Put(", \"b\": ");
        PutRowCell(out, result, DOC_B, rowsB[r], scratch);
        out.Put('}');
    }
    out.Put(rows == 0 ? "],\n\"blocksA\": " : "\n],\n\"blocksA\": ");
    PutBlocks(out, result.Blocks(DOC_A));
    out.Put(",\n\"blocksB\": ");
    PutBlocks(out, result.Blocks(DOC_B));
    out.Put(",\n\"lines\": {\"a\": ");
    PutLines(out, result.sides[DOC_A]);
    out.Put(", \"b\": ");
    PutLines(out, result.sides[DOC_B]);
    out.Put("},\n\"totals\": [");
    PutTextJsonString(out, totals[DOC_A], TextEncoding::Cp932);
    out.Put(", ");
    PutTextJsonString(out, totals[DOC_B], TextEncoding::Cp932);
    out.Put("],\n\"encoding\": [");
    for (int side : {DOC_A, DOC_B}) {
        const Text* text = result.TextOf(side);
        out.Put(side == DOC_A ? "\"" : ", \"");
        out.Put(EncodingName(text ? text->encoding : TextEncoding::Cp932));
        out.Put('"');
    }
    out.Put("]");
    if (shown) {
        out.Put(",\n\"shown\": ");
        PutShownRows(out, *shown);
    }
    out.Put("}\n");
}

}  // namespace kl::cli
