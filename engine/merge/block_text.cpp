#include "engine/merge/block_text.h"

namespace kl {

int BlockText(const CompareResult& result, int side, const DiffBlock& block, const MergeRules& rules,
              std::string& out)
{
    if ((side != DOC_A && side != DOC_B) || !result.TextOf(side))
        return 0;
    const Text& table = *result.TextOf(side);

    const std::string* prefix = nullptr;
    if (block.kind == BLOCK_ONLY_A && rules.prefixOnlyA)
        prefix = &rules.prefixes.docA;
    else if (block.kind == BLOCK_ONLY_B && rules.prefixOnlyB)
        prefix = &rules.prefixes.docB;

    int line = block.firstLineIndex >= 0 ? block.firstLineIndex : block.lastLineIndex;
    if (line < 0)
        return 0;
    int written = 0;
    while (written < block.lineCount && line < table.count()) {
        if (prefix != nullptr)
            out += *prefix;
        out += table.text(line);
        ++written;
        if (line == block.lastLineIndex)
            break;
        ++line;
    }
    return written;
}

}  // namespace kl
