#include "engine/display/match_places.h"

#include <algorithm>
#include <tuple>

namespace kl {

std::vector<int> RowOfEachLine(const ShownRows& shown, int side)
{
    const Text* text = shown.TextOf(side);
    std::vector<int> rows(text ? static_cast<std::size_t>(text->count()) : 0, kNoLine);
    for (int row = 0; row < shown.ColumnRowCount(side); ++row) {
        const int line = shown.LineAt(side, row);
        if (line >= 0 && static_cast<std::size_t>(line) < rows.size())
            rows[static_cast<std::size_t>(line)] = row;
    }
    return rows;
}

std::vector<MatchPlace> MatchesInRowOrder(const ShownRows& shown, const SearchResult& result)
{
    std::vector<MatchPlace> places;
    places.reserve(result.count());
    for (int side : {DOC_A, DOC_B}) {
        const std::vector<TextMatch>& matches = result.matches[static_cast<std::size_t>(side)];
        if (matches.empty())
            continue;
        const std::vector<int> rows = RowOfEachLine(shown, side);
        for (const TextMatch& match : matches) {
            if (static_cast<std::size_t>(match.line) < rows.size() && rows[static_cast<std::size_t>(match.line)] != kNoLine)
                places.push_back({rows[static_cast<std::size_t>(match.line)], side, match});
        }
    }
    std::stable_sort(places.begin(), places.end(), [](const MatchPlace& a, const MatchPlace& b) {
        return std::tie(a.row, a.side, a.match.begin) < std::tie(b.row, b.side, b.match.begin);
    });
    return places;
}

int NextMatchIndex(const std::vector<MatchPlace>& places, int row, int side, unsigned offset, bool forward,
                   bool& wrapped)
{
    wrapped = false;
    if (places.empty())
        return -1;
    const auto key = std::make_tuple(row, side, offset);
    const auto placeKey = [](const MatchPlace& p) { return std::make_tuple(p.row, p.side, p.match.begin); };
    if (forward) {
        const auto next = std::upper_bound(places.begin(), places.end(), key,
                                           [&](const auto& k, const MatchPlace& p) { return k < placeKey(p); });
        if (next != places.end())
            return static_cast<int>(next - places.begin());
        wrapped = true;
        return 0;
    }
    const auto first = std::lower_bound(places.begin(), places.end(), key,
                                        [&](const MatchPlace& p, const auto& k) { return placeKey(p) < k; });
    if (first != places.begin())
        return static_cast<int>(first - places.begin()) - 1;
    wrapped = true;
    return static_cast<int>(places.size()) - 1;
}

std::span<const TextMatch> MatchesOnLine(const std::vector<TextMatch>& matches, int line)
{
    const auto first = std::partition_point(matches.begin(), matches.end(),
                                            [line](const TextMatch& m) { return m.line < line; });
    const auto last = std::partition_point(first, matches.end(), [line](const TextMatch& m) { return m.line == line; });
    return {first, last};
}

}  // namespace kl
