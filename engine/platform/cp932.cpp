#include "engine/platform/cp932.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/platform/cp932_table.h"
#include "engine/platform/utf8.h"

namespace kl {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char kUnmappable = '?';

// Half-width katakana: single bytes 0xA1-0xDF are U+FF61-U+FF9F.
constexpr unsigned char kKanaFirstByte = 0xA1;
constexpr unsigned char kKanaLastByte = 0xDF;
constexpr char32_t kKanaFirstCodePoint = 0xFF61;
constexpr char32_t kKanaLastCodePoint = 0xFF9F;

int LeadIndex(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31; }

// The character of the lead/trail pair, or 0 when the pair has none.
char32_t DecodePair(unsigned char lead, unsigned char trail) {
    if (trail < cp932_table::kTrailFirst || trail > cp932_table::kTrailLast) return 0;
    return cp932_table::kDoubleByte[LeadIndex(lead)][trail - cp932_table::kTrailFirst];
}

// Calls emit(codePoint) for every character of bytes, U+FFFD for each undecodable byte.
template <typename Emit>
void DecodeCp932(std::string_view bytes, Emit emit) {
    for (std::size_t i = 0; i < bytes.size();) emit(DecodeCp932Char(bytes, i));
}

// The code page 932 code of a code point: a single byte (< 0x100), a double-byte code
// (lead << 8 | trail), or 0 when there is none.
unsigned EncodeCodePoint(char32_t cp) {
    if (cp < 0x80) return static_cast<unsigned>(cp);
    if (cp >= kKanaFirstCodePoint && cp <= kKanaLastCodePoint)
        return kKanaFirstByte + static_cast<unsigned>(cp - kKanaFirstCodePoint);
    if (cp > 0xFFFF) return 0;
    const auto* first = cp932_table::kEncode;
    const auto* last = first + cp932_table::kEncodeCount;
    const auto* it = std::lower_bound(first, last, cp, [](const cp932_table::EncodeEntry& e,
                                                          char32_t value) {
        return e.codePoint < value;
    });
    return it != last && it->codePoint == cp ? it->code : 0;
}

void AppendCp932(std::string& out, char32_t cp) {
    const unsigned code = EncodeCodePoint(cp);
    if (code == 0 && cp != 0) {
        out.push_back(kUnmappable);
    } else if (code < 0x100) {
        out.push_back(static_cast<char>(code));
    } else {
        out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 0xFF));
    }
}

void AppendUtf8(std::string& out, char32_t cp) {
    char bytes[3];
    out.append(bytes, EncodeUtf8(cp, bytes));
}

}  // namespace

char32_t DecodeCp932Char(std::string_view bytes, std::size_t& pos) {
    const auto c = static_cast<unsigned char>(bytes[pos]);
    if (c < 0x80) {
        ++pos;
        return c;
    }
    if (c >= kKanaFirstByte && c <= kKanaLastByte) {
        ++pos;
        return kKanaFirstCodePoint + (c - kKanaFirstByte);
    }
    if (IsLeadByte(c) && pos + 1 < bytes.size()) {
        // Without a character only the lead byte is consumed; the trail byte is decoded
        // on its own.
        const char32_t cp = DecodePair(c, static_cast<unsigned char>(bytes[pos + 1]));
        pos += cp != 0 ? 2 : 1;
        return cp != 0 ? cp : kReplacement;
    }
    ++pos;
    return kReplacement;
}

std::size_t EncodeUtf8(char32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    out[0] = static_cast<char>(0xE0 | (cp >> 12));
    out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return 3;
}

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::size_t NextChar(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return text.size();
    if (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) return pos + 2;
    return pos + 1;
}

const char* NextChar(const char* p, const char* end) {
    if (p >= end) return end;
    if (IsLeadByte(static_cast<unsigned char>(*p)) && end - p >= 2) return p + 2;
    return p + 1;
}

bool IsWideSpaceAt(std::string_view text, std::size_t pos) {
    return pos < text.size() && text.size() - pos >= 2 &&
           static_cast<unsigned char>(text[pos]) == 0x81 &&
           static_cast<unsigned char>(text[pos + 1]) == 0x40;
}

std::u16string Cp932ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    DecodeCp932(bytes, [&out](char32_t cp) { out.push_back(static_cast<char16_t>(cp)); });
    return out;
}

std::string Cp932ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    DecodeCp932(bytes, [&out](char32_t cp) { AppendUtf8(out, cp); });
    return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const Utf8Step step = DecodeUtf8Step(utf8, i);
        if (step.valid) {
            AppendCp932(out, step.codePoint);
        } else {
            out.push_back(kUnmappable);
        }
        i += step.length;
    }
    return out;
}

std::string Utf16ToCp932(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 2);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDFFF) {
            // A surrogate pair is a character outside the BMP, which code page 932 lacks;
            // a pair or a lone surrogate becomes one '?'.
            const bool pair = u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
                              utf16[i + 1] <= 0xDFFF;
            if (pair) ++i;
            out.push_back(kUnmappable);
        } else {
            AppendCp932(out, u);
        }
    }
    return out;
}

std::optional<unsigned> Cp932CodeOf(char32_t cp) {
    const unsigned code = EncodeCodePoint(cp);
    if (code == 0 && cp != 0) return std::nullopt;
    return code;
}

std::size_t Cp932PrefixLength(std::string_view text, std::size_t maxBytes) {
    if (maxBytes >= text.size()) return text.size();
    std::size_t pos = 0;
    while (pos < maxBytes) {
        const std::size_t next = NextChar(text, pos);
        if (next > maxBytes) break;
        pos = next;
    }
    return pos;
}

}  // namespace kl
