#pragma once
// A block's bytes as the query window edits them, and back. The edit knows only "\n"; the
// block's own line end is put back when the user changed the text.
#include <QString>
#include <string>
#include <string_view>

#include "engine/platform/text_encoding.h"

// The block's bytes decoded, each line end as "\n".
QString BlockTextForEditing(std::string_view block, kl::TextEncoding encoding);
// The edited text in the block's encoding, every "\n" written as the first line end of
// original (LF when it has none).
std::string EditedBlockText(const QString& edited, std::string_view original, kl::TextEncoding encoding);
