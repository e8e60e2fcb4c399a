#pragma once
// Finding the lines of a text that its file holds in bytes of their own.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/document/text.h"

namespace kl {

// The kept lines of text for a file in text.origin.encoding whose line i holds the bytes
// fileLine(i) gives (nullopt: the line is known to encode back exactly). A line is kept
// when encoding it would not give its file bytes, and so is every line with the same
// text, so that a save hands them out in order. Null when no line needs keeping; the kept
// lines the text has already are kept as well.
std::shared_ptr<const KeptFileLines> KeptLinesOf(const Text& text,
                                                 const std::function<std::optional<std::string>(int)>& fileLine);

}  // namespace kl
