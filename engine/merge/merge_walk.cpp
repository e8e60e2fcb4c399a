#include "engine/merge/merge_walk.h"

#include <cstddef>
#include <vector>

#include "engine/merge/block_text.h"
#include "engine/platform/cp932.h"

namespace kl {

namespace {

// One added block: where the walk stood when the block was chosen and how long the
// merged text was before it.
struct HistoryEntry {
    int i;
    int j;
    std::size_t length;
};

std::size_t LoadedBytes(const CompareResult& result)
{
    std::size_t bytes = 0;
    for (const auto& text : result.texts) {
        if (text)
            bytes += text->size;
    }
    return bytes;
}

}  // namespace

MergeOutcome RunMerge(const CompareResult& result, const MergeRules& givenRules, const AskBlockFunction& ask)
{
    MergeOutcome outcome;
    // The prefixes are settings, in code page 932; a merge of UTF-8 texts writes them in UTF-8.
    MergeRules rules = givenRules;
    if (result.TextOf(DOC_A) && result.TextOf(DOC_A)->encoding == TextEncoding::Utf8) {
        rules.prefixes.docA = Cp932ToUtf8(rules.prefixes.docA);
        rules.prefixes.docB = Cp932ToUtf8(rules.prefixes.docB);
    }
    const std::vector<DiffBlock>& blocksA = result.Blocks(DOC_A);
    const std::vector<DiffBlock>& blocksB = result.Blocks(DOC_B);
    if (!result.IsComparison())
        return outcome;

    std::string& text = outcome.text;
    text.reserve(LoadedBytes(result));  // the merged text without prefixes never needs more
    std::vector<HistoryEntry> history;
    std::string blockText;

    const int nA = static_cast<int>(blocksA.size());
    const int nB = static_cast<int>(blocksB.size());
    int i = 0;
    int j = 0;
    // Copies of the current records. A side whose list is used up keeps its last copy
    // with lineCount 0.
    DiffBlock a;
    DiffBlock b;
    while (i < nA || j < nB) {
        const int stepI = i;
        const int stepJ = j;
        if (i < nA) {
            a = blocksA[static_cast<std::size_t>(i)];
            if (a.kind == BLOCK_NONE) {
                ++i;
                continue;
            }
        } else {
            a.lineCount = 0;
        }
        if (j < nB) {
            b = blocksB[static_cast<std::size_t>(j)];
            if (b.kind == BLOCK_NONE) {
                ++j;
                continue;
            }
        } else {
            b.lineCount = 0;
        }
        // A negative count would stop the walk from advancing; it means no lines.
        if (a.lineCount < 0)
            a.lineCount = 0;
        if (b.lineCount < 0)
            b.lineCount = 0;

        // Choose the block that comes first in row order.
        bool fromA;
        if (a.lineCount == 0) {
            ++i;
            fromA = false;
        } else if (b.lineCount == 0) {
            ++j;
            fromA = true;
        } else if (a.firstRow > b.firstRow && j < nB) {
            fromA = false;
        } else if (a.firstRow == b.firstRow) {
            if (a.kind == b.kind)
                fromA = a.lineCount <= b.lineCount;
            else
                fromA = a.kind != BLOCK_COMMON || b.kind == BLOCK_COMMON;
        } else {
            fromA = true;
        }
        const DiffBlock& s = fromA ? a : b;
        const int side = fromA ? DOC_A : DOC_B;

        if (s.kind == BLOCK_COMMON) {
            if (rules.includeCommon)
                BlockText(result, side, s, rules, text);
            if (a.kind == BLOCK_COMMON)
                ++i;
            if (b.kind == BLOCK_COMMON)
                ++j;
            continue;
        }
        if (s.lineCount == 0) {
            // Only a position record of DocB is left when DocA is used up; step over it,
            // or the walk would stand on it for ever.
            if (!fromA && stepI >= nA)
                ++j;
            continue;
        }

        const bool included = (s.kind == BLOCK_ONLY_A && rules.includeOnlyA) ||
                              (s.kind == BLOCK_ONLY_B && rules.includeOnlyB);
        if (included && !ask) {
            BlockText(result, side, s, rules, text);
        } else if (included) {
            blockText.clear();
            BlockText(result, side, s, rules, blockText);
            BlockQuestion question;
            question.side = side;
            question.listIndex = fromA ? stepI : stepJ;
            question.block = s;
            question.backAllowed = !history.empty();
            switch (ask(question, blockText)) {
            case ANSWER_ADD:
                history.push_back({stepI, stepJ, text.size()});
                text += blockText;
                break;
            case ANSWER_SKIP:
                break;
            case ANSWER_BACK:
                // The walk resumes where the block added last was chosen, so that block
                // and every block after it are asked again. Without an added block the
                // same block is asked again.
                if (history.empty()) {
                    i = stepI;
                    j = stepJ;
                } else {
                    text.resize(history.back().length);
                    i = history.back().i;
                    j = history.back().j;
                    history.pop_back();
                }
                continue;
            case ANSWER_STOP:
                outcome.end = MergeEnd::Stopped;
                return outcome;
            default:
                return MergeOutcome{std::string(), MergeEnd::Abandoned};
            }
        }
        if (fromA)
            ++i;
        else
            ++j;
    }
    return outcome;
}

std::string BlockQuestionTitle(const BlockQuestion& question)
{
    return std::string(question.side == DOC_A ? "DocA" : "DocB") + "側に存在する相違ブロックNo." +
           std::to_string(question.listIndex - 1) + " - 先頭行" +
           std::to_string(question.block.firstLineIndex + 1) + "行目";
}

}  // namespace kl
