#pragma once
// Line matching: finds runs of equal lines (common blocks) between two texts and links
// every line to its partners in the other text.
#include "compare/compare_options.h"
#include "compare/run_control.h"
#include "document/line_table.h"

namespace kl {

inline constexpr int COMPARE_DETAILED = 0;
inline constexpr int COMPARE_NORMAL = 1;

// Everything one matching pass needs besides the two tables.
struct MatchContext {
    CompareOptions options;          // the options captured when the run started
    int mode = COMPARE_NORMAL;
    ProgressCallback progress;       // may be empty
};

// Clears the match fields of every line of both tables.
void ResetMatchFields(LineTable& a, LineTable& b);

// Matches every line of own against other. Progress runs from base to base + span;
// returns the last progress value set. Returns early when an abort is requested.
int MatchPass(int base, int span, LineTable& own, LineTable& other, const MatchContext& context);

}  // namespace kl
