#pragma once
// Looking at a file's bytes while they are read, piece by piece as each piece arrives and
// is still in the processor's cache, for what splitting them into lines needs to know
// first: then the whole text need not be read through again for it.
#include <cstddef>

#include "engine/platform/utf8_validation.h"

namespace kl {

struct ScannedBytes {
    bool validUtf8 = true;     // as IsValidUtf8
    std::size_t lineEnds = 0;  // as CountLineEnds
};

class ArrivalScan {
public:
    // The first arrived bytes of data are there; data is the same buffer at every call.
    void Arrived(const char* data, std::size_t arrived);
    // All size bytes are there.
    ScannedBytes Finish(const char* data, std::size_t size);

private:
    Utf8Checker utf8_;
    std::size_t counted_ = 0;  // line ends are counted before it
    std::size_t lineEnds_ = 0;
};

}  // namespace kl
