#include "engine/platform/utf8_validation.h"

#include <cstdint>
#include <cstring>

#include "engine/platform/utf8.h"

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#include <immintrin.h>
#define KL_UTF8_SSSE3 1
// Not on Windows: there the compiler does not align the stack for 32-byte values it may
// have to keep there.
#if !defined(_WIN32)
#define KL_UTF8_AVX2 1
#endif
#endif

namespace kl {

namespace {

constexpr std::size_t kInvalid = std::string_view::npos;

// Checks the characters of bytes that start in [from, stopBefore); answers the position
// after the last one checked, or kInvalid.
std::size_t CheckCharacters(std::string_view bytes, std::size_t from, std::size_t stopBefore)
{
    // Runs of ASCII are passed eight bytes at a time and the common two- and three-byte
    // characters checked in place; the rarer lead bytes (E0, ED, F0-F4: limits on the
    // second byte) go through the full step.
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    const auto continuation = [p](std::size_t at) { return (p[at] & 0xC0) == 0x80; };
    std::size_t i = from;
    while (i < stopBefore) {
        std::uint64_t word;
        if (i + sizeof word <= n) {
            std::memcpy(&word, p + i, sizeof word);
            if ((word & kHighBits) == 0) {
                i += sizeof word;
                continue;
            }
        }
        const unsigned char b0 = p[i];
        if (b0 < 0x80) {
            ++i;
        } else if (b0 >= 0xC2 && b0 <= 0xDF && i + 1 < n && continuation(i + 1)) {
            i += 2;
        } else if (((b0 >= 0xE1 && b0 <= 0xEC) || b0 == 0xEE || b0 == 0xEF) && i + 2 < n && continuation(i + 1) &&
                   continuation(i + 2)) {
            i += 3;
        } else {
            const Utf8Step step = DecodeUtf8Step(bytes, i);
            if (!step.valid)
                return kInvalid;
            i += step.length;
        }
    }
    return i;
}

#ifdef KL_UTF8_SSSE3

// Every byte is checked against the one, two and three bytes before it, so blocks need no
// alignment with the characters. With the byte before it: the high and the low nibble of
// that byte and the high nibble of the byte itself each choose a set of error bits (the
// tables below), and the pair is wrong when a bit is in all three. Bits:
constexpr std::uint8_t kTooShort = 1 << 0;   // a lead byte not followed by a continuation
constexpr std::uint8_t kTooLong = 1 << 1;    // ASCII followed by a continuation
constexpr std::uint8_t kOverlong3 = 1 << 2;  // E0 80-9F
constexpr std::uint8_t kTooLarge = 1 << 3;   // F4 90-BF, F5-FF 90-BF
constexpr std::uint8_t kSurrogate = 1 << 4;  // ED A0-BF
constexpr std::uint8_t kOverlong2 = 1 << 5;  // C0-C1 80-BF
constexpr std::uint8_t kTooLarge1000 = 1 << 6;  // F5-FF 80-8F; with F0: an overlong F0 80-8F
constexpr std::uint8_t kOverlong4 = 1 << 6;
constexpr std::uint8_t kTwoContinuations = 1 << 7;  // a continuation after a continuation
// (allowed only where a three- or four-byte lead came two or three bytes before: the
// high bit is flipped for those places)
constexpr std::uint8_t kCarry = kTooShort | kTooLong | kTwoContinuations;

[[gnu::target("ssse3")]] inline __m128i Table(const std::uint8_t (&entries)[16])
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries));
}

constexpr std::uint8_t kFirstHigh[16] = {
    kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
    kTwoContinuations, kTwoContinuations, kTwoContinuations, kTwoContinuations,
    kTooShort | kOverlong2,                             // C
    kTooShort,                                          // D
    kTooShort | kOverlong3 | kSurrogate,                // E
    kTooShort | kTooLarge | kTooLarge1000 | kOverlong4  // F
};
constexpr std::uint8_t kFirstLow[16] = {
    kCarry | kOverlong3 | kOverlong2 | kOverlong4,  // 0
    kCarry | kOverlong2,                            // 1
    kCarry,
    kCarry,
    kCarry | kTooLarge,                  // 4
    kCarry | kTooLarge | kTooLarge1000,  // 5
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,  // 8
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000 | kSurrogate,  // D
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
};
constexpr std::uint8_t kSecondHigh[16] = {
    kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
    kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge1000 | kOverlong4,  // 8
    kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge,                  // 9
    kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge,                  // A
    kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge,                  // B
    kTooShort, kTooShort, kTooShort, kTooShort,
};

