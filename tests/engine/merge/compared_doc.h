#pragma once
// A document holding two texts and the result of a real comparison of them.
#include <memory>
#include <string_view>

#include "engine/compare/compare_run.h"
#include "engine/document/text_loader.h"

namespace kltest {

inline kl::TextDocument ComparedDoc(std::string_view a, std::string_view b,
                                    const kl::CompareRunSettings& settings = {})
{
    kl::TextDocument doc;
    doc.lineTables[kl::DOC_A] = std::make_unique<kl::LineTable>(kl::SplitLines(a, false));
    doc.lineTables[kl::DOC_B] = std::make_unique<kl::LineTable>(kl::SplitLines(b, false));
    kl::g_abortRequested = 0;
    kl::g_compareRunning = 1;
    kl::RunCompare(doc, settings, kl::CompareRunCallbacks{});
    return doc;
}

// A block record with the fields the merge reads; blockNo stays 0.
inline kl::DiffBlock BlockRecord(int kind, int first, int last, int count, int row)
{
    kl::DiffBlock block;
    block.kind = kind;
    block.firstLineIndex = first;
    block.lastLineIndex = last;
    block.lineCount = count;
    block.firstRow = row;
    return block;
}

}  // namespace kltest
