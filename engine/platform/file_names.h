#pragma once
// The names tried in turn when a copied or moved file meets a file of the same name in the
// destination folder.
#include <string>
#include <string_view>

namespace kl {

// The name to try after fileName: the text before the last dot (the base) gets its trailing
// decimal number raised by one, or a 0 appended when it ends in no digit; the extension
// (last dot onwards) stays. "report.txt" -> "report0.txt" -> "report1.txt", "a.b.c" ->
// "a.b0.c", "notes" -> "notes0", "v9.txt" -> "v10.txt". A dot at the very start belongs to
// the base, so a hidden file stays hidden: ".profile" -> ".profile0". The number is
// raised digit by digit, so any length works; leading zeros are dropped ("x007" -> "x8").
std::string NextFileName(std::string_view fileName);

}  // namespace kl
