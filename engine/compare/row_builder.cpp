#include "engine/compare/row_builder.h"

#include <algorithm>
#include <cstdint>

#include "engine/platform/large_buffer.h"

namespace kl {

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

// One pass of the row builder over a result. Holds the two current block records and
// the positions in both texts.
class RowBuilder {
public:
    RowBuilder(CompareResult& result, int progressStart, const ProgressCallback& progress,
               const std::stop_token& stop)
        : a_(result.sides[DOC_A]),
          b_(result.sides[DOC_B]),
          nA_(static_cast<int>(a_.blockSize.size())),
          nB_(static_cast<int>(b_.blockSize.size())),
          positionMessages_(result.messages.positionMessages),
          progressStart_(progressStart),
          progress_(progress),
          stop_(stop)
    {
        curA_.firstLineIndex = nA_ > 0 ? 0 : -1;
        curB_.firstLineIndex = nB_ > 0 ? 0 : -1;
    }

    bool Run()
    {
        a_.rows.clear();
        b_.rows.clear();
        // Every line appears in at most one row of its side: nA + nB rows at the most. The
        // untouched part of the reservation costs address space only.
        const std::size_t expected = static_cast<std::size_t>(nA_) + static_cast<std::size_t>(nB_);
        a_.rows.reserve(expected);
        b_.rows.reserve(expected);
        AdviseHugePages(a_.rows.data(), a_.rows.capacity() * sizeof(DisplayRow));
        AdviseHugePages(b_.rows.data(), b_.rows.capacity() * sizeof(DisplayRow));

        int value = progressStart_;
        while (i_ < nA_) {
            Step();
            value = progressStart_ + static_cast<int>(static_cast<std::int64_t>(i_) * 7 / nA_);
            Report(value);
            if (stop_.stop_requested())
                return false;
        }
        const int afterDocA = value;
        while (j_ < nB_) {
            EmitTrailingOnlyB();
            Report(afterDocA + static_cast<int>(static_cast<std::int64_t>(j_) * 3 / nB_));
            if (stop_.stop_requested())
                return false;
        }
        if (curA_.lineCount > 0)
            a_.blocks.push_back(curA_);
        if (curB_.lineCount > 0)
            b_.blocks.push_back(curB_);
        Report(100);
        return true;
    }

private:
    // Decides the row (or rows, for a run of DocB-only lines) for DocA line i.
    void Step()
    {
        const std::span<const std::int32_t> partnersA = a_.partnerLines.Of(i_);
        partners_.assign(partnersA.begin(), partnersA.end());
        const int jStart = j_;
        const std::int32_t blockA = BlockA(i_);

        // A DocB line whose block is claimed by a line with another block size does not
        // hold DocA back.
        int sizeB = j_ < nB_ ? BlockB(j_) : 0;
        if (blockA < sizeB) {
            const int primaryOfB = b_.partnerSlots.Get(j_, 0);
            if (ValidLine(primaryOfB, nA_) && BlockA(primaryOfB) != sizeB)
                sizeB = 0;
        }
        if (blockA < sizeB || blockA <= 0 || partners_.empty() ||
            !ValidLine(partners_[0], nB_)) {
            EmitOnlyA();
            return;
        }

        const int p = partners_[0];
        if (j_ < p) {
            // The partner lies further down in DocB.
            const int primary = a_.partnerSlots.Get(i_, 0);
            if (!ValidLine(primary, nB_) || b_.partnerLines.Of(primary).empty()) {
                EmitOnlyA();
                return;
            }
            if (b_.partnerLines.Of(primary)[0] == i_ && BlockB(primary) == blockA)
                EmitOnlyB();
            else if (PromotePartner(jStart, partners_) != 0)
                EmitMoved(p, RowMessage::PartnerBelow);
            else
                EmitOnlyA();
            return;
        }
        if (PromotePartner(jStart, partners_) != 0) {
            EmitMoved(p, RowMessage::PartnerAbove);
            return;
        }
        // The current DocB line is now the first partner: a common row when both lines
        // lie in blocks of one size. Otherwise the DocA line stands alone, so that every
        // DocA line appears in exactly one row.
        if (partners_[0] == jStart && jStart < nB_ && BlockB(jStart) == blockA)
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
        AppendPair(Filler(RowMessage::Left), Line(j_, ROW_ONLY_B));
        if (j_ < nB_ - 1)
            ++j_;
    }

    void EmitMoved(int partnerLine, RowMessage positionMessage)
    {
        if (curA_.kind != BLOCK_COMMON) {
            CloseA(i_ - 1, i_);
            if (j_ < nB_)
                CloseB(j_, j_);
        }
        curA_.kind = BLOCK_COMMON;
        curA_.lastLineIndex = i_;
        curA_.lineCount += 1;
        DisplayRow filler = Filler(positionMessages_ ? positionMessage : RowMessage::RightNumbered);
        filler.partnerLine = partnerLine;
        AppendPair(Line(i_, ROW_COMMON), filler);
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
        AppendPair(Line(i_, ROW_ONLY_A), Filler(RowMessage::Right));
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
        AppendPair(Line(i_, ROW_COMMON), Line(j_, ROW_COMMON));
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
        AppendPair(Filler(RowMessage::Left), Line(j_, ROW_ONLY_B));
        ++j_;
    }

    static bool ValidLine(int line, int count) { return line >= 0 && line < count; }
    std::int32_t BlockA(int line) const { return a_.blockSize[static_cast<std::size_t>(line)]; }
    std::int32_t BlockB(int line) const { return b_.blockSize[static_cast<std::size_t>(line)]; }
    static DisplayRow Line(int line, RowKind kind) { return DisplayRow{line, kNoLine, kind, RowMessage::None}; }
    static DisplayRow Filler(RowMessage message) { return DisplayRow{kNoLine, kNoLine, ROW_FILLER, message}; }

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
    void CloseA(int lastLine, int openLine) { Close(curA_, a_.blocks, nA_, lastLine, openLine); }
    void CloseB(int lastLine, int openLine) { Close(curB_, b_.blocks, nB_, lastLine, openLine); }

    void AppendPair(const DisplayRow& left, const DisplayRow& right)
    {
        a_.rows.push_back(left);
        b_.rows.push_back(right);
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

    SideResult& a_;
    SideResult& b_;
    const int nA_;
    const int nB_;
    const bool positionMessages_;
    const int progressStart_;
    const ProgressCallback& progress_;
    const std::stop_token& stop_;

    DiffBlock curA_;
    DiffBlock curB_;
    int i_ = 0;
    int j_ = 0;
    int row_ = 0;
    int lastReported_ = -1;
    std::vector<std::int32_t> partners_;  // private copy of the current DocA line's partners
};

}  // namespace

bool BuildRows(int progressStart, const ProgressCallback& progress, const std::stop_token& stop,
               CompareResult& result)
{
    return RowBuilder(result, progressStart, progress, stop).Run();
}

}  // namespace kl
