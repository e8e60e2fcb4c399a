#include "engine/document/text_description.h"

#include <algorithm>

namespace kl {
namespace {

constexpr std::size_t kBinaryProbeBytes = 8192;

std::string EncodingPart(const Text& text)
{
    if (!text.converted)
        return std::string(EncodingName(text.encoding));
    // A converted UTF-8 text was read from UTF-16; a converted code page 932 one from EUC-JP.
    return text.encoding == TextEncoding::Utf8 ? "UTF-16\xE2\x86\x92UTF-8" : "EUC-JP\xE2\x86\x92Shift_JIS";
}

std::string LineEndPart(const Text& text)
{
    bool crlf = false;
    bool lf = false;
    bool cr = false;
    for (int i = 0; i < text.count(); ++i) {
        const std::string_view line = text.text(i);
        if (line.ends_with("\r\n"))
            crlf = true;
        else if (line.ends_with('\n'))
            lf = true;
        else if (line.ends_with('\r'))
            cr = true;
    }
    std::string part;
    for (const auto& [present, name] : {std::pair{crlf, "CRLF"}, std::pair{lf, "LF"}, std::pair{cr, "CR"}}) {
        if (!present)
            continue;
        if (!part.empty())
            part += '+';
        part += name;
    }
    return part;
}

}  // namespace

std::string TextDescription(const Text& text)
{
    std::string description = EncodingPart(text);
    const std::string lineEnds = LineEndPart(text);
    if (!lineEnds.empty())
        description += ' ' + lineEnds;
    return description;
}

bool LooksBinary(const Text& text)
{
    const std::string_view head = text.bytes().substr(0, std::min(text.size, kBinaryProbeBytes));
    return head.find('\0') != std::string_view::npos;
}

}  // namespace kl
