#pragma once
// The highlight pass of the text views: the matches of the find bar on the rows in the area
// drawn again on FOUND, the current match on SELBACK. It only looks the matches of each row's
// line up in the search result; painting never searches.
#include "engine/display/match_places.h"
#include "ui/display/painters.h"

namespace kl {

// Over side's column of shown (either display mode).
void PaintFoundMatches(PaintContext& context, const ShownRows& shown, int side, const FoundMatches& found);

}  // namespace kl
