#include "cli/json_writer.h"

#include <algorithm>

#include "platform/cp932.h"

namespace kl::cli {

void PutJsonString(OutputBuffer& out, std::string_view utf8)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out.Put('"');
    std::size_t plainStart = 0;
    for (std::size_t k = 0; k < utf8.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(utf8[k]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.Put(utf8.substr(plainStart, k - plainStart));
        if (c == '"' || c == '\\') {
            out.Put('\\');
            out.Put(static_cast<char>(c));
        } else {
            const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
            out.Put(std::string_view(escape, sizeof escape));
        }
        plainStart = k + 1;
    }
    out.Put(utf8.substr(plainStart));
    out.Put('"');
}

void PutCp932JsonString(OutputBuffer& out, std::string_view cp932)
{
    // Pure ASCII, the common case, is the same in both encodings.
    const bool ascii = std::all_of(cp932.begin(), cp932.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        PutJsonString(out, cp932);
    else
        PutJsonString(out, Cp932ToUtf8(cp932));
}

}  // namespace kl::cli
