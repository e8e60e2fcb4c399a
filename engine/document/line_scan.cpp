#include "engine/document/line_scan.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

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

namespace {

// The CR and LF bytes of the sixty-four bytes at data, as bit masks; cr is 0 when there is
// none (CR is rare, and its mask made only where there is one).
struct BreakMasks {
    std::uint64_t lf;
    std::uint64_t cr;
};

#ifdef KL_LINE_SCAN_SSE2

inline BreakMasks BreakMasksSse2(const char* data)
{
    __m128i blocks[4];
    BreakMasks masks{0, 0};
    __m128i anyCr = _mm_setzero_si128();
    for (int k = 0; k < 4; ++k) {
        blocks[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * k));
        masks.lf |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(blocks[k], _mm_set1_epi8('\n'))))}
                    << (16 * k);
        anyCr = _mm_or_si128(anyCr, _mm_cmpeq_epi8(blocks[k], _mm_set1_epi8('\r')));
    }
    if (_mm_movemask_epi8(anyCr) != 0) {
        for (int k = 0; k < 4; ++k)
            masks.cr |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(blocks[k], _mm_set1_epi8('\r'))))}
                        << (16 * k);
    }
    return masks;
}

#if defined(__GNUC__) && !defined(_WIN32) && !defined(__AVX2__)
// Not on Windows: there the compiler does not align the stack for 32-byte values it may
// have to keep there.
#define KL_LINE_SCAN_AVX2 1
[[gnu::target("avx2")]] inline std::uint64_t Mask32(__m256i isByte)
{
    return std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(isByte))};
}

[[gnu::target("avx2")]] inline BreakMasks BreakMasksAvx2(const char* data)
{
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + 32));
    const auto mask = Mask32;
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i cr = _mm256_set1_epi8('\r');
    BreakMasks masks{mask(_mm256_cmpeq_epi8(low, lf)) | mask(_mm256_cmpeq_epi8(high, lf)) << 32, 0};
    const __m256i crLow = _mm256_cmpeq_epi8(low, cr);
    const __m256i crHigh = _mm256_cmpeq_epi8(high, cr);
    const __m256i anyCr = _mm256_or_si256(crLow, crHigh);
    if (!_mm256_testz_si256(anyCr, anyCr))
        masks.cr = mask(crLow) | mask(crHigh) << 32;
    return masks;
}
#endif

#endif

// The body of LineEndPositions, compiled for every processor and for those with more
// instructions: wider compares, single instructions for counting bits and finding the
// lowest set one.
template <BreakMasks (*masksAt)(const char*)>
[[gnu::always_inline]] inline std::size_t LineEndPositionsIn(const char* data, std::size_t size, std::int64_t* out,
                                                             std::int64_t offset)
{
    std::size_t count = 0;
    std::size_t i = 0;
#ifdef KL_LINE_SCAN_SSE2
    // Sixty-four bytes at a time without a branch per line: the line ends of a piece are
    // a bit mask, turned into positions four at a time whatever their number (those past
    // the last are written over by the next piece, or fall into the slack).
    for (; size - i >= 64; i += 64) {
        const BreakMasks masks = masksAt(data + i);
        std::uint64_t ends = masks.lf;
        if (masks.cr != 0) {
            const std::uint64_t lfAfter = masks.lf >> 1 | std::uint64_t{i + 64 < size && data[i + 64] == '\n'} << 63;
            ends |= masks.cr & ~lfAfter;
        }
        const auto found = static_cast<std::size_t>(std::popcount(ends));
        std::int64_t* to = out + count;
        const auto base = offset + static_cast<std::int64_t>(i + 1);
        for (std::size_t k = 0; k < found || k == 0; k += 4) {
            for (std::size_t j = k; j < k + 4; ++j, ends &= ends - 1)
                to[j] = base + std::countr_zero(ends);
        }
        count += found;
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == '\n' || (data[i] == '\r' && (i + 1 == size || data[i + 1] != '\n')))
            out[count++] = offset + static_cast<std::int64_t>(i + 1);
    }
    return count;
}

#if defined(KL_LINE_SCAN_SSE2) && defined(__GNUC__) && !defined(__POPCNT__)
#define KL_LINE_SCAN_BIT_INSTRUCTIONS 1
[[gnu::target("popcnt,bmi")]] std::size_t LineEndPositionsWithBitInstructions(const char* data, std::size_t size,
                                                                             std::int64_t* out, std::int64_t offset)
{
    return LineEndPositionsIn<BreakMasksSse2>(data, size, out, offset);
}
#endif

#ifdef KL_LINE_SCAN_AVX2
[[gnu::target("avx2,popcnt,bmi")]] std::size_t LineEndPositionsAvx2(const char* data, std::size_t size,
                                                                   std::int64_t* out, std::int64_t offset)
{
    return LineEndPositionsIn<BreakMasksAvx2>(data, size, out, offset);
}
#endif

}  // namespace

std::size_t LineEndPositions(const char* data, std::size_t size, std::int64_t* out, std::int64_t offset)
{
#ifdef KL_LINE_SCAN_AVX2
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi");
    }();
    if (avx2)
        return LineEndPositionsAvx2(data, size, out, offset);
#endif
#ifdef KL_LINE_SCAN_BIT_INSTRUCTIONS
    static const bool bitInstructions = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi");
    }();
    if (bitInstructions)
        return LineEndPositionsWithBitInstructions(data, size, out, offset);
#endif
#ifdef KL_LINE_SCAN_SSE2
    return LineEndPositionsIn<BreakMasksSse2>(data, size, out, offset);
#else
    return LineEndPositionsIn<nullptr>(data, size, out, offset);
#endif
}

}  // namespace kl
