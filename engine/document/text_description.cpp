#include "engine/document/text_description.h"

#include <algorithm>

namespace kl {
namespace {

constexpr std::size_t kBinaryProbeBytes = 8192;

std::string EncodingPart(const Text& text)
{
    switch (text.conversion) {
    case Text::Conversion::FromEucJp: return "EUC-JP\xE2\x86\x92Shift_JIS";
    case Text::Conversion::FromUtf16: return "UTF-16\xE2\x86\x92UTF-8";
    case Text::Conversion::FromCp932: return "Shift_JIS\xE2\x86\x92UTF-8";
    case Text::Conversion::None: break;
    }
    return std::string(EncodingName(text.encoding));
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
