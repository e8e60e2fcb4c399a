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

// Room that LineEndPositions needs after the positions it writes.
inline constexpr std::size_t kLineEndSlack = 3;

// Writes offset plus the position just past every line end of data to out, in order (past
// an LF, past the LF of a CR LF, past a lone CR), and answers how many. Positions are
// written four at a time, so out needs room for kLineEndSlack more than there are line ends.
std::size_t LineEndPositions(const char* data, std::size_t size, std::int64_t* out, std::int64_t offset = 0);

}  // namespace kl
