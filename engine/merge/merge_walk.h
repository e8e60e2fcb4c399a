#pragma once
// The merge run: walks the two block lists of a comparison result in row order and builds
// one merged text from the common lines and the one-sided lines, optionally putting each
// one-sided block to the user first.
#include <functional>
#include <string>

#include "engine/compare/compare_result.h"
#include "engine/merge/merge_rules.h"

namespace kl {

// Answers to the per-block question; the values are the result codes of the query window.
enum BlockAnswer : int {
    ANSWER_NO_WINDOW = 0,  // the question could not be put
    ANSWER_STOP = 2,       // end the walk, keeping the text built so far
    ANSWER_ADD = 6,        // append the block text (as possibly edited)
    ANSWER_SKIP = 7,       // append nothing
    ANSWER_BACK = 8,       // undo the block added last and ask it again
};

struct BlockQuestion {
    int side = DOC_A;       // text the block belongs to
    int listIndex = 0;      // position of the block in its side's block list
    DiffBlock block;
    bool backAllowed = false;  // a block has been added in this run
};

// Puts one block to the user and returns a BlockAnswer. blockText holds the block's text
// as the rules build it; the callee may change it, and the changed text is what an add
// appends. On every other answer the text is dropped.
using AskBlockFunction = std::function<int(const BlockQuestion& question, std::string& blockText)>;

enum class MergeEnd {
    Completed,  // every block was walked
    Stopped,    // the user stopped the walk; the text built so far stands
    Abandoned,  // a question could not be put (or got an unknown answer): no text, and
                // no saving or comparing afterwards
};

struct MergeOutcome {
    std::string text;  // the merged bytes, in the texts' encoding
    MergeEnd end = MergeEnd::Completed;
};

// Builds the merged text of a comparison result. With ask empty every block
// the rules include is appended without asking. Without a finished comparison the text
// is empty; a comparison with an empty text gives the other text's lines. The merged text is
// in the texts' encoding, the prefixes included. Each block's lines are copied once, so the run is linear in
// the size of the result; a back costs only the blocks that are walked again.
MergeOutcome RunMerge(const CompareResult& result, const MergeRules& rules, const AskBlockFunction& ask = {});

// Caption of the query window, UTF-8: "DocA側に存在する相違ブロックNo.3 - 先頭行12行目".
// The block number is the list position less one (the list opens with a position record);
// the line is the block's first line, 1-based.
std::string BlockQuestionTitle(const BlockQuestion& question);

}  // namespace kl
