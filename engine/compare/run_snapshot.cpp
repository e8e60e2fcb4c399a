#include "engine/compare/run_snapshot.h"

#include <cstddef>
#include <memory>
#include <utility>

namespace kl {

namespace {

std::unique_ptr<LineTable> CopyWithoutMatches(const LineTable& table)
{
    auto copy = std::make_unique<LineTable>();
    copy->bytes = table.bytes;
    copy->lines.reserve(table.lines.size());
    for (const LineRecord& line : table.lines) {
        LineRecord record;
        record.index = line.index;
        record.length = line.length;
        record.contentLength = line.contentLength;
        record.newlineKind = line.newlineKind;
        record.textOffset = line.textOffset;
        record.textLength = line.textLength;
        copy->lines.push_back(std::move(record));
    }
    return copy;
}

bool SameShape(const std::unique_ptr<LineTable>& target, const std::unique_ptr<LineTable>& snapshot)
{
    if (!target || !snapshot)
        return !target && !snapshot;
    return target->lines.size() == snapshot->lines.size() && target->bytes.size() == snapshot->bytes.size();
}

}  // namespace

TextDocument SnapshotForRun(const TextDocument& doc)
{
    TextDocument snapshot;
    for (std::size_t k = 0; k < doc.lineTables.size(); ++k) {
        if (doc.lineTables[k])
            snapshot.lineTables[k] = CopyWithoutMatches(*doc.lineTables[k]);
    }
    snapshot.fileInfos = doc.fileInfos;
    return snapshot;
}

bool MergeRunResult(TextDocument& target, TextDocument& snapshot)
{
    for (std::size_t k = 0; k < target.lineTables.size(); ++k) {
        if (!SameShape(target.lineTables[k], snapshot.lineTables[k]))
            return false;
    }
    for (std::size_t k = 0; k < target.lineTables.size(); ++k) {
        if (!target.lineTables[k])
            continue;
        std::vector<LineRecord>& to = target.lineTables[k]->lines;
        std::vector<LineRecord>& from = snapshot.lineTables[k]->lines;
        for (std::size_t i = 0; i < to.size(); ++i) {
            to[i].blockSize = from[i].blockSize;
            to[i].partnerSlots = from[i].partnerSlots;
            to[i].partnerLines = std::move(from[i].partnerLines);
        }
    }
    target.rowsA = std::move(snapshot.rowsA);
    target.rowsB = std::move(snapshot.rowsB);
    target.blocksA = std::move(snapshot.blocksA);
    target.blocksB = std::move(snapshot.blocksB);
    snapshot.rowsA.clear();
    snapshot.rowsB.clear();
    snapshot.blocksA.clear();
    snapshot.blocksB.clear();
    return true;
}

}  // namespace kl
