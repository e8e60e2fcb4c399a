#include "engine/compare/compared_lines.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

namespace kl {

ComparedLines SelectComparedLines(const Text& text, const LineFilters& filters)
{
    ComparedLines out;
    const int n = text.count();
    out.keyLine.assign(static_cast<std::size_t>(n), kNoLine);
    // The keys back to back, as a text stores its lines.
    std::string storage;
    storage.reserve(text.size);
    std::vector<std::int64_t> starts{0};
    for (int i = 0; i < n; ++i) {
        const std::string_view line = text.text(i);
        const std::size_t contentEnd = line.size() - static_cast<std::size_t>(NewlineKind(line));
        const std::string_view content = line.substr(0, contentEnd);
        const std::string key = filters.Key(content);
        if (filters.LeftOut(content, key)) continue;
        out.keyLine[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(out.lines.size());
        out.lines.push_back(i);
        storage += key;
        storage += line.substr(contentEnd);
        starts.push_back(static_cast<std::int64_t>(storage.size()));
    }
    Text& keys = out.keys;
    keys.storage = std::make_unique_for_overwrite<char[]>(storage.size());
    std::copy(storage.begin(), storage.end(), keys.storage.get());
    keys.size = storage.size();
    if (starts.size() > 1) keys.starts = std::move(starts);
    keys.encoding = text.encoding;
    for (int k = 0; k < keys.count(); ++k)
        if (keys.text(k).size() > keys.text(keys.longestLine).size()) keys.longestLine = k;
    return out;
}

}  // namespace kl
