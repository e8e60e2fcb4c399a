#include "engine/compare/compared_lines.h"

#include <string>
#include <string_view>

namespace kl {

ComparedLines SelectComparedLines(const Text& text, const LineFilters& filters)
{
    ComparedLines out;
    const int n = text.count();
    out.keyLine.assign(static_cast<std::size_t>(n), kNoLine);
    std::vector<std::string> keys;
    for (int i = 0; i < n; ++i) {
        const std::string_view line = text.text(i);
        const std::size_t contentEnd = line.size() - static_cast<std::size_t>(NewlineKind(line));
        const std::string_view content = line.substr(0, contentEnd);
        std::string key = filters.Key(content);
        if (filters.LeftOut(content, key)) continue;
        key += line.substr(contentEnd);
        out.keyLine[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(keys.size());
        out.lines.push_back(i);
        keys.push_back(std::move(key));
    }
    out.keys = TextFromLines(std::vector<std::string_view>(keys.begin(), keys.end()));
    out.keys.encoding = text.encoding;
    return out;
}

}  // namespace kl
