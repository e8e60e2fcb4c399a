#include "engine/search/regex_literal.h"

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

}  // namespace

std::optional<std::string> RequiredLiteral(std::string_view pattern)
{
    std::vector<std::string> runs(1);
    auto endRun = [&runs] {
        if (!runs.back().empty())
            runs.emplace_back();
    };
    for (std::size_t pos = 0; pos < pattern.size();) {
        const char c = pattern[pos];
        std::size_t itemEnd = pos + 1;
        std::string literal;  // the item's character when it is a plain one
        if (c == '|' || c == ')') {
            return std::nullopt;
        } else if (c == '(') {
            itemEnd = GroupEnd(pattern, pos);
        } else if (c == '[') {
            itemEnd = ClassEnd(pattern, pos);
        } else if (c == '\\') {
            if (pos + 1 >= pattern.size())
                return std::nullopt;
            const char e = pattern[pos + 1];
            itemEnd = pos + 2;
            if (std::strchr("^$\\.*+?()[]{}|/-", e)) {
                literal.assign(1, e);
            } else if (!std::strchr("dDsSwWbB", e)) {
                return std::nullopt;  // \x41, \u3042, \n, \1 ...: not followed here
            }
        } else if (c == '.' || c == '^' || c == '$') {
        } else if (IsQuantifierStart(c)) {
            return std::nullopt;
        } else {
            std::size_t next = pos;
            DecodeCharIn(TextEncoding::Utf8, pattern, next);
            itemEnd = next;
            literal.assign(pattern.substr(pos, next - pos));
        }
        if (itemEnd == std::string_view::npos)
            return std::nullopt;
        bool optional = false;
        const std::size_t next = SkipQuantifier(pattern, itemEnd, optional);
        if (next == std::string_view::npos)
            return std::nullopt;
        if (literal.empty() || optional) {
            endRun();
        } else {
            runs.back() += literal;
            if (next != itemEnd)  // "a+": the a is there, what follows need not touch it
                endRun();
        }
        pos = next;
    }
    const std::string* longest = &runs.front();
    for (const std::string& run : runs) {
        if (run.size() > longest->size())
            longest = &run;
    }
    if (longest->empty())
        return std::nullopt;
    return *longest;
}

}  // namespace kl
