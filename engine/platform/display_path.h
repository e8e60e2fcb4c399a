#pragma once
// A path as it may stand in a message: file names are bytes, messages are UTF-8.
#include <string>
#include <string_view>

namespace kl {

// The path as valid UTF-8 on one line: UTF-8 characters stay, every other byte (and every
// control character) becomes "\xHH" with two upper-case hex digits, e.g. "\x83\x65.txt".
std::string DisplayPath(std::string_view path);

}  // namespace kl
