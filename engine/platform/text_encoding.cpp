#include "engine/platform/text_encoding.h"

#include <cstring>

#include "engine/platform/cp932.h"
#include "engine/platform/utf8.h"

namespace kl {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp)
{
    char bytes[4];
    out.append(bytes, EncodeUtf8Any(cp, bytes));
}

void AppendUtf16(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

bool StartsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::size_t EncodeUtf8Any(char32_t cp, char* out)
{
    if (cp < 0x10000)
        return EncodeUtf8(cp, out);
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

char32_t DecodeCharIn(TextEncoding encoding, std::string_view bytes, std::size_t& pos)
{
    if (encoding == TextEncoding::Cp932)
        return DecodeCp932Char(bytes, pos);
    const Utf8Step step = DecodeUtf8Step(bytes, pos);
    pos += step.length;
    return step.valid ? step.codePoint : kReplacement;
}

std::string_view EncodingName(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? "UTF-8" : "Shift_JIS";
}

std::size_t NextCharIn(TextEncoding encoding, std::string_view text, std::size_t pos)
{
    if (encoding == TextEncoding::Cp932)
        return NextChar(text, pos);
    if (pos >= text.size())
        return text.size();
    return pos + DecodeUtf8Step(text, pos).length;
}

int CharCellsIn(TextEncoding encoding, std::string_view text, std::size_t pos, std::size_t next)
{
    const std::size_t length = next - pos;
    if (encoding == TextEncoding::Cp932 || length <= 1)
        return static_cast<int>(length);
    // Half-width katakana U+FF61-U+FF9F: EF BD A1-BF and EF BE 80-9F.
    if (length == 3 && static_cast<unsigned char>(text[pos]) == 0xEF) {
        const auto second = static_cast<unsigned char>(text[pos + 1]);
        const auto third = static_cast<unsigned char>(text[pos + 2]);
        if ((second == 0xBD && third >= 0xA1) || (second == 0xBE && third <= 0x9F))
            return 1;
    }
    return 2;
}

bool IsWideSpaceIn(TextEncoding encoding, std::string_view text, std::size_t pos)
{
    if (encoding == TextEncoding::Cp932)
        return IsWideSpaceAt(text, pos);
    return text.substr(pos, 3) == "\xE3\x80\x80";
}

std::u16string DecodeToUtf16(TextEncoding encoding, std::string_view bytes)
{
    if (encoding == TextEncoding::Cp932)
        return Cp932ToUtf16(bytes);
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const Utf8Step step = DecodeUtf8Step(bytes, pos);
        AppendUtf16(out, step.valid ? step.codePoint : kReplacement);
        pos += step.length;
    }
    return out;
}

std::string DecodeToUtf8(TextEncoding encoding, std::string_view bytes)
{
    if (encoding == TextEncoding::Cp932)
        return Cp932ToUtf8(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const Utf8Step step = DecodeUtf8Step(bytes, pos);
        if (step.valid)
            out.append(bytes.substr(pos, step.length));
        else
            AppendUtf8(out, kReplacement);
        pos += step.length;
    }
    return out;
}

namespace {

template <typename IsUtf8>
DetectedEncoding DetectEncodingWith(std::string_view bytes, IsUtf8&& isUtf8)
{
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return DetectedEncoding::Utf8Bom;
    if (StartsWith(bytes, "\xFF\xFE"))
        return DetectedEncoding::Utf16Le;
    if (StartsWith(bytes, "\xFE\xFF"))
        return DetectedEncoding::Utf16Be;
    // Pure ASCII keeps the code page 932 path; the first byte above 0x7F decides. The ASCII
    // prefix is skipped eight bytes at a time.
    std::size_t pos = 0;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    while (pos + sizeof(std::uint64_t) <= bytes.size()) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + pos, sizeof word);
        if ((word & kHighBits) != 0)
            break;
        pos += sizeof word;
    }
    while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80)
        ++pos;
    if (pos == bytes.size())
        return DetectedEncoding::Cp932;
    return isUtf8(bytes.substr(pos)) ? DetectedEncoding::Utf8 : DetectedEncoding::Cp932;
}

}  // namespace

DetectedEncoding DetectEncoding(std::string_view bytes)
{
    return DetectEncodingWith(bytes, [](std::string_view rest) { return IsValidUtf8(rest); });
}

DetectedEncoding DetectEncoding(std::string_view bytes, bool validUtf8)
{
    // The ASCII before the first other byte is well-formed: the rest is as the whole.
    return DetectEncodingWith(bytes, [validUtf8](std::string_view) { return validUtf8; });
}

std::size_t ByteOrderMarkLength(DetectedEncoding detected)
{
    switch (detected) {
    case DetectedEncoding::Utf8Bom: return 3;
    case DetectedEncoding::Utf16Le:
    case DetectedEncoding::Utf16Be: return 2;
    default: return 0;
    }
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
    }
    if (i < bytes.size())
        AppendUtf8(out, kReplacement);
    return out;
}

bool AppendUtf16Char(char32_t cp, bool bigEndian, std::string& out)
{
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        return false;
    const auto unit = [&](char32_t u) {
        const char high = static_cast<char>(u >> 8);
        const char low = static_cast<char>(u & 0xFF);
        out.push_back(bigEndian ? high : low);
        out.push_back(bigEndian ? low : high);
    };
    if (cp < 0x10000) {
        unit(cp);
    } else {
        unit(0xD800 + ((cp - 0x10000) >> 10));
        unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
    return true;
}

}  // namespace kl
