#include "engine/document/arrival_scan.h"

#include <algorithm>
#include <string_view>

#include "engine/document/line_scan.h"
#include "engine/platform/large_buffer.h"

namespace kl {

void ArrivalScan::AddLineEnds(const char* data, std::size_t from, std::size_t to)
{
    const std::string_view piece(data + from, to - from);
    const std::size_t ends = CountLineEnds(piece);
    if (starts_.empty()) {
        // The first piece's lines tell how many the whole text will have, about.
        std::size_t guess = ends + 1;
        if (!piece.empty() && expected_ > piece.size())
            guess = static_cast<std::size_t>(static_cast<double>(ends + 1) * static_cast<double>(expected_) /
                                             static_cast<double>(piece.size()) * 1.02);
        starts_.reserve(guess + 1 + kLineEndSlack);
        AdviseHugePages(starts_.data(), starts_.capacity() * sizeof(std::int64_t));
        starts_.resize(starts_.capacity());
        used_ = 1;  // the first line starts at 0
    }
    // Room for these line ends, the last line's end and the slack the positions need.
    const std::size_t needed = used_ + ends + 1 + kLineEndSlack;
    if (needed > starts_.size())
        starts_.resize(std::max(needed, starts_.size() + starts_.size() / 2));
    used_ += LineEndPositions(piece.data(), piece.size(), starts_.data() + used_, static_cast<std::int64_t>(from));
    split_ = to;
}

void ArrivalScan::Arrived(const char* data, std::size_t arrived)
{
    utf8_.Arrived(data, arrived);
    // A CR at the end waits for the next piece, which may begin with its LF.
    std::size_t end = arrived;
    if (end > split_ && data[end - 1] == '\r')
        --end;
    if (end > split_)
        AddLineEnds(data, split_, end);
}

ScannedBytes ArrivalScan::Finish(const char* data, std::size_t size)
{
    ScannedBytes scanned;
    scanned.validUtf8 = utf8_.Finish(data, size);
    if (size == 0)
        return scanned;
    AddLineEnds(data, split_, size);
    if (static_cast<std::size_t>(starts_[used_ - 1]) < size)
        starts_[used_++] = static_cast<std::int64_t>(size);  // the last line has no line end
    starts_.resize(used_);
    // A first guess far too high gives its room back.
    if (starts_.capacity() - used_ > used_ / 8 + 64)
        starts_.shrink_to_fit();
    scanned.starts = std::move(starts_);
    return scanned;
}

}  // namespace kl
