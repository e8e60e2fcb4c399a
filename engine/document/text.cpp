#include "engine/document/text.h"

#include <cstring>

namespace kl {

int LineLength(const Text& text, int i)
{
    if (!text.readLengths.empty())
        return text.readLengths[static_cast<std::size_t>(i)];
    return static_cast<int>(text.starts[static_cast<std::size_t>(i) + 1] - text.starts[static_cast<std::size_t>(i)]);
}

int NewlineKind(std::string_view line)
{
    if (line.ends_with("\r\n"))
        return 2;
    if (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        return 1;
    return 0;
}

Text TextFromLines(const std::vector<std::string_view>& lines)
{
    Text text;
    std::size_t size = 0;
    for (std::string_view line : lines)
        size += line.size();
    text.storage = std::make_unique_for_overwrite<char[]>(size);
    text.starts.reserve(lines.size() + 1);
    text.starts.push_back(0);
    std::size_t longest = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        std::memcpy(text.storage.get() + text.size, lines[k].data(), lines[k].size());
        text.size += lines[k].size();
        text.starts.push_back(static_cast<std::int64_t>(text.size));
        if (lines[k].size() > longest || k == 0) {
            longest = lines[k].size();
            text.longestLine = static_cast<int>(k);
        }
    }
    if (lines.empty())
        text.starts.clear();
    return text;
}

}  // namespace kl
