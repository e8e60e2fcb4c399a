#pragma once
// Texts for matcher tests, built straight from line texts (line ends included), so that
// tests can use any bytes, CR in mid-line and missing line ends included.
#include <string>
#include <string_view>
#include <vector>

#include "engine/document/text.h"

namespace kltest {

inline kl::Text MakeText(const std::vector<std::string>& lines)
{
    return kl::TextFromLines(std::vector<std::string_view>(lines.begin(), lines.end()));
}

// One line per letter of letters, each ending in LF.
inline kl::Text LetterText(const std::string& letters)
{
    std::vector<std::string> lines;
    for (char c : letters) lines.push_back(std::string(1, c) + "\n");
    return MakeText(lines);
}

}  // namespace kltest
