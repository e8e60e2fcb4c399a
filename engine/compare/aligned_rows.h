#pragma once
// Turns the minimal mode's alignment into a comparison result: the match fields every reader
// of a result expects (block sizes, partner slots and lists), then the rows and blocks,
// written by the same emitter as the matching modes use.
#include <stop_token>

#include "engine/compare/compare_result.h"
#include "engine/compare/minimal_alignment.h"
#include "engine/compare/progress.h"

namespace kl {

// A common line's block is its run of aligned pairs; a moved line's block is its run of
// lines moved together. Each such line gets its one partner.
void FillMatchFields(const MinimalMatch& match, CompareResult& result);

// Rows in text order: common pairs side by side; in each changed stretch the DocA lines
// first (moved ones with their partner's position), then the DocB lines. Progress runs
// from progressStart to 100. Returns false on a stop request.
bool EmitAlignedRows(const MinimalMatch& match, int progressStart, const ProgressCallback& progress,
                     const std::stop_token& stop, CompareResult& result);

}  // namespace kl
