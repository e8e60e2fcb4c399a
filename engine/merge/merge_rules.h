#pragma once
// The adding rules of a merge: which kinds of block go into the merged text and which
// marker string stands before each one-sided line.
#include <string>

#include "engine/settings/merge_settings.h"

namespace kl {

struct MergeRules {
    bool includeOnlyA = true;   // lines that exist only in DocA
    bool includeOnlyB = true;   // lines that exist only in DocB
    bool includeCommon = true;  // lines common to both
    bool prefixOnlyA = true;    // put prefixes.docA before every DocA-only line
    bool prefixOnlyB = true;    // put prefixes.docB before every DocB-only line
    MergePrefixes prefixes;     // code page 932 bytes
};

}  // namespace kl
