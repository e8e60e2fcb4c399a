#pragma once
// A piece of plain text that every match of a regular expression must contain, so that a
// search can skip the lines without it before the expression runs.
#include <optional>
#include <string>
#include <string_view>

namespace kl {

// The longest run of literal characters (UTF-8) that every match of the ECMAScript pattern
// contains, or nothing when no such run is known: alternatives, escapes by number and
// patterns this reading does not follow give nothing rather than a wrong answer.
std::optional<std::string> RequiredLiteral(std::string_view pattern);

}  // namespace kl
