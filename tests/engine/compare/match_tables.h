#pragma once
// Line tables for matcher tests, built straight from line texts (line ends included), so
// that tests can use any bytes, CR in mid-line and missing line ends included.
#include <string>
#include <vector>

#include "engine/document/line_table.h"

namespace kltest {

inline kl::LineTable MakeTable(const std::vector<std::string>& lines)
{
    kl::LineTable table;
    for (const std::string& text : lines) {
        kl::LineRecord line;
        line.index = static_cast<int>(table.lines.size());
        line.textOffset = static_cast<std::int64_t>(table.bytes.size());
        line.textLength = static_cast<std::int32_t>(text.size());
        line.length = line.textLength;
        const bool crlf = text.size() >= 2 && text.ends_with("\r\n");
        const bool single = !crlf && !text.empty() && (text.back() == '\n' || text.back() == '\r');
        line.newlineKind = crlf ? 2 : single ? 1 : 0;
        line.contentLength = line.length - (crlf ? 2 : single ? 1 : 0);
        table.bytes += text;
        table.lines.push_back(line);
    }
    return table;
}

// One line per letter of letters, each ending in LF.
inline kl::LineTable LetterTable(const std::string& letters)
{
    std::vector<std::string> lines;
    for (char c : letters) lines.push_back(std::string(1, c) + "\n");
    return MakeTable(lines);
}

}  // namespace kltest
