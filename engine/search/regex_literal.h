#pragma once
// Plain text that every match of a regular expression must contain, so that a search can
// skip the lines without it before the expression runs.
#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kl {

// A run of literal characters (UTF-8) that every match contains. follow, when known, holds
// the bytes that may stand right after the run in a match: the first byte of the character
// the pattern requires there (a class such as [0-9] or \d).
struct RequiredRun {
    std::string literal;
    std::optional<std::bitset<256>> follow;
};

// Every such run of the ECMAScript pattern, longest first; empty when none is known:
// alternatives, escapes by number and patterns this reading does not follow give nothing
// rather than a wrong answer. ignoreCase: the follow sets hold both cases of a letter.
std::vector<RequiredRun> RequiredRuns(std::string_view pattern, bool ignoreCase = false);

// The longest of them, or nothing.
std::optional<std::string> RequiredLiteral(std::string_view pattern);

// The pattern for the bytes of UTF-8 text (and of ASCII lines in any encoding), when it
// finds there exactly what it finds in the decoded characters: every part of it matches
// ASCII characters only, or is a literal character (wrapped in a group so that a quantifier
// repeats the whole character). Nothing for ".", negated classes and \W, \S, \D, which
// could take one byte of a longer character, and for escapes this reading does not follow.
std::optional<std::string> BytePattern(std::string_view pattern);

}  // namespace kl
