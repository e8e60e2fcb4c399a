#pragma once
// Searching the loaded texts for what the user typed. The pattern is Unicode (UTF-8); each
// text is searched in its own encoding, so the same word is found in Shift_JIS and UTF-8
// texts alike. Matches never cross a line end and do not overlap.
#include <array>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/compare/progress.h"
#include "engine/document/text.h"

namespace kl {

enum class SearchSides : std::uint8_t { DocA, DocB, Both };

struct SearchQuery {
    std::string pattern;  // UTF-8
    bool matchCase = false;
    bool regularExpression = false;
    SearchSides sides = SearchSides::Both;
};

// A match inside one line: byte offsets into the line's stored bytes (before its line end).
struct TextMatch {
    int line = 0;
    std::uint32_t begin = 0;
    std::uint32_t end = 0;

    bool operator==(const TextMatch&) const = default;
};

struct SearchResult {
    std::array<std::vector<TextMatch>, 2> matches;  // DocA, DocB; each in text order
    bool stopped = false;
    std::string error;  // a pattern that is no valid regular expression, in Japanese

    std::size_t count() const { return matches[0].size() + matches[1].size(); }
};

// Checks the pattern; an empty answer means it can be searched for.
std::string SearchPatternError(const SearchQuery& query);

// The matches of query in one text, with progress 0..100. Stops early (returning what was
// found) when stop is requested.
std::vector<TextMatch> FindInText(const Text& text, const SearchQuery& query, std::stop_token stop = {},
                                  const ProgressCallback& progress = {});

// The matches in the sides the query names, with progress 0..100 over both.
SearchResult FindInTexts(const TextPair& texts, const SearchQuery& query, std::stop_token stop = {},
                         const ProgressCallback& progress = {});

}  // namespace kl
