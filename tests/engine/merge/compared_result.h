#pragma once
// The result of a real comparison of two texts.
#include <memory>
#include <string_view>

#include "engine/compare/compare.h"
#include "engine/document/text_loader.h"

namespace kltest {

inline kl::CompareResult ComparedResult(std::string_view a, std::string_view b,
                                        const kl::CompareRequest& request = {})
{
    const kl::TextPair texts{std::make_shared<const kl::Text>(kl::SplitLines(a, false)),
                             std::make_shared<const kl::Text>(kl::SplitLines(b, false))};
    return kl::Compare(texts, request);
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
