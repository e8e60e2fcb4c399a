#include "engine/compare/compare_result.h"

namespace kl {

std::string ReplaceFirstNumberField(std::string_view text, int number)
{
    // '%' never occurs as the trail byte of a double-byte character, so a plain byte
    // search cannot land inside one.
    const std::size_t at = text.find("%d");
    if (at == std::string_view::npos)
        return std::string(text);
    std::string result(text.substr(0, at));
    result += std::to_string(number);
    result += text.substr(at + 2);
    return result;
}

std::string_view RowText(const CompareResult& result, int side, const DisplayRow& row, std::string& scratch)
{
    switch (row.message) {
    case RowMessage::None:
    case RowMessage::LeftOut: {
        const Text* text = result.TextOf(side);
        if (!text || row.lineIndex < 0 || row.lineIndex >= text->count())
            return {};
        return text->text(row.lineIndex);
    }
    case RowMessage::Left:
        return result.messages.left;
    case RowMessage::Right:
        return result.messages.right;
    case RowMessage::RightNumbered:
        scratch = ReplaceFirstNumberField(result.messages.right, row.partnerLine + 1);
        return scratch;
    case RowMessage::PartnerAbove:
        scratch = ReplaceFirstNumberField(kPartnerAboveMessage, row.partnerLine + 1);
        return scratch;
    case RowMessage::PartnerBelow:
        scratch = ReplaceFirstNumberField(kPartnerBelowMessage, row.partnerLine + 1);
        return scratch;
    }
    return {};
}

}  // namespace kl
