#include "engine/compare/row_builder.h"

#include <algorithm>
#include <cstdint>

#include "engine/platform/large_buffer.h"

namespace kl {

std::string ReplaceFirstNumberField(std::string_view text, int number)
{
    // '%' never occurs as the trail byte of a double-byte character, so a plain byte
    // search cannot land inside one.
    const std::size_t at = text.find("%d");
    if (at == std::string_view::npos)
        return std::string(text);
    std::string result(text.substr(0, at));
    result += std::to_string(number);
    result += text.substr(at + 2);
    return result;
}

int PromotePartner(int j, std::vector<std::int32_t>& list)
{
    int below = 0;
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (list[k] == j) {
            if (k > 0)
                list.insert(list.begin(), j);
            return 0;
        }
        if (list[k] < j)
            ++below;
    }
    return below;
}

namespace {

const LineTable kEmptyTable;

// One pass of the row builder over a document. Holds the two current block records and
// the positions in both texts.
class RowBuilder {
public:
    RowBuilder(TextDocument& doc, const RowMessages& messages, int progressStart,
               const ProgressCallback& progress)
        : a_(doc.lineTables[DOC_A] ? *doc.lineTables[DOC_A] : kEmptyTable),
          b_(doc.lineTables[DOC_B] ? *doc.lineTables[DOC_B] : kEmptyTable),
          nA_(a_.count()),
          nB_(b_.count()),
          doc_(doc),
          messages_(messages),
          progressStart_(progressStart),
          progress_(progress)
    {
        curA_.firstLineIndex = nA_ > 0 ? 0 : -1;
        curB_.firstLineIndex = nB_ > 0 ? 0 : -1;
    }

    void Run()
    {
        doc_.rowsA.clear();
        doc_.rowsB.clear();
        // Every line appears in at most one row of its side: nA + nB rows at the most. The
        // untouched part of the reservation costs address space only.
        const std::size_t expected = static_cast<std::size_t>(nA_) + static_cast<std::size_t>(nB_);
        doc_.rowsA.reserve(expected);
        doc_.rowsB.reserve(expected);
        AdviseHugePages(doc_.rowsA.data(), doc_.rowsA.capacity() * sizeof(DisplayRow));
        AdviseHugePages(doc_.rowsB.data(), doc_.rowsB.capacity() * sizeof(DisplayRow));

        int value = progressStart_;
        while (i_ < nA_) {
            Step();
            value = progressStart_ + static_cast<int>(static_cast<std::int64_t>(i_) * 7 / nA_);
            Report(value);
            if (AbortPending())
                return;
        }
        const int afterDocA = value;
        while (j_ < nB_) {
            EmitTrailingOnlyB();
            Report(afterDocA + static_cast<int>(static_cast<std::int64_t>(j_) * 3 / nB_));
            if (AbortPending())
                return;
        }
        if (curA_.lineCount > 0)
            doc_.blocksA.push_back(curA_);
        if (curB_.lineCount > 0)
            doc_.blocksB.push_back(curB_);
        Report(100);
    }

private:
    // Decides the row (or rows, for a run of DocB-only lines) for DocA line i.
    void Step()
    {
        const LineRecord& la = a_.lines[static_cast<std::size_t>(i_)];
        partners_.assign(la.partnerLines.begin(), la.partnerLines.end());
        const int jStart = j_;

        // A DocB line whose block is claimed by a line with another block size does not
        // hold DocA back.
        int sizeB = j_ < nB_ ? b_.lines[static_cast<std::size_t>(j_)].blockSize : 0;
        if (la.blockSize < sizeB) {
            const int primaryOfB = b_.lines[static_cast<std::size_t>(j_)].partnerSlots[0];
            if (ValidLine(primaryOfB, nA_) &&
                a_.lines[static_cast<std::size_t>(primaryOfB)].blockSize != sizeB)
                sizeB = 0;
        }
        if (la.blockSize < sizeB || la.blockSize <= 0 || partners_.empty() ||
            !ValidLine(partners_[0], nB_)) {
            EmitOnlyA();
            return;
        }

        const int p = partners_[0];
        if (j_ < p) {
            // The partner lies further down in DocB.
            const int primary = la.partnerSlots[0];
            if (!ValidLine(primary, nB_) ||
                b_.lines[static_cast<std::size_t>(primary)].partnerLines.empty()) {
                EmitOnlyA();
                return;
            }
            const LineRecord& partner = b_.lines[static_cast<std::size_t>(primary)];
            if (partner.partnerLines[0] == i_ && partner.blockSize == la.blockSize)
                EmitOnlyB();
            else if (PromotePartner(jStart, partners_) != 0)
                EmitMoved(p, kPartnerBelowMessage);
            else
                EmitOnlyA();
            return;
        }
        if (PromotePartner(jStart, partners_) != 0) {
            EmitMoved(p, kPartnerAboveMessage);
            return;
        }
        // The current DocB line is now the first partner: a common row when both lines
        // lie in blocks of one size. Otherwise the DocA line stands alone, so that every
        // DocA line appears in exactly one row.
        if (partners_[0] == jStart && jStart < nB_ &&
            b_.lines[static_cast<std::size_t>(jStart)].blockSize == la.blockSize)
            EmitCommon();
        else
            EmitOnlyA();
    }

