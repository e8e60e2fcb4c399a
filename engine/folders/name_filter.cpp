#include "engine/folders/name_filter.h"

namespace kl {

namespace {

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Bytes of the character at the start of text: a whole UTF-8 sequence, or one byte.
std::size_t CharacterLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
    if (length > text.size())
        return 1;
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

bool AnyMatches(const std::vector<std::string>& patterns, std::string_view name)
{
    for (const std::string& pattern : patterns) {
        if (MatchesPattern(name, pattern))
            return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> SplitPatterns(std::string_view list)
{
    std::vector<std::string> patterns;
    while (!list.empty()) {
        const std::size_t end = list.find(';');
        const std::string_view part = Trimmed(list.substr(0, end));
        if (!part.empty())
            patterns.emplace_back(part);
        if (end == std::string_view::npos)
            break;
        list.remove_prefix(end + 1);
    }
    return patterns;
}

std::string JoinPatterns(const std::vector<std::string>& patterns)
{
    std::string list;
    for (const std::string& pattern : patterns) {
        if (!list.empty())
            list += ';';
        list += pattern;
    }
    return list;
}

bool MatchesPattern(std::string_view name, std::string_view pattern)
{
    // Greedy matching with one remembered star: linear in practice, never exponential.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += CharacterLength(name.substr(n));
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            starN += CharacterLength(name.substr(starN));
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool TakesEntry(const NameFilter& filter, std::string_view name, bool isFolder)
{
    if (!filter.includeHidden && !name.empty() && name[0] == '.')
        return false;
    if (AnyMatches(filter.exclude, name))
        return false;
    return isFolder || filter.include.empty() || AnyMatches(filter.include, name);
}

}  // namespace kl
