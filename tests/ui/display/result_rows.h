#pragma once
// Results made up by tests: rows and blocks given directly, over the texts a document has.
#include <memory>
#include <vector>

#include "engine/compare/compare_result.h"
#include "engine/document/text_document.h"

namespace kltest {

// A result over doc's texts with the given rows; filler rows of the left column show
// leftMessage, those of the right column rightMessage.
inline kl::CompareResult& SetResultRows(kl::TextDocument& doc, std::vector<kl::DisplayRow> rowsA,
                                        std::vector<kl::DisplayRow> rowsB, const std::string& leftMessage = "",
                                        const std::string& rightMessage = "")
{
    auto result = std::make_shared<kl::CompareResult>();
    result->texts = doc.texts;
    result->messages.left = leftMessage;
    result->messages.right = rightMessage;
    for (kl::DisplayRow& row : rowsA)
        row.message = row.kind == kl::ROW_FILLER ? kl::RowMessage::Left : kl::RowMessage::None;
    for (kl::DisplayRow& row : rowsB)
        row.message = row.kind == kl::ROW_FILLER ? kl::RowMessage::Right : kl::RowMessage::None;
    result->sides[kl::DOC_A].rows = std::move(rowsA);
    result->sides[kl::DOC_B].rows = std::move(rowsB);
    kl::CompareResult& rows = *result;
    doc.result = std::move(result);
    return rows;
}

// A row of a made-up result.
inline kl::DisplayRow Row(int lineIndex, kl::RowKind kind)
{
    return kl::DisplayRow{lineIndex, kl::kNoLine, kind, kl::RowMessage::None};
}

}  // namespace kltest
