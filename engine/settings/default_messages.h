#pragma once
// Built-in filler messages (code page 932): what the settings file's MESSAGE LEFT and RIGHT
// default to, and what a comparison shows when no settings are read at all.
#include <string_view>

namespace kl {

inline constexpr std::string_view kDefaultLeftMessage = "\x91\x8a\x88\xe1\x8d\x73 >>";   // 相違行 >>
inline constexpr std::string_view kDefaultRightMessage = "<< \x91\x8a\x88\xe1\x8d\x73";  // << 相違行

}  // namespace kl
