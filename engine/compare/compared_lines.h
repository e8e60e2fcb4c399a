#pragma once
// Which lines of a text take part in a comparison under the line filter options, and the
// keys they are compared by. The matcher sees only the keys; the result is then told in the
// text's own line numbers, with the lines left out in their places.
#include <cstdint>
#include <vector>

#include "engine/compare/line_filters.h"
#include "engine/document/text.h"

namespace kl {

struct ComparedLines {
    Text keys;                          // one line per line that takes part, line end kept
    std::vector<std::int32_t> lines;    // per key line: the text's line
    std::vector<std::int32_t> keyLine;  // per text line: its key line, or kNoLine when left out
};

ComparedLines SelectComparedLines(const Text& text, const LineFilters& filters);

}  // namespace kl
