#pragma once
// Line matching: finds runs of equal lines (common blocks) between two texts and links
// every line to its partners in the other text.
#include <memory>
#include <stop_token>
#include <vector>

#include "engine/compare/compare_options.h"
#include "engine/compare/compare_result.h"
#include "engine/compare/partner_chains.h"
#include "engine/compare/progress.h"
#include "engine/document/text.h"

namespace kl {

// Normal and detailed run the matcher; minimal aligns with a shortest edit script instead.
enum CompareMode : int { COMPARE_DETAILED = 0, COMPARE_NORMAL = 1, COMPARE_MINIMAL = 2 };

// One text as the matcher sees it: its lines and the match fields the passes fill, each
// field in its own compact array so that the candidate search stays in cache.
struct MatchSide {
    explicit MatchSide(const Text& text);

    const Text* text;
    std::vector<std::int32_t> blockSize;
    PartnerSlotTable partnerSlots;
    PartnerChains partnerLines;

    int count() const { return text->count(); }
};

class LineKeys;

// The numbers of one run's two texts, built by the first pass that needs them.
struct LineKeysCache {
    const Text* text0 = nullptr;  // the texts in the order they were numbered
    const Text* text1 = nullptr;
    std::shared_ptr<const LineKeys> keys;
};

// Everything one matching pass needs besides the two sides.
struct MatchContext {
    CompareOptions options;          // the options captured when the run started
    CompareMode mode = COMPARE_NORMAL;
    ProgressCallback progress;       // may be empty
    std::stop_token stop;            // the run's stop request
    // Numbers the distinct normalised line texts up front, so that most comparisons become
    // number comparisons and the candidate search can jump over lines that cannot change its
    // outcome. The results are the same either way; false runs the plain search, with
    // LinesEqual for every pair (for tests and measurements).
    bool useLineKeys = true;
    // Where the two passes of one run share the line numbers: they depend only on the two
    // texts and the options, not on which text is matched. Empty: each pass numbers anew.
    std::shared_ptr<LineKeysCache> keyCache{};
};

// Matches every line of own against other. Progress runs from base to base + span;
// returns the last progress value set. Returns early when a stop is requested.
int MatchPass(int base, int span, MatchSide& own, MatchSide& other, const MatchContext& context);

// The single steps of a pass, for tests and tools that examine one pair of lines.
//
// Measures the run of equal lines through own line l and other line r (which must be
// equal) and links it when it beats what the lines already belong to. Returns the forward
// run length when the run was linked, 0 otherwise (1 when l already shares r's block).
int MeasureAndLink(MatchSide& own, int l, MatchSide& other, int r, const MatchContext& context);
// Line z of zs has just lost its primary partner (in others) to another block: when its
// second partner belongs elsewhere, makes that one primary and re-measures the pair.
void RepairDisplaced(MatchSide& zs, int z, MatchSide& others, const MatchContext& context);
// Re-measures the run through line x of xs and line y of ys and gives every pair of it the
// run length as block size. Returns 0 when the run was abandoned, 1 otherwise.
int RemeasureBlock(MatchSide& xs, int x, MatchSide& ys, int y, const MatchContext& context);

}  // namespace kl
