#pragma once

#include <string>
#include <vector>

#include "engine/platform/text_encoding.h"

namespace kl {

// A regular expression and the text that replaces its matches in a line's comparison key.
struct SubstitutionFilter {
    std::string pattern;      // UTF-8, ECMAScript syntax
    std::string replacement;  // UTF-8; $1, $& and the like name parts of the match

    bool operator==(const SubstitutionFilter&) const = default;
};

// The option set that tunes when two lines count as equal.
struct CompareOptions {
    int method = 0;                 // 1: compare only head and tail up to the delimiter
    char delimiter = '"';           // delimiter byte of method 1
    bool ignoreNewline = false;     // line-end bytes do not take part
    bool ignoreSpaceTab = false;    // half-width spaces and tabs do not take part
    int wideSpaceAsTwo = 0;         // nonzero: a full-width space counts as two spaces
    int ignoreTrailingSpaces = 0;   // nonzero: trailing half-width spaces do not take part
    bool ignoreCase = false;        // ASCII and full-width Latin letters compare without case
    bool ignoreBlankLines = false;  // lines empty or of spaces and tabs take no part
    bool useLineFilters = false;    // lineFilters apply
    bool useSubstitutions = false;  // substitutions apply
    // Lines that match one of these regular expressions (UTF-8, ECMAScript) take no part.
    std::vector<std::string> lineFilters{};
    // Applied in order to each line's comparison key; the text shown is never changed.
    std::vector<SubstitutionFilter> substitutions{};
    // How the lines' bytes are stepped through. Not a choice of the user: a run takes it
    // from its texts.
    TextEncoding encoding = TextEncoding::Cp932;
};

}  // namespace kl
