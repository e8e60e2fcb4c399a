#pragma once
#include "engine/document/text.h"

namespace kl {

// Copies every field that says how the text's file was read (its encoding and any
// conversion) from one version of a text to the next. A new version made from an old one
// goes through here, so that saving writes it back the way the file was read.
void CopyTextOrigin(const Text& from, Text& to);

}  // namespace kl