// The error bits of block, whose bytes follow those of previous; zero when all is well.
[[gnu::target("ssse3")]] inline __m128i BlockErrors(__m128i block, __m128i previous)
{
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i before1 = _mm_alignr_epi8(block, previous, 15);
    const __m128i firstHigh = _mm_shuffle_epi8(Table(kFirstHigh), _mm_and_si128(_mm_srli_epi16(before1, 4), nibble));
    const __m128i firstLow = _mm_shuffle_epi8(Table(kFirstLow), _mm_and_si128(before1, nibble));
    const __m128i secondHigh = _mm_shuffle_epi8(Table(kSecondHigh), _mm_and_si128(_mm_srli_epi16(block, 4), nibble));
    const __m128i special = _mm_and_si128(_mm_and_si128(firstHigh, firstLow), secondHigh);
    // Third and fourth bytes: 111_____ two bytes before, 1111____ three bytes before.
    const __m128i before2 = _mm_alignr_epi8(block, previous, 14);
    const __m128i before3 = _mm_alignr_epi8(block, previous, 13);
    const __m128i third = _mm_subs_epu8(before2, _mm_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m128i fourth = _mm_subs_epu8(before3, _mm_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m128i mustContinue = _mm_and_si128(_mm_or_si128(third, fourth), _mm_set1_epi8(static_cast<char>(0x80)));
    return _mm_xor_si128(mustContinue, special);
}

// Checks the whole sixteen-byte blocks of [from, to), from being a multiple of sixteen
// and the bytes before it checked; answers where it stopped, or kInvalid.
[[gnu::target("ssse3")]] std::size_t CheckBlocksSsse3(const unsigned char* p, std::size_t from, std::size_t to)
{
    // Errors are gathered and looked at every few kilobytes, so that a text in another
    // encoding is given up early.
    constexpr std::size_t kBlocksBetweenLooks = 256;
    const __m128i zero = _mm_setzero_si128();
    __m128i previous = from >= 16 ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from - 16)) : zero;
    __m128i errors = zero;
    std::size_t i = from;
    while (to - i >= 16) {
        for (std::size_t k = 0; k < kBlocksBetweenLooks && to - i >= 16; ++k, i += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            errors = _mm_or_si128(errors, BlockErrors(block, previous));
            previous = block;
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(errors, zero)) != 0xFFFF)
            return kInvalid;
    }
    return i;
}

// Checks the last bytes [from, size), fewer than sixteen, from as above.
[[gnu::target("ssse3")]] bool CheckRestSsse3(const unsigned char* p, std::size_t from, std::size_t size)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i previous = from >= 16 ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from - 16)) : zero;
    // Padded with NUL: a character cut short at the end is then a lead byte followed by
    // ASCII.
    unsigned char rest[16] = {};
    if (size > from)
        std::memcpy(rest, p + from, size - from);
    const __m128i last = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rest));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(BlockErrors(last, previous), zero)) == 0xFFFF;
}

#ifdef KL_UTF8_AVX2

// The same thirty-two bytes at a time.
[[gnu::target("avx2")]] inline __m256i Table32(const std::uint8_t (&entries)[16])
{
    const __m128i table = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries));
    return _mm256_broadcastsi128_si256(table);
}

// block shifted by n bytes towards its end, the first n taken from the end of previous.
template <int n>
[[gnu::target("avx2")]] inline __m256i Before(__m256i block, __m256i previous)
{
    return _mm256_alignr_epi8(block, _mm256_permute2x128_si256(previous, block, 0x21), 16 - n);
}

