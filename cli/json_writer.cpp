#include "cli/json_writer.h"

#include <cstdint>
#include <cstring>


namespace kl::cli {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Whether any byte of the word is zero (exact for "any", which is all the callers ask).
constexpr std::uint64_t HasZeroByte(std::uint64_t w)
{
    return (w - kOnes) & ~w & kHighBits;
}

// Whether any of the eight bytes needs more than a plain copy into a JSON string: a control
// character, a quote, a backslash, or (when stopAtHighBytes) a byte of 0x80 or above.
bool WordNeedsCare(const char* p, bool stopAtHighBytes)
{
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    const std::uint64_t high = w & kHighBits;
    if (stopAtHighBytes && high != 0)
        return true;
    const std::uint64_t low = w & ~kHighBits;  // bytes of 0x80 and above are never escaped
    const std::uint64_t control = (low - kOnes * 0x20) & ~low & kHighBits & ~(high);
    return (control | HasZeroByte(w ^ (kOnes * '"')) | HasZeroByte(w ^ (kOnes * '\\'))) != 0;
}

// Length of the leading run of bytes that can be copied as they are.
std::size_t PlainRun(std::string_view text, std::size_t from, bool stopAtHighBytes)
{
    std::size_t k = from;
    while (k + 8 <= text.size() && !WordNeedsCare(text.data() + k, stopAtHighBytes))
        k += 8;
    for (; k < text.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(text[k]);
        if (c < 0x20 || c == '"' || c == '\\' || (stopAtHighBytes && c >= 0x80))
            break;
    }
    return k - from;
}

void PutJsonStringBody(OutputBuffer& out, std::string_view utf8)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::size_t k = 0;
    while (k < utf8.size()) {
        const std::size_t plain = PlainRun(utf8, k, false);
        out.Put(utf8.substr(k, plain));
        k += plain;
        if (k == utf8.size())
            break;
        const unsigned char c = static_cast<unsigned char>(utf8[k]);
        if (c == '"' || c == '\\') {
            const char escape[] = {'\\', static_cast<char>(c)};
            out.Put(std::string_view(escape, sizeof escape));
        } else {
            const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
            out.Put(std::string_view(escape, sizeof escape));
        }
        ++k;
    }
}

}  // namespace

void PutJsonString(OutputBuffer& out, std::string_view utf8)
{
    out.Put('"');
    PutJsonStringBody(out, utf8);
    out.Put('"');
}

void PutTextJsonString(OutputBuffer& out, std::string_view bytes, TextEncoding encoding)
{
    out.Put('"');
    // ASCII is the same in both encodings: copy it until the first byte that needs care,
    // and decode only from the first byte of 0x80 or above on.
    std::size_t k = 0;
    while (k < bytes.size()) {
        const std::size_t plain = PlainRun(bytes, k, true);
        out.Put(bytes.substr(k, plain));
        k += plain;
        if (k == bytes.size())
            break;
        if (static_cast<unsigned char>(bytes[k]) >= 0x80) {
            // Decoded one character at a time straight into the output.
            const char32_t cp = DecodeCharIn(encoding, bytes, k);
            char utf8[4];
            out.Put(std::string_view(utf8, EncodeUtf8Any(cp, utf8)));
            continue;
        }
        PutJsonStringBody(out, bytes.substr(k, 1));
        ++k;
    }
    out.Put('"');
}

}  // namespace kl::cli
