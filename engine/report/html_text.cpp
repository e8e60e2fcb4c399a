#include "engine/report/html_text.h"

namespace kl {

namespace {

constexpr char32_t kControlPictures = 0x2400;
constexpr char32_t kDeletePicture = 0x2421;

void AppendCodePoint(std::string& out, char32_t cp)
{
    char utf8[4];
    out.append(utf8, EncodeUtf8Any(cp, utf8));
}

// Characters that draw nothing or change how their neighbours are drawn.
bool IsHiddenFormat(char32_t cp)
{
    return (cp >= 0x80 && cp <= 0x9F) || (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069) ||
           cp == 0x200E || cp == 0x200F || cp == 0x061C;
}

void AppendCodeName(std::string& out, char32_t cp)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "&lt;U+";
    for (int shift = cp > 0xFFFF ? 20 : 12; shift >= 0; shift -= 4)
        out += kHex[(cp >> shift) & 0xF];
    out += "&gt;";
}

}  // namespace

void AppendHtmlText(std::string& out, TextEncoding encoding, std::string_view bytes, int tabSize, int& cells)
{
    for (std::size_t pos = 0; pos < bytes.size();) {
        // Plain ASCII, most of most texts, is copied as it is.
        const std::size_t start = pos;
        while (pos < bytes.size()) {
            const auto byte = static_cast<unsigned char>(bytes[pos]);
            if (byte < 0x20 || byte >= 0x7F || byte == '&' || byte == '<' || byte == '>' || byte == '"' || byte == '\'')
                break;
            ++pos;
        }
        if (pos > start) {
            out.append(bytes.data() + start, pos - start);
            cells += static_cast<int>(pos - start);
            continue;
        }
        const char32_t cp = DecodeCharIn(encoding, bytes, pos);
        if (cp == '\t' && tabSize > 0) {
            const int spaces = tabSize - cells % tabSize;
            out.append(static_cast<std::size_t>(spaces), ' ');
            cells += spaces;
            continue;
        }
        cells += CharCellsIn(encoding, bytes, start, pos);
        switch (cp) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default:
            if (cp < 0x20)
                AppendCodePoint(out, kControlPictures + cp);
            else if (cp == 0x7F)
                AppendCodePoint(out, kDeletePicture);
            else if (IsHiddenFormat(cp))
                AppendCodeName(out, cp);
            else if (cp < 0x80)
                out += static_cast<char>(cp);
            else
                AppendCodePoint(out, cp);
        }
    }
}

void AppendHtmlUtf8(std::string& out, std::string_view utf8)
{
    int cells = 0;
    AppendHtmlText(out, TextEncoding::Utf8, utf8, 0, cells);
}

}  // namespace kl
