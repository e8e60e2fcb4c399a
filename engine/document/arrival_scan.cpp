#include "engine/document/arrival_scan.h"

#include <string_view>

#include "engine/document/line_scan.h"

namespace kl {

void ArrivalScan::Arrived(const char* data, std::size_t arrived)
{
    utf8_.Arrived(data, arrived);
    // A CR at the end waits for the next piece, which may begin with its LF.
    std::size_t end = arrived;
    if (end > counted_ && data[end - 1] == '\r')
        --end;
    if (end > counted_) {
        lineEnds_ += CountLineEnds(std::string_view(data + counted_, end - counted_));
        counted_ = end;
    }
}

ScannedBytes ArrivalScan::Finish(const char* data, std::size_t size)
{
    ScannedBytes scanned;
    scanned.validUtf8 = utf8_.Finish(data, size);
    scanned.lineEnds = lineEnds_ + CountLineEnds(std::string_view(data + counted_, size - counted_));
    return scanned;
}

}  // namespace kl
