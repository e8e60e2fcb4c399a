#include "engine/platform/utf8.h"

namespace kl {

Utf8Step DecodeUtf8Step(std::string_view s, std::size_t pos) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) return {b0, 1, true};
    int extra = 0;
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
    char32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2;
        cp = b0 & 0x0F;
        if (b0 == 0xE0) secondMin = 0xA0;  // overlong below U+0800
        if (b0 == 0xED) secondMax = 0x9F;  // surrogates U+D800-U+DFFF
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3;
        cp = b0 & 0x07;
        if (b0 == 0xF0) secondMin = 0x90;  // overlong below U+10000
        if (b0 == 0xF4) secondMax = 0x8F;  // above U+10FFFF
    } else {
        return {0, 1, false};
    }
    std::size_t length = 1;
    for (int k = 0; k < extra; ++k, ++length) {
        if (pos + length >= s.size()) return {0, length, false};
        const auto b = static_cast<unsigned char>(s[pos + length]);
        const unsigned char min = k == 0 ? secondMin : 0x80;
        const unsigned char max = k == 0 ? secondMax : 0xBF;
        if (b < min || b > max) return {0, length, false};
        cp = (cp << 6) | (b & 0x3F);
    }
    return {cp, length, true};
}

}  // namespace kl
