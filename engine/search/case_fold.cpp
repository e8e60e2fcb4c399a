#include "engine/search/case_fold.h"

#include <bit>

#include "engine/platform/cp932.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KL_CASE_FOLD_SSE2 1
#endif

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
        // Neither change makes bytes that another would change, so the order does not matter.
        const auto foldFullWidth = [p, size](std::size_t i) {
            if (i + 2 < size && p[i + 1] == 0xBC && p[i + 2] >= 0xA1 && p[i + 2] <= 0xBA) {
                p[i + 1] = 0xBD;
                p[i + 2] = static_cast<unsigned char>(p[i + 2] - 0x20);  // A1 -> 81
            }
        };
        std::size_t i = 0;
#ifdef KL_CASE_FOLD_SSE2
        // Sixteen bytes at a time: the ASCII capitals at once, the EF bytes one by one.
        for (; size - i >= 16; i += 16) {
            auto* at = reinterpret_cast<__m128i*>(p + i);
            const __m128i block = _mm_loadu_si128(at);
            // Bytes above 0x7F compare as negative, below 'A'.
            const __m128i capital = _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8('A' - 1)),
                                                  _mm_cmplt_epi8(block, _mm_set1_epi8('Z' + 1)));
            if (_mm_movemask_epi8(capital) != 0)
                _mm_storeu_si128(at, _mm_add_epi8(block, _mm_and_si128(capital, _mm_set1_epi8(0x20))));
            for (auto ef = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(static_cast<char>(0xEF)))));
                 ef != 0; ef &= ef - 1)
                foldFullWidth(i + static_cast<std::size_t>(std::countr_zero(ef)));
        }
#endif
        for (; i < size; ++i) {
            if (p[i] >= 'A' && p[i] <= 'Z')
                p[i] = static_cast<unsigned char>(p[i] + 0x20);
            else if (p[i] == 0xEF)
                foldFullWidth(i);
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
