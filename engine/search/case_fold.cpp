#include "engine/search/case_fold.h"

#include "engine/platform/cp932.h"

namespace kl {

char32_t FoldCase(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c + (U'a' - U'A');
    if (c >= U'Ａ' && c <= U'Ｚ')
        return c + (U'ａ' - U'Ａ');
    return c;
}

void FoldCaseInPlace(TextEncoding encoding, char* bytes, std::size_t size)
{
    auto* p = reinterpret_cast<unsigned char*>(bytes);
    if (encoding == TextEncoding::Utf8) {
        // UTF-8 trail bytes are never ASCII, and EF BC A1..BA (Ａ..Ｚ) can only be a character.
        for (std::size_t i = 0; i < size; ++i) {
            const unsigned char c = p[i];
            if (c >= 'A' && c <= 'Z') {
                p[i] = static_cast<unsigned char>(c + 0x20);
            } else if (c == 0xEF && i + 2 < size && p[i + 1] == 0xBC && p[i + 2] >= 0xA1 && p[i + 2] <= 0xBA) {
                p[i + 1] = 0xBD;
                p[i + 2] = static_cast<unsigned char>(p[i + 2] - 0x20);  // A1 -> 81
                i += 2;
            }
        }
        return;
    }
    for (std::size_t i = 0; i < size;) {
        const unsigned char c = p[i];
        if (IsLeadByte(c)) {
            if (c == 0x82 && i + 1 < size && p[i + 1] >= 0x60 && p[i + 1] <= 0x79)
                p[i + 1] = static_cast<unsigned char>(p[i + 1] + 0x21);  // 82 60 -> 82 81
            i += 2;
            continue;
        }
        if (c >= 'A' && c <= 'Z')
            p[i] = static_cast<unsigned char>(c + 0x20);
        ++i;
    }
}

bool HasCasedLetter(std::string_view utf8)
{
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = FoldCase(DecodeCharIn(TextEncoding::Utf8, utf8, pos));
        if ((c >= U'a' && c <= U'z') || (c >= U'ａ' && c <= U'ｚ'))
            return true;
    }
    return false;
}

std::string FoldedUtf8(std::string_view utf8)
{
    std::string folded(utf8);
    FoldCaseInPlace(TextEncoding::Utf8, folded.data(), folded.size());
    return folded;
}

}  // namespace kl
