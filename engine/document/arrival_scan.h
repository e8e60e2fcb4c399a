#pragma once
// Looking at a file's bytes while they are read, piece by piece as each piece arrives and
// is still in the processor's cache, for what splitting them into lines needs: then the
// whole text need not be read through again for it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/platform/utf8_validation.h"

namespace kl {

struct ScannedBytes {
    bool validUtf8 = true;              // as IsValidUtf8
    std::vector<std::int64_t> starts;  // the line starts of the bytes split as they are
};

class ArrivalScan {
public:
    // expectedSize: how many bytes are expected, for the first guess of the room needed.
    explicit ArrivalScan(std::size_t expectedSize = 0) : expected_(expectedSize) {}
    // The first arrived bytes of data are there; data is the same buffer at every call.
    void Arrived(const char* data, std::size_t arrived);
    // All size bytes are there.
    ScannedBytes Finish(const char* data, std::size_t size);

private:
    void AddLineEnds(const char* data, std::size_t from, std::size_t to);

    Utf8Checker utf8_;
    std::size_t expected_;
    std::size_t split_ = 0;            // line ends are found before it
    std::vector<std::int64_t> starts_;  // the first used_ are starts, the rest room
    std::size_t used_ = 0;
    bool guessed_ = false;  // room was made for the whole text
};

}  // namespace kl
