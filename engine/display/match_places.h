#pragma once
// Where the matches of a search stand among the shown rows, in the order a reader meets them
// (row by row, DocA before DocB on the same row), and the way from one to the next.
#include <vector>

#include "engine/display/shown_rows.h"
#include "engine/search/text_search.h"

namespace kl {

// The row each line of side is shown on (kNoLine where a line is not shown).
std::vector<int> RowOfEachLine(const ShownRows& shown, int side);

struct MatchPlace {
    int row = 0;
    int side = DOC_A;
    TextMatch match;
};

std::vector<MatchPlace> MatchesInRowOrder(const ShownRows& shown, const SearchResult& result);

// The match after (forward) or before the position (row, side, byte offset), going round the
// ends; wrapped tells when it went round. -1 when there is no match.
int NextMatchIndex(const std::vector<MatchPlace>& places, int row, int side, unsigned offset, bool forward,
                   bool& wrapped);

}  // namespace kl
