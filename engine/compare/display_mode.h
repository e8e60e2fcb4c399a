#pragma once
// What the two text views show; both views are always switched together.

namespace kl {

inline constexpr int DISPLAY_SOURCE = 0;  // the texts as loaded, numbered line by line
inline constexpr int DISPLAY_RESULT = 1;  // the aligned comparison result

}  // namespace kl

// The window classes name the modes without the namespace, like their other members.
using kl::DISPLAY_RESULT;
using kl::DISPLAY_SOURCE;