    void EmitOnlyB()
    {
        if (curB_.kind != BLOCK_ONLY_B) {
            CloseB(j_ - 1, j_);
            CloseA(i_, i_);
        }
        curB_.kind = BLOCK_ONLY_B;
        curB_.lineCount += 1;
        AppendPair(-1, messages_.left, ROW_FILLER, j_, b_.text(j_), ROW_ONLY_B);
        if (j_ < nB_ - 1)
            ++j_;
    }

    void EmitMoved(int partnerLine, std::string_view positionMessage)
    {
        if (curA_.kind != BLOCK_COMMON) {
            CloseA(i_ - 1, i_);
            if (j_ < nB_)
                CloseB(j_, j_);
        }
        curA_.kind = BLOCK_COMMON;
        curA_.lastLineIndex = i_;
        curA_.lineCount += 1;
        const std::string_view message =
            messages_.positionMessages ? positionMessage : std::string_view(messages_.right);
        AppendPair(i_, a_.text(i_), ROW_COMMON, -1, ReplaceFirstNumberField(message, partnerLine + 1),
                   ROW_FILLER);
        ++i_;
    }

    void EmitOnlyA()
    {
        if (curA_.kind != BLOCK_ONLY_A && curA_.lineCount > 0) {
            CloseA(i_ - 1, i_);
            if (j_ < nB_)
                CloseB(j_, j_);
        }
        curA_.kind = BLOCK_ONLY_A;
        curA_.lineCount += 1;
        curA_.lastLineIndex = i_;
        AppendPair(i_, a_.text(i_), ROW_ONLY_A, -1, messages_.right, ROW_FILLER);
        ++i_;
    }

    void EmitCommon()
    {
        if (curA_.kind != BLOCK_COMMON)
            CloseA(i_ - 1, i_);
        if (curB_.kind != BLOCK_COMMON)
            CloseB(j_ - 1, j_);
        curA_.kind = BLOCK_COMMON;
        curB_.kind = BLOCK_COMMON;
        curA_.lastLineIndex = i_;
        curB_.lastLineIndex = j_;
        curA_.lineCount += 1;
        curB_.lineCount += 1;
        AppendPair(i_, a_.text(i_), ROW_COMMON, j_, b_.text(j_), ROW_COMMON);
        ++j_;
        ++i_;
    }

    // DocB lines left over after the last DocA line.
    void EmitTrailingOnlyB()
    {
        if (curB_.kind != BLOCK_ONLY_B)
            CloseB(j_ - 1, j_);
        curB_.kind = BLOCK_ONLY_B;
        curB_.lastLineIndex = j_;
        curB_.lineCount += 1;
        AppendPair(-1, messages_.left, ROW_FILLER, j_, b_.text(j_), ROW_ONLY_B);
        ++j_;
    }

    static bool ValidLine(int line, int count) { return line >= 0 && line < count; }

    // Appends the current record to the side's list and opens the next one at openLine
    // and the current row. lastLine is only taken when it names a line of the text.
    void Close(DiffBlock& current, std::vector<DiffBlock>& list, int lineCount, int lastLine,
               int openLine)
    {
        if (ValidLine(lastLine, lineCount))
            current.lastLineIndex = lastLine;
        list.push_back(current);
        current.blockNo += 1;
        current.firstLineIndex = openLine;
        current.firstRow = row_;
        current.lineCount = 0;
    }
    void CloseA(int lastLine, int openLine) { Close(curA_, doc_.blocksA, nA_, lastLine, openLine); }
    void CloseB(int lastLine, int openLine) { Close(curB_, doc_.blocksB, nB_, lastLine, openLine); }

    void AppendPair(int lineA, std::string_view textA, RowKind kindA, int lineB,
                    std::string_view textB, RowKind kindB)
    {
        doc_.rowsA.push_back(DisplayRow{row_, lineA, std::string(textA), kindA});
        doc_.rowsB.push_back(DisplayRow{row_, lineB, std::string(textB), kindB});
        ++row_;
    }

    // Progress goes out only when the percentage changes.
    void Report(int value)
    {
        if (value == lastReported_)
            return;
        lastReported_ = value;
        if (progress_)
            progress_(value);
    }

    const LineTable& a_;
    const LineTable& b_;
    const int nA_;
    const int nB_;
    TextDocument& doc_;
    const RowMessages& messages_;
    const int progressStart_;
    const ProgressCallback& progress_;

    DiffBlock curA_;
    DiffBlock curB_;
    int i_ = 0;
    int j_ = 0;
    int row_ = 0;
    int lastReported_ = -1;
    std::vector<std::int32_t> partners_;  // private copy of the current DocA line's partners
};

}  // namespace

void BuildRows(int progressStart, const ProgressCallback& progress, TextDocument& doc,
               const RowMessages& messages)
{
    RowBuilder(doc, messages, progressStart, progress).Run();
}

}  // namespace kl
