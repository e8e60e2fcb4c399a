#pragma once
// Line matching: finds runs of equal lines (common blocks) between two texts and links
// every line to its partners in the other text.
#include <memory>

#include "engine/compare/compare_options.h"
#include "engine/compare/run_control.h"
#include "engine/document/line_table.h"

namespace kl {

inline constexpr int COMPARE_DETAILED = 0;
inline constexpr int COMPARE_NORMAL = 1;

// Everything one matching pass needs besides the two tables.
struct MatchContext {
    CompareOptions options;          // the options captured when the run started
    int mode = COMPARE_NORMAL;
    ProgressCallback progress;       // may be empty
    // Numbers the distinct normalised line texts up front, so that most comparisons become
    // number comparisons and the candidate search can jump over lines that cannot change its
    // outcome. The results are the same either way; false runs the plain search, with
    // LinesEqual for every pair (for tests and measurements).
    bool useLineKeys = true;
    // Where the two passes of one run share the line numbers: they depend only on the two
    // texts and the options, not on which text is matched. Empty: each pass numbers anew.
    std::shared_ptr<struct LineKeysCache> keyCache{};
};

class LineKeys;

// The numbers of one run's two tables, built by the first pass that needs them.
struct LineKeysCache {
    const LineTable* table0 = nullptr;  // the tables in the order they were numbered
    const LineTable* table1 = nullptr;
    std::shared_ptr<const LineKeys> keys;
};

// Clears the match fields of every line of both tables.
void ResetMatchFields(LineTable& a, LineTable& b);

// Matches every line of own against other. Progress runs from base to base + span;
// returns the last progress value set. Returns early when an abort is requested.
int MatchPass(int base, int span, LineTable& own, LineTable& other, const MatchContext& context);

// The single steps of a pass, for tests and tools that examine one pair of lines.
//
// Measures the run of equal lines through own line l and other line r (which must be
// equal) and links it when it beats what the lines already belong to. Returns the forward
// run length when the run was linked, 0 otherwise (1 when l already shares r's block).
int MeasureAndLink(LineTable& own, int l, LineTable& other, int r, const MatchContext& context);
// Line z of table zs has just lost its primary partner (in others) to another block: when
// its second partner belongs elsewhere, makes that one primary and re-measures the pair.
void RepairDisplaced(LineTable& zs, int z, LineTable& others, const MatchContext& context);
// Re-measures the run through line x of xs and line y of ys and gives every pair of it the
// run length as block size. Returns 0 when the run was abandoned, 1 otherwise.
int RemeasureBlock(LineTable& xs, int x, LineTable& ys, int y, const MatchContext& context);

}  // namespace kl
