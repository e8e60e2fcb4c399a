#pragma once
// Where the matches of a search stand among the shown rows, in the order a reader meets them
// (row by row, DocA before DocB on the same row), and the way from one to the next.
#include <memory>
#include <span>
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

// The matches of one line among matches (one side's, in text order): a binary search, so
// that painting a row costs the same however many matches the text holds.
std::span<const TextMatch> MatchesOnLine(const std::vector<TextMatch>& matches, int line);

// What the views highlight: the matches of the last search and the current one among them.
struct FoundMatches {
    std::shared_ptr<const SearchResult> result;
    int currentSide = -1;  // DOC_A or DOC_B; -1 when no match is current
    TextMatch current;
};

}  // namespace kl