[[gnu::target("avx2")]] inline __m256i BlockErrors32(__m256i block, __m256i previous)
{
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i before1 = Before<1>(block, previous);
    const __m256i firstHigh =
        _mm256_shuffle_epi8(Table32(kFirstHigh), _mm256_and_si256(_mm256_srli_epi16(before1, 4), nibble));
    const __m256i firstLow = _mm256_shuffle_epi8(Table32(kFirstLow), _mm256_and_si256(before1, nibble));
    const __m256i secondHigh =
        _mm256_shuffle_epi8(Table32(kSecondHigh), _mm256_and_si256(_mm256_srli_epi16(block, 4), nibble));
    const __m256i special = _mm256_and_si256(_mm256_and_si256(firstHigh, firstLow), secondHigh);
    const __m256i third = _mm256_subs_epu8(Before<2>(block, previous), _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m256i fourth = _mm256_subs_epu8(Before<3>(block, previous), _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m256i mustContinue =
        _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(static_cast<char>(0x80)));
    return _mm256_xor_si256(mustContinue, special);
}

[[gnu::target("avx2")]] std::size_t CheckBlocksAvx2(const unsigned char* p, std::size_t from, std::size_t to)
{
    constexpr std::size_t kBlocksBetweenLooks = 128;
    __m256i previous = from >= 32 ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + from - 32))
                                  : _mm256_setzero_si256();
    __m256i errors = _mm256_setzero_si256();
    std::size_t i = from;
    while (to - i >= 32) {
        for (std::size_t k = 0; k < kBlocksBetweenLooks && to - i >= 32; ++k, i += 32) {
            const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
            errors = _mm256_or_si256(errors, BlockErrors32(block, previous));
            previous = block;
        }
        if (!_mm256_testz_si256(errors, errors))
            return kInvalid;
    }
    return i;
}

[[gnu::target("avx2")]] bool CheckRestAvx2(const unsigned char* p, std::size_t from, std::size_t size)
{
    const __m256i previous = from >= 32 ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + from - 32))
                                        : _mm256_setzero_si256();
    unsigned char rest[32] = {};
    if (size > from)
        std::memcpy(rest, p + from, size - from);
    const __m256i errors = BlockErrors32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(rest)), previous);
    return _mm256_testz_si256(errors, errors);
}

#endif

#endif

}  // namespace

Utf8Checker::Utf8Checker(Method method)
{
#ifdef KL_UTF8_SSSE3
    static const bool hasSsse3 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("ssse3") != 0;
    }();
    if (method != Method::Bytewise && hasSsse3)
        width_ = 16;
#endif
#ifdef KL_UTF8_AVX2
    static const bool hasAvx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    if (method == Method::Fastest && hasAvx2)
        width_ = 32;
#endif
    (void)method;
}

void Utf8Checker::Arrived(const char* data, std::size_t arrived)
{
    if (checked_ == kInvalid)
        return;
    [[maybe_unused]] const auto* p = reinterpret_cast<const unsigned char*>(data);
    switch (width_) {
#ifdef KL_UTF8_AVX2
    case 32: checked_ = CheckBlocksAvx2(p, checked_, arrived); return;
#endif
#ifdef KL_UTF8_SSSE3
    case 16: checked_ = CheckBlocksSsse3(p, checked_, arrived); return;
#endif
    default:
        // A character that starts three bytes before the end or earlier has all its bytes.
        if (arrived > checked_ + 3)
            checked_ = CheckCharacters(std::string_view(data, arrived), checked_, arrived - 3);
    }
}

bool Utf8Checker::Finish(const char* data, std::size_t size)
{
    Arrived(data, size);
    if (checked_ == kInvalid)
        return false;
    [[maybe_unused]] const auto* p = reinterpret_cast<const unsigned char*>(data);
    switch (width_) {
#ifdef KL_UTF8_AVX2
    case 32: return CheckRestAvx2(p, checked_, size);
#endif
#ifdef KL_UTF8_SSSE3
    case 16: return CheckRestSsse3(p, checked_, size);
#endif
    default: return CheckCharacters(std::string_view(data, size), checked_, size) != kInvalid;
    }
}

bool IsValidUtf8(std::string_view bytes)
{
    return Utf8Checker().Finish(bytes.data(), bytes.size());
}

bool IsValidUtf8Bytewise(std::string_view bytes)
{
    return Utf8Checker(Utf8Checker::Method::Bytewise).Finish(bytes.data(), bytes.size());
}

}  // namespace kl
