#include "engine/display/shown_rows.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "engine/display/row_pairing.h"

namespace kl {

namespace {

bool IsCommonRow(const DisplayRow& a, const DisplayRow& b)
{
    return a.kind == ROW_COMMON && b.kind == ROW_COMMON && a.lineIndex != kNoLine && b.lineIndex != kNoLine;
}

// The rows of one gap between common rows, split into the rows that hold a DocA line and
// the rows that hold a DocB line (a row of a gap never holds both).
struct GapRows {
    std::vector<int> a;          // rows with a DocA line, moved lines included
    std::vector<int> pairableA;  // positions in a of the DocA-only lines
    std::vector<int> b;          // rows with a DocB line
};

std::uint64_t NewGeneration()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

// Rows 0, 1, 2, ... holding lines 0, 1, 2, ..., at least count of them. Every text shown as
// loaded takes its column from the same rows while any of them is shown, so that an edit
// never builds them again; they grow by an eighth when a text outgrows them.
std::shared_ptr<const std::vector<DisplayRow>> LineRows(int count)
{
    static std::mutex mutex;
    static std::weak_ptr<const std::vector<DisplayRow>> shared;
    const std::lock_guard lock(mutex);
    std::shared_ptr<const std::vector<DisplayRow>> rows = shared.lock();
    if (rows && rows->size() >= static_cast<std::size_t>(count))
        return rows;
    const std::size_t size = static_cast<std::size_t>(count) + static_cast<std::size_t>(count) / 8 + 1024;
    auto built = std::make_shared<std::vector<DisplayRow>>(size);
    for (std::size_t k = 0; k < size; ++k)
        (*built)[k] = {static_cast<std::int32_t>(k), kNoLine, ROW_COMMON, RowMessage::None};
    shared = built;
    return built;
}

}  // namespace

ShownRows::ShownRows() : result_(std::make_shared<const CompareResult>()) {}

ShownRows::ShownRows(const TextPair& texts, std::shared_ptr<const CompareResult> result,
                     const DisplayOptions& options)
    : ShownRows(texts, std::move(result), options, nullptr)
{
}

ShownRows::ShownRows(const TextPair& texts, std::shared_ptr<const CompareResult> result,
                     const DisplayOptions& options, const ShownRows* earlier)
    : options_(options), result_(std::move(result)), generation_(NewGeneration())
{
    if (!result_)
        result_ = std::make_shared<const CompareResult>();
    if (earlier && earlier->Serve(texts, *result_, options_)) {
        owned_ = earlier->owned_;
        lineRows_ = earlier->lineRows_;
        columns_ = earlier->columns_;
        blockOfRow_ = earlier->blockOfRow_;
        blockStarts_ = earlier->blockStarts_;
        rowCount_ = earlier->rowCount_;
        blockCount_ = earlier->blockCount_;
        generation_ = earlier->generation_;
        texts_ = options_.mode == DISPLAY_SOURCE ? texts : result_->texts;
        return;
    }
    if (options_.mode == DISPLAY_SOURCE) {
        options_.paired = false;
        texts_ = texts;
        BuildSource();
        return;
    }
    texts_ = result_->texts;
    if (options_.paired)
        BuildPaired();
    else
        BuildResult();
    NumberBlocks();
}

TextEncoding ShownRows::EncodingOf(int side) const
{
    const kl::Text* text = TextOf(side);
    return text ? text->encoding : TextEncoding::Cp932;
}

// The rows of the plain result display depend on the result's rows alone: when the result
// shares them with earlier's, so do these.
bool ShownRows::Serve(const TextPair& texts, const CompareResult& result, const DisplayOptions& options) const
{
    if (!(options_ == options) || options.paired)
        return false;
    if (options.mode == DISPLAY_SOURCE) {
        const auto count = [](const std::shared_ptr<const Text>& text) { return text ? text->count() : 0; };
        return count(texts[0]) == ColumnRowCount(DOC_A) && count(texts[1]) == ColumnRowCount(DOC_B);
    }
    return result.sides[DOC_A].rows.SharesWith(result_->sides[DOC_A].rows) &&
           result.sides[DOC_B].rows.SharesWith(result_->sides[DOC_B].rows);
}

void ShownRows::BuildSource()
{
    const int longer = std::max(TextOf(DOC_A) ? TextOf(DOC_A)->count() : 0, TextOf(DOC_B) ? TextOf(DOC_B)->count() : 0);
    lineRows_ = LineRows(longer);
    for (int side : {DOC_A, DOC_B}) {
        const kl::Text* text = TextOf(side);
        const int count = text ? text->count() : 0;
        columns_[Index(side)] = std::span<const DisplayRow>(lineRows_->data(), static_cast<std::size_t>(count));
    }
    rowCount_ = std::max(ColumnRowCount(DOC_A), ColumnRowCount(DOC_B));
}

void ShownRows::BuildResult()
{
    for (int side : {DOC_A, DOC_B})
        columns_[Index(side)] = result_->Rows(side);
    rowCount_ = std::max(ColumnRowCount(DOC_A), ColumnRowCount(DOC_B));
}

void ShownRows::BuildPaired()
{
    const std::vector<DisplayRow>& rowsA = result_->Rows(DOC_A);
    const std::vector<DisplayRow>& rowsB = result_->Rows(DOC_B);
    const int count = static_cast<int>(std::min(rowsA.size(), rowsB.size()));
    std::vector<DisplayRow>& outA = owned_[0].Edit();
    std::vector<DisplayRow>& outB = owned_[1].Edit();
    outA.reserve(static_cast<std::size_t>(count));
    outB.reserve(static_cast<std::size_t>(count));
    std::vector<std::int32_t>& shownRowOfResultRow = shownRowOfResultRow_.Edit();
    shownRowOfResultRow.assign(static_cast<std::size_t>(count), 0);

    const auto copyRow = [&](int row) {
        shownRowOfResultRow[static_cast<std::size_t>(row)] = static_cast<std::int32_t>(outA.size());
        outA.push_back(rowsA[static_cast<std::size_t>(row)]);
        outB.push_back(rowsB[static_cast<std::size_t>(row)]);
    };
    const TextEncoding encodingA = EncodingOf(DOC_A);
    const TextEncoding encodingB = EncodingOf(DOC_B);
    GapRows gap;
    std::vector<std::string_view> linesA;
    std::vector<std::string_view> linesB;

    int row = 0;
    while (row < count) {
        if (IsCommonRow(rowsA[static_cast<std::size_t>(row)], rowsB[static_cast<std::size_t>(row)])) {
            copyRow(row++);
            continue;
        }
        gap.a.clear();
        gap.pairableA.clear();
        gap.b.clear();
        for (; row < count && !IsCommonRow(rowsA[static_cast<std::size_t>(row)], rowsB[static_cast<std::size_t>(row)]);
             ++row) {
            const DisplayRow& a = rowsA[static_cast<std::size_t>(row)];
            if (a.lineIndex != kNoLine) {
                if (a.kind == ROW_ONLY_A)
                    gap.pairableA.push_back(static_cast<int>(gap.a.size()));
                gap.a.push_back(row);
            }
            if (rowsB[static_cast<std::size_t>(row)].lineIndex != kNoLine)
                gap.b.push_back(row);
        }
        std::vector<LinePairing> pairs;
        if (!gap.pairableA.empty() && !gap.b.empty()) {
            linesA.clear();
            linesB.clear();
            for (int k : gap.pairableA)
                linesA.push_back(result_->TextOf(DOC_A)->text(rowsA[static_cast<std::size_t>(gap.a[static_cast<std::size_t>(k)])].lineIndex));
            for (int r : gap.b)
                linesB.push_back(result_->TextOf(DOC_B)->text(rowsB[static_cast<std::size_t>(r)].lineIndex));
            pairs = PairChangedLines(linesA, encodingA, linesB, encodingB);
        }
        // Unpaired rows keep their order among each other; a pair is written once every row
        // before either of its lines has been.
        std::size_t ia = 0;
        std::size_t ib = 0;
        const auto flushUntil = [&](std::size_t endA, std::size_t endB) {
            while (ia < endA || ib < endB) {
                const int ra = ia < endA ? gap.a[ia] : count;
                const int rb = ib < endB ? gap.b[ib] : count;
                if (ra < rb) {
                    copyRow(ra);
                    ++ia;
                } else {
                    copyRow(rb);
                    ++ib;
                }
            }
        };
        for (const LinePairing& pair : pairs) {
            const auto pa = static_cast<std::size_t>(gap.pairableA[static_cast<std::size_t>(pair.a)]);
            const auto pb = static_cast<std::size_t>(pair.b);
            flushUntil(pa, pb);
            const int rowA = gap.a[pa];
            const int rowB = gap.b[pb];
            DisplayRow left = rowsA[static_cast<std::size_t>(rowA)];
            DisplayRow right = rowsB[static_cast<std::size_t>(rowB)];
            left.kind = ROW_CHANGED;
            right.kind = ROW_CHANGED;
            const auto shown = static_cast<std::int32_t>(outA.size());
            shownRowOfResultRow[static_cast<std::size_t>(rowA)] = shown;
            shownRowOfResultRow[static_cast<std::size_t>(rowB)] = shown;
            outA.push_back(left);
            outB.push_back(right);
            ia = pa + 1;
            ib = pb + 1;
        }
        flushUntil(gap.a.size(), gap.b.size());
    }
    columns_[0] = outA;
    columns_[1] = outB;
    rowCount_ = static_cast<int>(outA.size());
}

void ShownRows::NumberBlocks()
{
    const int count = std::min(ColumnRowCount(DOC_A), ColumnRowCount(DOC_B));
    std::vector<std::int32_t>& blockOfRow = blockOfRow_.Edit();
    std::vector<std::int32_t>& blockStarts = blockStarts_.Edit();
    blockOfRow.assign(static_cast<std::size_t>(rowCount_), -1);
    bool inBlock = false;
    for (int row = 0; row < rowCount_; ++row) {
        const bool common = row < count && IsCommonRow(Cell(DOC_A, row), Cell(DOC_B, row));
        if (common) {
            inBlock = false;
            continue;
        }
        if (!inBlock) {
            blockStarts.push_back(row);
            inBlock = true;
        }
        blockOfRow[static_cast<std::size_t>(row)] = static_cast<std::int32_t>(blockStarts.size() - 1);
    }
    blockCount_ = static_cast<int>(blockStarts.size());
}

int ShownRows::LineAt(int side, int row) const
{
    if (row < 0 || row >= ColumnRowCount(side))
        return kNoLine;
    return Cell(side, row).lineIndex;
}

std::string_view ShownRows::TextAt(int side, int row, std::string& scratch) const
{
    if (row < 0 || row >= ColumnRowCount(side))
        return {};
    const DisplayRow& cell = Cell(side, row);
    if (cell.message == RowMessage::None) {
        const kl::Text* text = TextOf(side);
        if (!text || cell.lineIndex < 0 || cell.lineIndex >= text->count())
            return {};
        return text->text(cell.lineIndex);
    }
    return RowText(*result_, side, cell, scratch);
}

int ShownRows::BlockOf(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= blockOfRow_.size())
        return -1;
    return blockOfRow_[static_cast<std::size_t>(row)];
}

bool ShownRows::IsPaired(int row) const
{
    return row >= 0 && row < ColumnRowCount(DOC_A) && Cell(DOC_A, row).kind == ROW_CHANGED;
}

int ShownRows::ShownRowOfResultRow(int resultRow) const
{
    if (shownRowOfResultRow_.empty() || resultRow < 0)
        return resultRow;
    if (static_cast<std::size_t>(resultRow) >= shownRowOfResultRow_.size())
        return rowCount_;
    return shownRowOfResultRow_[static_cast<std::size_t>(resultRow)];
}

}  // namespace kl
