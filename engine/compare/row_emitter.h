#pragma once
// Appends row pairs to a result and keeps both sides' block lists as it goes. The row
// builder of the matching modes and the aligned-row writer of the minimal mode both decide
// which rows a comparison shows; this class is where each kind of row is written, so the
// rows and blocks of every mode follow one set of rules.
#include <cstdint>
#include <vector>

#include "engine/compare/compare_result.h"

namespace kl {

class RowEmitter {
public:
    explicit RowEmitter(CompareResult& result);

    int i() const { return i_; }  // current DocA line
    int j() const { return j_; }  // current DocB line
    int countA() const { return nA_; }
    int countB() const { return nB_; }

    // Clears both sides' rows and reserves room for every line.
    void Begin();
    // The DocA line stands in a common row beside the current DocB line; both advance.
    void EmitCommon();
    // The current DocA line exists elsewhere in DocB at partnerLine; DocA advances.
    void EmitMoved(int partnerLine, RowMessage positionMessage);
    // The current DocA line stands alone; DocA advances.
    void EmitOnlyA();
    // The current DocB line stands alone while DocA lines remain; DocB advances unless it is
    // at its last line.
    void EmitOnlyB();
    // A DocB line left after the last DocA line; DocB advances.
    void EmitTrailingOnlyB();
    // Lines that took no part in the comparison: the current DocA line (withA), the current
    // DocB line (withB) or both in one row, the other side empty. They count as common
    // lines of their sides' blocks.
    void EmitLeftOut(bool withA, bool withB);
    // Appends the blocks still open.
    void Finish();

    // The position message of a moved row, or the numbered right message when position
    // messages are off.
    RowMessage MovedMessage(RowMessage positionMessage) const
    {
        return positionMessages_ ? positionMessage : RowMessage::RightNumbered;
    }

private:
    static bool ValidLine(int line, int count) { return line >= 0 && line < count; }
    static DisplayRow Line(int line, RowKind kind) { return DisplayRow{line, kNoLine, kind, RowMessage::None}; }
    static DisplayRow Filler(RowMessage message) { return DisplayRow{kNoLine, kNoLine, ROW_FILLER, message}; }

    // Appends the current record to the side's list and opens the next one at openLine
    // and the current row. lastLine is only taken when it names a line of the text.
    void Close(DiffBlock& current, std::vector<DiffBlock>& list, int lineCount, int lastLine, int openLine);
    void CloseA(int lastLine, int openLine) { Close(curA_, a_.blocks, nA_, lastLine, openLine); }
    void CloseB(int lastLine, int openLine) { Close(curB_, b_.blocks, nB_, lastLine, openLine); }
    void AppendPair(const DisplayRow& left, const DisplayRow& right);

    SideResult& a_;
    SideResult& b_;
    const int nA_;
    const int nB_;
    const bool positionMessages_;
    DiffBlock curA_;
    DiffBlock curB_;
    int i_ = 0;
    int j_ = 0;
    int row_ = 0;
};

}  // namespace kl
