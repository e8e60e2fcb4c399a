#include "engine/document/arrival_scan.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "engine/document/line_scan.h"
#include "engine/platform/large_buffer.h"

namespace kl {

void ArrivalScan::AddLineEnds(const char* data, std::size_t from, std::size_t to)
{
    // Found a few kilobytes at a time, each step with room for as many line ends as it has
    // bytes, so that they need not be counted first; the room is zeroed just before it is
    // written, while it is in the cache.
    constexpr std::size_t kStep = 4096;
    if (starts_.empty()) {
        starts_.push_back(0);  // the first line starts at 0
        used_ = 1;
    }
    for (std::size_t pos = from; pos < to;) {
        std::size_t end = std::min(pos + kStep, to);
        if (end < to && data[end - 1] == '\r')
            ++end;  // with the byte after it, which tells whether it ends a line alone
        starts_.resize(used_ + (end - pos) + 1 + kLineEndSlack);
        used_ += LineEndPositions(data + pos, end - pos, starts_.data() + used_, static_cast<std::int64_t>(pos));
        pos = end;
    }
    split_ = to;
    if (!guessed_ && to > 0) {
        // The first piece's lines tell how many the whole text will have, about: room for
        // them all at once, in huge pages where the system has them.
        guessed_ = true;
        const auto guess = static_cast<std::size_t>(static_cast<double>(used_) * static_cast<double>(expected_) /
                                                    static_cast<double>(to) * 1.02) + kStep + 2 + kLineEndSlack;
        if (guess > starts_.capacity()) {
            starts_.resize(used_);
            starts_.reserve(guess);
            AdviseHugePages(starts_.data() + used_, (starts_.capacity() - used_) * sizeof(std::int64_t));
        }
    }
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
    starts_.resize(used_);
    if (static_cast<std::size_t>(starts_.back()) < size)
        starts_.push_back(static_cast<std::int64_t>(size));  // the last line has no line end
    used_ = starts_.size();
    // A first guess far too high gives its room back.
    if (starts_.capacity() - used_ > used_ / 8 + 64)
        starts_.shrink_to_fit();
    scanned.starts = std::move(starts_);
    return scanned;
}

}  // namespace kl
