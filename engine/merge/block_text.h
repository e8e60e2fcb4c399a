#pragma once
// The text of one block of the comparison result, as the merge writes it.
#include <string>

#include "engine/compare/compare_result.h"
#include "engine/merge/merge_rules.h"

namespace kl {

// Appends the lines of block, a record of the block list of text side (DOC_A or DOC_B),
// to out: each line with its own line end, after the side's prefix when the block is
// one-sided and the rules put a prefix there. The walk starts at firstLineIndex (at
// lastLineIndex when the block has no first line) and stops after lastLineIndex, at the
// end of the text or once lineCount lines are written; the count is tested before each
// line, so a record with lineCount 0 writes nothing. Returns the number of lines written.
int BlockText(const CompareResult& result, int side, const DiffBlock& block, const MergeRules& rules,
              std::string& out);

}  // namespace kl
