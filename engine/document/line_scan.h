#pragma once
// Fast search for line-end bytes (CR and LF) in large texts. On x86-64 sixteen bytes are
// tested at a time with SSE2 (part of every x86-64 processor); elsewhere byte by byte.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KL_LINE_SCAN_SSE2 1
#endif

namespace kl {

// Number of line ends in text: LF, CR LF and lone CR each count once.
std::size_t CountLineEnds(std::string_view text);

// Position of the first CR or LF at or after from, or size when there is none.
inline std::size_t FindLineBreak(const char* data, std::size_t from, std::size_t size)
{
    std::size_t i = from;
#ifdef KL_LINE_SCAN_SSE2
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; size - i >= 16; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
        if (mask != 0)
            return i + static_cast<std::size_t>(std::countr_zero(mask));
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == '\r' || data[i] == '\n')
            return i;
    }
    return size;
}

#ifdef KL_LINE_SCAN_SSE2
// Bit k set when data[k] is CR or LF, for the sixteen bytes at data.
inline unsigned LineBreakMask16(const char* data)
{
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
    return static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(block, _mm_set1_epi8('\n')))));
}
#endif

// Calls onLineEnd(end) for every line end of data, in order, with the position just past
// it: past an LF, past the LF of a CR LF, past a lone CR. Sixty-four bytes are looked at a
// time, so a text of long lines costs few branches.
template <typename OnLineEnd>
inline void ForEachLineEnd(const char* data, std::size_t size, OnLineEnd&& onLineEnd)
{
    const auto found = [&](std::size_t at) {
        if (data[at] == '\n' || at + 1 == size || data[at + 1] != '\n')
            onLineEnd(at + 1);
    };
    std::size_t i = 0;
#ifdef KL_LINE_SCAN_SSE2
    for (; size - i >= 64; i += 64) {
        std::uint64_t mask = LineBreakMask16(data + i) | std::uint64_t{LineBreakMask16(data + i + 16)} << 16 |
                             std::uint64_t{LineBreakMask16(data + i + 32)} << 32 |
                             std::uint64_t{LineBreakMask16(data + i + 48)} << 48;
        for (; mask != 0; mask &= mask - 1)
            found(i + static_cast<std::size_t>(std::countr_zero(mask)));
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == '\r' || data[i] == '\n')
            found(i);
    }
}

}  // namespace kl
