#include "cli/result_json.h"

#include <algorithm>

#include "cli/json_writer.h"

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

void PutRowCell(OutputBuffer& out, const DisplayRow& row)
{
    out.Put('[');
    out.PutInt(row.kind);
    out.Put(", ");
    out.PutInt(row.lineIndex);
    out.Put(", ");
    PutCp932JsonString(out, row.text);
    out.Put(']');
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

void PutLines(OutputBuffer& out, const LineTable* table)
{
    static const std::vector<LineRecord> kNoLines;
    PutArray(out, table ? table->lines : kNoLines, [&out](const LineRecord& line) {
        out.Put("{\"blockSize\": ");
        out.PutInt(line.blockSize);
        out.Put(", \"partnerLines\": ");
        PutIntList(out, line.partnerLines.data(), line.partnerLines.size());
        out.Put(", \"partnerSlots\": ");
        std::size_t used = 0;
        while (used < line.partnerSlots.size() && line.partnerSlots[used] != kNoLine)
            ++used;
        PutIntList(out, line.partnerSlots.data(), used);
        out.Put('}');
    });
}

}  // namespace

void WriteResultJson(OutputBuffer& out, const TextDocument& doc, const std::array<std::string, 2>& totals)
{
    out.Put("{\"rows\": [");
    const std::size_t rows = std::min(doc.rowsA.size(), doc.rowsB.size());
    for (std::size_t r = 0; r < rows; ++r) {
        out.Put(r == 0 ? "\n{\"a\": " : ",\n{\"a\": ");
        PutRowCell(out, doc.rowsA[r]);
        out.Put(", \"b\": ");
        PutRowCell(out, doc.rowsB[r]);
        out.Put('}');
    }
    out.Put(rows == 0 ? "],\n\"blocksA\": " : "\n],\n\"blocksA\": ");
    PutBlocks(out, doc.blocksA);
    out.Put(",\n\"blocksB\": ");
    PutBlocks(out, doc.blocksB);
    out.Put(",\n\"lines\": {\"a\": ");
    PutLines(out, doc.lineTables[DOC_A].get());
    out.Put(", \"b\": ");
    PutLines(out, doc.lineTables[DOC_B].get());
    out.Put("},\n\"totals\": [");
    PutCp932JsonString(out, totals[DOC_A]);
    out.Put(", ");
    PutCp932JsonString(out, totals[DOC_B]);
    out.Put("]}\n");
}

}  // namespace kl::cli
