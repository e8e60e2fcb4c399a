#include "engine/document/line_scan.h"

#include <algorithm>
#include <cstdint>

namespace kl {

std::size_t CountLineEnds(std::string_view text)
{
    const char* p = text.data();
    const std::size_t n = text.size();
    std::size_t count = 0;
    std::size_t i = 0;
#ifdef KL_LINE_SCAN_SSE2
    // Counts CR and LF bytes, less the CRs followed by an LF. Each block also looks at the
    // byte after it, so the vector loop stops one byte early.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    while (n - i >= 17) {
        // Per-byte counters, summed before they can overflow: a break byte adds one (its
        // compare result -1 is subtracted), the CR of a CR LF takes that one away again.
        __m128i perByte = zero;
        const std::size_t blocks = std::min<std::size_t>((n - i - 1) / 16, 255);
        for (std::size_t k = 0; k < blocks; ++k, i += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
            const __m128i isCr = _mm_cmpeq_epi8(block, cr);
            const __m128i isBreak = _mm_or_si128(isCr, _mm_cmpeq_epi8(block, lf));
            const __m128i crBeforeLf = _mm_and_si128(isCr, _mm_cmpeq_epi8(after, lf));
            perByte = _mm_sub_epi8(perByte, _mm_andnot_si128(crBeforeLf, isBreak));
        }
        const __m128i sums = _mm_sad_epu8(perByte, zero);
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == '\n' || (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n')))
            ++count;
    }
    return count;
}

}  // namespace kl
