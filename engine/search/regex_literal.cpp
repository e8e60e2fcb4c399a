#include "engine/search/regex_literal.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/platform/text_encoding.h"

namespace kl {

namespace {

bool IsQuantifierStart(char c)
{
    return c == '*' || c == '?' || c == '{' || c == '+';
}

// The end of the bracket expression that opens at pattern[pos] ('['), or npos.
std::size_t ClassEnd(std::string_view pattern, std::size_t pos)
{
    std::size_t i = pos + 1;
    if (i < pattern.size() && pattern[i] == '^')
        ++i;
    if (i < pattern.size() && pattern[i] == ']')
        ++i;
    for (; i < pattern.size(); ++i) {
        if (pattern[i] == '\\')
            ++i;
        else if (pattern[i] == ']')
            return i + 1;
    }
    return std::string_view::npos;
}

// The end of the group that opens at pattern[pos] ('('), or npos.
std::size_t GroupEnd(std::string_view pattern, std::size_t pos)
{
    int depth = 0;
    for (std::size_t i = pos; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '\\') {
            ++i;
        } else if (c == '[') {
            i = ClassEnd(pattern, i);
            if (i == std::string_view::npos)
                return i;
            --i;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// Skips a quantifier at pos; returns where the pattern goes on and whether the quantifier
// lets the item before it be absent.
std::size_t SkipQuantifier(std::string_view pattern, std::size_t pos, bool& optional)
{
    optional = false;
    if (pos >= pattern.size() || !IsQuantifierStart(pattern[pos]))
        return pos;
    const char c = pattern[pos];
    std::size_t next = pos + 1;
    if (c == '{') {
        const std::size_t close = pattern.find('}', pos);
        if (close == std::string_view::npos)
            return std::string_view::npos;
        optional = pattern[pos + 1] == '0' || pattern[pos + 1] == ',';
        next = close + 1;
    } else {
        optional = c != '+';
    }
    if (next < pattern.size() && pattern[next] == '?')  // lazy
        ++next;
    return next;
}

constexpr char kLiteralEscapes[] = "^$\\.*+?()[]{}|/-";

bool IsAsciiByte(char c)
{
    return static_cast<unsigned char>(c) < 0x80;
}

// The ASCII characters of the escape \d, \w or \s (letter lower case).
std::bitset<256> EscapeClass(char letter)
{
    std::bitset<256> set;
    for (int c = 0; c < 128; ++c) {
        const bool digit = c >= '0' && c <= '9';
        const bool word = digit || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        const bool space = c == ' ' || (c >= '\t' && c <= '\r');
        set[static_cast<std::size_t>(c)] = letter == 'd' ? digit : letter == 'w' ? word : space;
    }
    return set;
}

// The character a member of a class at pattern[pos] stands for, when it is a single ASCII
// character; pos moves past it.
std::optional<char> ClassMemberChar(std::string_view item, std::size_t& pos)
{
    const char c = item[pos];
    if (!IsAsciiByte(c))
        return std::nullopt;
    if (c != '\\') {
        ++pos;
        return c;
    }
    if (pos + 1 >= item.size())
        return std::nullopt;
    const char e = item[pos + 1];
    pos += 2;
    if (e != '\0' && std::strchr(kLiteralEscapes, e))
        return e;
    switch (e) {
    case 'n': return '\n';
    case 't': return '\t';
    case 'r': return '\r';
    case 'f': return '\f';
    case 'v': return '\v';
    default: return std::nullopt;
    }
}

// The bytes a character matched by the class item ([...], \d, \w, \s and their negations)
// may begin with, or nothing for what this reading does not follow.
std::optional<std::bitset<256>> ClassBytes(std::string_view item, bool ignoreCase)
{
    std::bitset<256> set;
    bool negated = false;
    if (item.size() == 2 && item[0] == '\\') {
        const char letter = static_cast<char>(item[1] | 0x20);
        if (letter != 'd' && letter != 'w' && letter != 's')
            return std::nullopt;
        set = EscapeClass(letter);
        negated = item[1] != letter;
    } else {
        std::size_t pos = 1;
        const std::size_t end = item.size() - 1;  // the closing ']'
        if (pos < end && item[pos] == '^') {
            negated = true;
            ++pos;
        }
        while (pos < end) {
            if (item[pos] == '[' && pos + 1 < end && std::strchr(":.=", item[pos + 1]))
                return std::nullopt;  // [:alpha:] and the like
            if (item[pos] == '\\' && pos + 1 < end && std::strchr("dws", item[pos + 1])) {
                set |= EscapeClass(item[pos + 1]);
                pos += 2;
                continue;
            }
            if (item[pos] == ']')
                return std::nullopt;  // "[]": read differently by the grammars
            const std::optional<char> low = ClassMemberChar(item, pos);
            if (!low)
                return std::nullopt;
            char high = *low;
            if (pos + 1 < end && item[pos] == '-') {
                ++pos;
                const std::optional<char> last = ClassMemberChar(item, pos);
                if (!last || *last < *low)
                    return std::nullopt;
                high = *last;
            }
            for (int c = static_cast<unsigned char>(*low); c <= static_cast<unsigned char>(high); ++c)
                set[static_cast<std::size_t>(c)] = true;
        }
    }
    if (ignoreCase) {
        for (int c = 'a'; c <= 'z'; ++c) {
            const bool either = set[static_cast<std::size_t>(c)] || set[static_cast<std::size_t>(c - 32)];
            set[static_cast<std::size_t>(c)] = set[static_cast<std::size_t>(c - 32)] = either;
        }
    }
    if (negated)
        set.flip();  // and every byte of a longer character
    return set;
}

}  // namespace

std::vector<RequiredRun> RequiredRuns(std::string_view pattern, bool ignoreCase)
{
    std::vector<RequiredRun> runs(1);
    auto endRun = [&runs] {
        if (!runs.back().literal.empty())
            runs.emplace_back();
    };
    for (std::size_t pos = 0; pos < pattern.size();) {
        const char c = pattern[pos];
        std::size_t itemEnd = pos + 1;
        std::string literal;  // the item's character when it is a plain one
        bool consumes = false;  // the item is a class that takes one character
        if (c == '|' || c == ')') {
            return {};
        } else if (c == '(') {
            itemEnd = GroupEnd(pattern, pos);
        } else if (c == '[') {
            itemEnd = ClassEnd(pattern, pos);
            consumes = true;
        } else if (c == '\\') {
            if (pos + 1 >= pattern.size())
                return {};
            const char e = pattern[pos + 1];
            itemEnd = pos + 2;
            if (e == '\0') {
                return {};
            } else if (std::strchr(kLiteralEscapes, e)) {
                literal.assign(1, e);
            } else if (std::strchr("dDsSwW", e)) {
                consumes = true;
            } else if (!std::strchr("bB", e)) {
                return {};  // \x41, \u3042, \n, \1 ...: not followed here
            }
        } else if (c == '.' || c == '^' || c == '$') {
        } else if (IsQuantifierStart(c)) {
            return {};
        } else {
            std::size_t next = pos;
            DecodeCharIn(TextEncoding::Utf8, pattern, next);
            itemEnd = next;
            literal.assign(pattern.substr(pos, next - pos));
        }
        if (itemEnd == std::string_view::npos)
            return {};
        bool optional = false;
        const std::size_t next = SkipQuantifier(pattern, itemEnd, optional);
        if (next == std::string_view::npos)
            return {};
        if (consumes && !optional && !runs.back().literal.empty())
            runs.back().follow = ClassBytes(pattern.substr(pos, itemEnd - pos), ignoreCase);
        if (literal.empty() || optional) {
            endRun();
        } else {
            runs.back().literal += literal;
            if (next != itemEnd)  // "a+": the a is there, what follows need not touch it
                endRun();
        }
        pos = next;
    }
    if (runs.back().literal.empty())
        runs.pop_back();
    std::stable_sort(runs.begin(), runs.end(),
                     [](const RequiredRun& a, const RequiredRun& b) { return a.literal.size() > b.literal.size(); });
    return runs;
}

std::optional<std::string> RequiredLiteral(std::string_view pattern)
{
    std::vector<RequiredRun> runs = RequiredRuns(pattern);
    if (runs.empty())
        return std::nullopt;
    return std::move(runs.front().literal);
}

std::optional<std::string> BytePattern(std::string_view pattern)
{
    std::string out;
    for (std::size_t pos = 0; pos < pattern.size();) {
        const char c = pattern[pos];
        if (c == '.') {
            return std::nullopt;
        } else if (c == '\\') {
            if (pos + 1 >= pattern.size())
                return std::nullopt;
            const char e = pattern[pos + 1];
            if (e == '\0' || !IsAsciiByte(e) || !(std::strchr(kLiteralEscapes, e) || std::strchr("dswbBfnrtv0123456789", e)))
                return std::nullopt;
            out.append(pattern.substr(pos, 2));
            pos += 2;
        } else if (c == '[') {
            const std::size_t end = ClassEnd(pattern, pos);
            if (end == std::string_view::npos)
                return std::nullopt;
            const std::string_view item = pattern.substr(pos, end - pos);
            if (item[1] == '^' || !ClassBytes(item, false))
                return std::nullopt;
            out.append(item);
            pos = end;
        } else if (IsAsciiByte(c)) {
            out.push_back(c);
            ++pos;
        } else {
            const std::size_t start = pos;
            if (DecodeCharIn(TextEncoding::Utf8, pattern, pos) == U'\uFFFD')
                return std::nullopt;
            out += "(?:";
            out.append(pattern.substr(start, pos - start));
            out += ')';
        }
    }
    return out;
}

}  // namespace kl
