#include "engine/platform/display_path.h"

#include "engine/platform/utf8.h"

namespace kl {

namespace {

void AppendEscaped(std::string& out, unsigned char byte)
{
    constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

}  // namespace

std::string DisplayPath(std::string_view path)
{
    std::string out;
    out.reserve(path.size());
    for (std::size_t pos = 0; pos < path.size();) {
        const Utf8Step step = DecodeUtf8Step(path, pos);
        const bool control = step.valid && (step.codePoint < 0x20 || step.codePoint == 0x7F);
        if (step.valid && !control)
            out.append(path.substr(pos, step.length));
        else
            for (std::size_t k = 0; k < step.length; ++k)
                AppendEscaped(out, static_cast<unsigned char>(path[pos + k]));
        pos += step.length;
    }
    return out;
}

}  // namespace kl
