#pragma once
// The row builder: turns the partner links of the two line tables into the aligned
// side-by-side rows and the block lists of the comparison result.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/compare/run_control.h"
#include "engine/document/text_document.h"
#include "engine/settings/default_messages.h"

namespace kl {

// Built-in filler and position texts, code page 932 bytes.
// "<< 上位%d行目に存在": the partner lies above the current DocB position.
inline constexpr std::string_view kPartnerAboveMessage =
    "<< \x8f\xe3\x88\xca%d\x8d" "s\x96\xda\x82\xc9\x91\xb6\x8d\xdd";
// "<< 下位%d行目に存在": the partner lies below the current DocB position.
inline constexpr std::string_view kPartnerBelowMessage =
    "<< \x89\xba\x88\xca%d\x8d" "s\x96\xda\x82\xc9\x91\xb6\x8d\xdd";

// The texts a run puts into filler rows, captured when the run starts.
struct RowMessages {
    std::string left{kDefaultLeftMessage};    // left column, opposite a DocB-only line
    std::string right{kDefaultRightMessage};  // right column, opposite a DocA-only line
    bool positionMessages = true;             // moved lines name their partner's line number
};

// The text with its first "%d" replaced by number; unchanged when it has none. No other
// character of the text has any meaning, so user-edited messages are safe to pass.
std::string ReplaceFirstNumberField(std::string_view text, int number);

// Works on a private copy of a line's partner list. Counts the entries less than j from
// the front; at the first entry equal to j, found at position k, inserts j at the front
// when k > 0 (the entry at k stays) and returns 0. Without an equal entry, returns the
// count of entries less than j.
int PromotePartner(int j, std::vector<std::int32_t>& list);

// Rebuilds doc.rowsA and doc.rowsB from the match fields of both line tables (a missing
// table counts as empty) and appends the blocks to doc.blocksA and doc.blocksB.
// Progress runs from progressStart to 100; on an abort request the builder stops after
// the current step, leaving the rows built so far (always in pairs).
void BuildRows(int progressStart, const ProgressCallback& progress, TextDocument& doc,
               const RowMessages& messages);

}  // namespace kl
