#include "engine/compare/row_emitter.h"

#include "engine/platform/large_buffer.h"

namespace kl {

RowEmitter::RowEmitter(CompareResult& result)
    : a_(result.sides[DOC_A]),
      b_(result.sides[DOC_B]),
      nA_(result.TextOf(DOC_A) ? result.TextOf(DOC_A)->count() : 0),
      nB_(result.TextOf(DOC_B) ? result.TextOf(DOC_B)->count() : 0),
      positionMessages_(result.messages.positionMessages)
{
    curA_.firstLineIndex = nA_ > 0 ? 0 : -1;
    curB_.firstLineIndex = nB_ > 0 ? 0 : -1;
}

void RowEmitter::Begin()
{
    a_.rows.clear();
    b_.rows.clear();
    // Every line appears in at most one row of its side: nA + nB rows at the most. The
    // untouched part of the reservation costs address space only.
    const std::size_t expected = static_cast<std::size_t>(nA_) + static_cast<std::size_t>(nB_);
    a_.rows.reserve(expected);
    b_.rows.reserve(expected);
    AdviseHugePages(a_.rows.Edit().data(), a_.rows.capacity() * sizeof(DisplayRow));
    AdviseHugePages(b_.rows.Edit().data(), b_.rows.capacity() * sizeof(DisplayRow));
}

void RowEmitter::EmitOnlyB()
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

void RowEmitter::EmitMoved(int partnerLine, RowMessage positionMessage)
{
    if (curA_.kind != BLOCK_COMMON) {
        CloseA(i_ - 1, i_);
        if (j_ < nB_)
            CloseB(j_, j_);
    }
    curA_.kind = BLOCK_COMMON;
    curA_.lastLineIndex = i_;
    curA_.lineCount += 1;
    DisplayRow filler = Filler(MovedMessage(positionMessage));
    filler.partnerLine = partnerLine;
    AppendPair(Line(i_, ROW_COMMON), filler);
    ++i_;
}

void RowEmitter::EmitOnlyA()
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

void RowEmitter::EmitCommon()
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

void RowEmitter::EmitTrailingOnlyB()
{
    if (curB_.kind != BLOCK_ONLY_B)
        CloseB(j_ - 1, j_);
    curB_.kind = BLOCK_ONLY_B;
    curB_.lastLineIndex = j_;
    curB_.lineCount += 1;
    AppendPair(Filler(RowMessage::Left), Line(j_, ROW_ONLY_B));
    ++j_;
}

void RowEmitter::EmitLeftOut(bool withA, bool withB)
{
    const DisplayRow empty{kNoLine, kNoLine, ROW_FILLER, RowMessage::LeftOut};
    DisplayRow left = empty, right = empty;
    if (withA) {
        if (curA_.kind != BLOCK_COMMON)
            CloseA(i_ - 1, i_);
        curA_.kind = BLOCK_COMMON;
        curA_.lastLineIndex = i_;
        curA_.lineCount += 1;
        left = DisplayRow{i_++, kNoLine, ROW_COMMON, RowMessage::LeftOut};
    }
    if (withB) {
        if (curB_.kind != BLOCK_COMMON)
            CloseB(j_ - 1, j_);
        curB_.kind = BLOCK_COMMON;
        curB_.lastLineIndex = j_;
        curB_.lineCount += 1;
        right = DisplayRow{j_++, kNoLine, ROW_COMMON, RowMessage::LeftOut};
    }
    AppendPair(left, right);
}

void RowEmitter::Finish()
{
    if (curA_.lineCount > 0)
        a_.blocks.push_back(curA_);
    if (curB_.lineCount > 0)
        b_.blocks.push_back(curB_);
}

void RowEmitter::Close(DiffBlock& current, std::vector<DiffBlock>& list, int lineCount, int lastLine,
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

void RowEmitter::AppendPair(const DisplayRow& left, const DisplayRow& right)
{
    a_.rows.push_back(left);
    b_.rows.push_back(right);
    ++row_;
}

}  // namespace kl
