#include "engine/edit/typing.h"

#include <array>

#include "engine/document/text_loader.h"
#include "engine/edit/text_origin.h"
#include "engine/platform/cp932.h"
#include "engine/platform/text_encoding.h"

namespace kl {

std::string_view DominantNewline(const Text& text)
{
    std::array<int, 3> counts{};  // CR LF, LF, CR
    for (int i = 0; i < text.count(); ++i) {
        const std::string_view line = text.text(i);
        if (line.ends_with("\r\n"))
            ++counts[0];
        else if (line.ends_with('\n'))
            ++counts[1];
        else if (line.ends_with('\r'))
            ++counts[2];
    }
    if (counts[0] >= counts[1] && counts[0] >= counts[2])
        return "\r\n";
    return counts[1] >= counts[2] ? "\n" : "\r";
}

std::optional<std::string> EncodeFor(TextEncoding encoding, std::string_view utf8)
{
    if (encoding == TextEncoding::Utf8)
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const char32_t c = DecodeCharIn(TextEncoding::Utf8, utf8, pos);
        const std::string encoded = Utf8ToCp932(utf8.substr(start, pos - start));
        if (encoded == "?" && c != U'?')
            return std::nullopt;
        out += encoded;
    }
    return out;
}

std::string WithNewlines(std::string_view utf8, std::string_view newline)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r' || c == '\n') {
            out += newline;
            if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::shared_ptr<const Text> AsUtf8Text(const Text& text)
{
    auto result = std::make_shared<Text>(ConvertedToUtf8(text));
    // Everything about the file stays; only the stored bytes are now UTF-8. The file's
    // origin is the one ConvertedToUtf8 gave: it also keeps the lines (such as stray bytes)
    // that the UTF-8 form cannot give back.
    const FileOrigin origin = result->origin;
    CopyTextOrigin(text, *result);
    result->origin = origin;
    result->encoding = TextEncoding::Utf8;
    result->converted = true;
    result->conversion = text.conversion == Text::Conversion::FromEucJp ? Text::Conversion::FromEucJp
                                                                          : Text::Conversion::FromCp932;
    return result;
}

std::int64_t Utf8Offset(const Text& text, std::int64_t pos)
{
    if (text.encoding == TextEncoding::Utf8)
        return pos;
    std::int64_t out = 0;
    const int line = LineOfOffset(text, pos);
    for (int i = 0; i < line; ++i)
        out += static_cast<std::int64_t>(Cp932ToUtf8(text.text(i)).size());
    const std::int64_t start = LineStart(text, line);
    return out + static_cast<std::int64_t>(Cp932ToUtf8(text.bytes().substr(static_cast<std::size_t>(start),
                                                                          static_cast<std::size_t>(pos - start))).size());
}

PreparedEdit TypingEdit(const Text& text, int side, std::int64_t begin, std::int64_t end, std::string_view utf8)
{
    if (std::optional<std::string> bytes = EncodeFor(text.encoding, utf8))
        return {nullptr, {side, begin, end, std::move(*bytes)}};
    return {AsUtf8Text(text), {side, Utf8Offset(text, begin), Utf8Offset(text, end), std::string(utf8)}};
}

TextEdit BackspaceEdit(const Text& text, int side, std::int64_t pos)
{
    if (pos <= 0)
        return {side, 0, 0, {}};
    const std::string_view bytes = text.bytes();
    const int line = LineOfOffset(text, pos);
    const std::int64_t start = LineStart(text, line);
    if (start == pos) {
        const std::int64_t back = pos >= 2 && bytes.substr(static_cast<std::size_t>(pos) - 2, 2) == "\r\n" ? 2 : 1;
        return {side, pos - back, pos, {}};
    }
    std::size_t at = static_cast<std::size_t>(start);
    std::size_t previous = at;
    while (at < static_cast<std::size_t>(pos)) {
        previous = at;
        at = NextCharIn(text.encoding, bytes, at);
    }
    return {side, static_cast<std::int64_t>(previous), pos, {}};
}

TextEdit DeleteEdit(const Text& text, int side, std::int64_t pos)
{
    const std::string_view bytes = text.bytes();
    if (pos >= static_cast<std::int64_t>(bytes.size()))
        return {side, pos, pos, {}};
    const auto at = static_cast<std::size_t>(pos);
    if (bytes[at] == '\r' || bytes[at] == '\n')
        return {side, pos, pos + (bytes.substr(at, 2) == "\r\n" ? 2 : 1), {}};
    std::size_t next = NextCharIn(text.encoding, bytes, at);
    // A lead byte never takes the line end with it.
    for (std::size_t k = at + 1; k < next; ++k) {
        if (bytes[k] == '\r' || bytes[k] == '\n') {
            next = k;
            break;
        }
    }
    return {side, pos, static_cast<std::int64_t>(next), {}};
}

}  // namespace kl
