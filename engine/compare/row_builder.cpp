#include "engine/compare/row_builder.h"

#include <algorithm>
#include <cstdint>

#include "engine/compare/row_emitter.h"

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

// One pass of the row builder over a result: decides each row from the match fields and
// leaves the writing of rows and blocks to the emitter.
class RowBuilder {
public:
    RowBuilder(CompareResult& result, int progressStart, const ProgressCallback& progress,
               const std::stop_token& stop)
        : a_(result.sides[DOC_A]),
          b_(result.sides[DOC_B]),
          out_(result),
          nA_(out_.countA()),
          nB_(out_.countB()),
          progressStart_(progressStart),
          progress_(progress),
          stop_(stop)
    {
    }

    bool Run()
    {
        out_.Begin();
        int value = progressStart_;
        while (out_.i() < nA_) {
            Step();
            value = progressStart_ + static_cast<int>(static_cast<std::int64_t>(out_.i()) * 7 / nA_);
            Report(value);
            if (stop_.stop_requested())
                return false;
        }
        const int afterDocA = value;
        while (out_.j() < nB_) {
            out_.EmitTrailingOnlyB();
            Report(afterDocA + static_cast<int>(static_cast<std::int64_t>(out_.j()) * 3 / nB_));
            if (stop_.stop_requested())
                return false;
        }
        out_.Finish();
        Report(100);
        return true;
    }

private:
    // Decides the row (or rows, for a run of DocB-only lines) for DocA line i.
    void Step()
    {
        const int i = out_.i();
        const int j = out_.j();
        const std::span<const std::int32_t> partnersA = a_.partnerLines.Of(i);
        partners_.assign(partnersA.begin(), partnersA.end());
        const int jStart = j;
        const std::int32_t blockA = BlockA(i);

        // A DocB line whose block is claimed by a line with another block size does not
        // hold DocA back.
        int sizeB = j < nB_ ? BlockB(j) : 0;
        if (blockA < sizeB) {
            const int primaryOfB = b_.partnerSlots.Get(j, 0);
            if (ValidLine(primaryOfB, nA_) && BlockA(primaryOfB) != sizeB)
                sizeB = 0;
        }
        if (blockA < sizeB || blockA <= 0 || partners_.empty() ||
            !ValidLine(partners_[0], nB_)) {
            out_.EmitOnlyA();
            return;
        }

        const int p = partners_[0];
        if (j < p) {
            // The partner lies further down in DocB.
            const int primary = a_.partnerSlots.Get(i, 0);
            if (!ValidLine(primary, nB_) || b_.partnerLines.Of(primary).empty()) {
                out_.EmitOnlyA();
                return;
            }
            if (b_.partnerLines.Of(primary)[0] == i && BlockB(primary) == blockA)
                out_.EmitOnlyB();
            else if (PromotePartner(jStart, partners_) != 0)
                out_.EmitMoved(p, RowMessage::PartnerBelow);
            else
                out_.EmitOnlyA();
            return;
        }
        if (PromotePartner(jStart, partners_) != 0) {
            out_.EmitMoved(p, RowMessage::PartnerAbove);
            return;
        }
        // The current DocB line is now the first partner: a common row when both lines
        // lie in blocks of one size. Otherwise the DocA line stands alone, so that every
        // DocA line appears in exactly one row.
        if (partners_[0] == jStart && jStart < nB_ && BlockB(jStart) == blockA)
            out_.EmitCommon();
        else
            out_.EmitOnlyA();
    }

    static bool ValidLine(int line, int count) { return line >= 0 && line < count; }
    std::int32_t BlockA(int line) const { return a_.blockSize[static_cast<std::size_t>(line)]; }
    std::int32_t BlockB(int line) const { return b_.blockSize[static_cast<std::size_t>(line)]; }

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
    RowEmitter out_;
    const int nA_;
    const int nB_;
    const int progressStart_;
    const ProgressCallback& progress_;
    const std::stop_token& stop_;
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
