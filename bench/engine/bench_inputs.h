#pragma once
// Generated inputs shared by the benchmarks: code-like lines and lightly edited copies.
#include <iterator>
#include <random>
#include <string>

namespace klbench {

// A line of a few code-like words and a number, indented by 0, 4 or 8 spaces, ending in CR LF.
inline std::string VariedLine(std::mt19937& random)
{
    static const char* const words[] = {"int", "return", "value", "count", "if", "else", "{", "}", "for",
                                        "(i = 0;", "index", "+=", "line", "text", "std::string", "auto"};
    std::string line(random() % 3 * 4, ' ');
    const int wordCount = 1 + static_cast<int>(random() % 8);
    for (int w = 0; w < wordCount; ++w) {
        line += words[random() % std::size(words)];
        line += ' ';
    }
    line += std::to_string(random() % 100000);
    line += ";\r\n";
    return line;
}

// What an edited copy of a text has in place of line: 1% of the lines are replaced,
// followed by an inserted line or deleted, in equal shares; the rest stay as they are.
inline std::string EditedLine(std::mt19937& random, const std::string& line)
{
    switch (random() % 300) {
    case 0: return VariedLine(random);         // replaced
    case 1: return line + VariedLine(random);  // inserted after
    case 2: return {};                         // deleted
    default: return line;
    }
}

}  // namespace klbench
