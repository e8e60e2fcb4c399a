#include "engine/document/file_bytes.h"

#include <algorithm>
#include <unordered_map>

#include "engine/platform/cp932.h"
#include "engine/platform/euc_jp.h"
#include "engine/platform/utf8.h"

namespace kl {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr char32_t kNoCharacter = 0xFFFD;

bool StoredAsIs(TextEncoding from, FileEncoding to)
{
    return from == TextEncoding::Cp932 ? to == FileEncoding::ShiftJis
                                       : to == FileEncoding::Utf8 || to == FileEncoding::Utf8Bom;
}

std::string_view ByteOrderMark(FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::Utf8Bom: return kUtf8Bom;
    case FileEncoding::Utf16Le: return "\xFF\xFE";
    case FileEncoding::Utf16Be: return "\xFE\xFF";
    default: return {};
    }
}

// One character as a code point in the file encoding.
bool AppendCharacter(char32_t cp, FileEncoding to, std::string& out)
{
    switch (to) {
    case FileEncoding::ShiftJis:
    case FileEncoding::EucJp: {
        const std::optional<unsigned> code = Cp932CodeOf(cp);
        if (!code)
            return false;
        if (to == FileEncoding::EucJp)
            return AppendEucJpCode(*code, out);
        if (*code >= 0x100)
            out.push_back(static_cast<char>(*code >> 8));
        out.push_back(static_cast<char>(*code & 0xFF));
        return true;
    }
    case FileEncoding::Utf8:
    case FileEncoding::Utf8Bom: {
        char bytes[4];
        out.append(bytes, EncodeUtf8Any(cp, bytes));
        return true;
    }
    case FileEncoding::Utf16Le:
    case FileEncoding::Utf16Be: return AppendUtf16Char(cp, to == FileEncoding::Utf16Be, out);
    }
    return false;
}

}  // namespace

std::optional<std::size_t> AppendEncodedLine(TextEncoding from, std::string_view line, FileEncoding to,
                                             std::string& out)
{
    if (StoredAsIs(from, to)) {
        out.append(line);
        return std::nullopt;
    }
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t at = pos;
        if (from == TextEncoding::Cp932 && to == FileEncoding::EucJp) {
            // Code to code, so that every double-byte code the loader made finds its way back.
            pos = NextChar(line, pos);
            const auto lead = static_cast<unsigned char>(line[at]);
            const unsigned code = pos - at == 2 ? (lead << 8) | static_cast<unsigned char>(line[at + 1]) : lead;
            if (!AppendEucJpCode(code, out))
                return at;
            continue;
        }
        char32_t cp;
        if (static_cast<unsigned char>(line[pos]) < 0x80) {  // ASCII reads the same in both
            cp = static_cast<unsigned char>(line[pos++]);
        } else if (from == TextEncoding::Utf8) {
            const Utf8Step step = DecodeUtf8Step(line, pos);
            pos += step.length;
            if (!step.valid)
                return at;
            cp = step.codePoint;
        } else {
            cp = DecodeCp932Char(line, pos);
            if (cp == kNoCharacter)  // code page 932 has no U+FFFD: the bytes are no character
                return at;
        }
        if (!AppendCharacter(cp, to, out))
            return at;
    }
    return std::nullopt;
}

FileBytes EncodeForFile(const Text& text, FileEncoding encoding)
{
    FileBytes file;
    const KeptFileLines* kept = encoding == text.origin.encoding ? text.origin.kept.get() : nullptr;
    const std::string_view mark = ByteOrderMark(encoding);
    const bool markStored = encoding == FileEncoding::Utf8Bom && text.bytes().starts_with(kUtf8Bom);
    if (!kept && StoredAsIs(text.encoding, encoding) && (mark.empty() || markStored)) {
        file.asStored = true;
        return file;
    }
    std::string& out = file.encoded;
    out.reserve(text.size + text.size / 8 + mark.size());
    if (!markStored)
        out.append(mark);
    // Several kept lines with the same text are handed out in file order.
    std::unordered_map<const std::vector<std::string>*, std::size_t> nextKept;
    for (int i = 0; i < text.count(); ++i) {
        const std::string_view line = text.text(i);
        if (kept) {
            const auto it = kept->lines.find(DecodeToUtf8(text.encoding, line));
            if (it != kept->lines.end()) {
                std::size_t& next = nextKept[&it->second];
                out.append(it->second[std::min(next, it->second.size() - 1)]);
                ++next;
                continue;
            }
        }
        if (const std::optional<std::size_t> at = AppendEncodedLine(text.encoding, line, encoding, out)) {
            std::size_t pos = *at;
            const char32_t cp = DecodeCharIn(text.encoding, line, pos);
            file.encoded.clear();
            file.unencodable = Unencodable{i, *at, cp};
            return file;
        }
    }
    return file;
}

std::string_view FileEncodingName(FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::ShiftJis: return "Shift_JIS";
    case FileEncoding::EucJp: return "EUC-JP";
    case FileEncoding::Utf8: return "UTF-8";
    case FileEncoding::Utf8Bom: return "UTF-8 (BOM付き)";
    case FileEncoding::Utf16Le: return "UTF-16LE";
    case FileEncoding::Utf16Be: return "UTF-16BE";
    }
    return {};
}

}  // namespace kl
