#pragma once

#include "engine/platform/text_encoding.h"

namespace kl {

// The option set that tunes when two lines count as equal.
struct CompareOptions {
    int method = 0;                 // 1: compare only head and tail up to the delimiter
    char delimiter = '"';           // delimiter byte of method 1
    bool ignoreNewline = false;     // line-end bytes do not take part
    bool ignoreSpaceTab = false;    // half-width spaces and tabs do not take part
    int wideSpaceAsTwo = 0;         // nonzero: a full-width space counts as two spaces
    int ignoreTrailingSpaces = 0;   // nonzero: trailing half-width spaces do not take part
    // How the lines' bytes are stepped through. Not a choice of the user: a run takes it
    // from its texts.
    TextEncoding encoding = TextEncoding::Cp932;
};

}  // namespace kl
