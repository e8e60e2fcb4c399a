#include "engine/display/row_pairing.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "engine/document/text.h"

namespace kl {

namespace {

// A line's characters as a sorted list of (character, count); a character is its bytes
// packed into a number, so equal bytes give equal characters in either encoding.
using CharacterCounts = std::vector<std::pair<std::uint32_t, int>>;

CharacterCounts CountCharacters(std::string_view line, TextEncoding encoding)
{
    line = line.substr(0, line.size() - static_cast<std::size_t>(NewlineKind(line)));
    std::vector<std::uint32_t> characters;
    characters.reserve(line.size());
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t next = std::min(NextCharIn(encoding, line, pos), line.size());
        std::uint32_t code = 0;
        for (std::size_t k = pos; k < next && k < pos + 4; ++k)
            code = code << 8 | static_cast<unsigned char>(line[k]);
        characters.push_back(code);
        pos = next > pos ? next : pos + 1;
    }
    std::sort(characters.begin(), characters.end());
    CharacterCounts counts;
    for (std::uint32_t c : characters) {
        if (!counts.empty() && counts.back().first == c)
            ++counts.back().second;
        else
            counts.emplace_back(c, 1);
    }
    return counts;
}

int Shared(const CharacterCounts& a, const CharacterCounts& b)
{
    int shared = 0;
    auto i = a.begin();
    auto j = b.begin();
    while (i != a.end() && j != b.end()) {
        if (i->first < j->first) {
            ++i;
        } else if (j->first < i->first) {
            ++j;
        } else {
            shared += std::min(i->second, j->second);
            ++i;
            ++j;
        }
    }
    return shared;
}

std::vector<LinePairing> InOrder(std::size_t countA, std::size_t countB)
{
    std::vector<LinePairing> pairs;
    const int n = static_cast<int>(std::min(countA, countB));
    pairs.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        pairs.push_back({k, k});
    return pairs;
}

}  // namespace

int CommonCharacters(std::string_view a, TextEncoding encodingA, std::string_view b, TextEncoding encodingB)
{
    return Shared(CountCharacters(a, encodingA), CountCharacters(b, encodingB));
}

std::vector<LinePairing> PairChangedLines(std::span<const std::string_view> linesA, TextEncoding encodingA,
                                          std::span<const std::string_view> linesB, TextEncoding encodingB)
{
    const std::size_t na = linesA.size();
    const std::size_t nb = linesB.size();
    const auto limit = static_cast<std::size_t>(kSimilarityPairingLimit);
    if (na == nb || na > limit || nb > limit)
        return InOrder(na, nb);

    std::vector<CharacterCounts> countsA;
    std::vector<CharacterCounts> countsB;
    for (std::string_view line : linesA)
        countsA.push_back(CountCharacters(line, encodingA));
    for (std::string_view line : linesB)
        countsB.push_back(CountCharacters(line, encodingB));

    // best[i][j]: the most characters pairs of the first i DocA and first j DocB lines share.
    const std::size_t width = nb + 1;
    std::vector<int> shared(na * nb);
    std::vector<long long> best((na + 1) * width, 0);
    for (std::size_t i = 1; i <= na; ++i) {
        for (std::size_t j = 1; j <= nb; ++j) {
            const int s = Shared(countsA[i - 1], countsB[j - 1]);
            shared[(i - 1) * nb + (j - 1)] = s;
            long long value = std::max(best[(i - 1) * width + j], best[i * width + j - 1]);
            if (s > 0)
                value = std::max(value, best[(i - 1) * width + j - 1] + s);
            best[i * width + j] = value;
        }
    }
    std::vector<LinePairing> pairs;
    for (std::size_t i = na, j = nb; i > 0 && j > 0;) {
        const int s = shared[(i - 1) * nb + (j - 1)];
        const long long here = best[i * width + j];
        if (s > 0 && here == best[(i - 1) * width + j - 1] + s) {
            pairs.push_back({static_cast<int>(i - 1), static_cast<int>(j - 1)});
            --i;
            --j;
        } else if (here == best[(i - 1) * width + j]) {
            --i;
        } else {
            --j;
        }
    }
    std::reverse(pairs.begin(), pairs.end());
    return pairs;
}

}  // namespace kl
