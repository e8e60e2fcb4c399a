#include "engine/linedetail/substring_hash.h"

namespace kl {
namespace {

constexpr std::uint64_t kModulus = (std::uint64_t{1} << 61) - 1;
constexpr std::uint64_t kBase = 1000003;

// a * b modulo 2^61 - 1 for a, b below the modulus, without a 128-bit type: split both
// factors at bit 31 and fold 2^61 to 1.
std::uint64_t MulMod(std::uint64_t a, std::uint64_t b)
{
    constexpr std::uint64_t kLow31 = (std::uint64_t{1} << 31) - 1;
    constexpr std::uint64_t kLow30 = (std::uint64_t{1} << 30) - 1;
    const std::uint64_t aHigh = a >> 31, aLow = a & kLow31;
    const std::uint64_t bHigh = b >> 31, bLow = b & kLow31;
    const std::uint64_t middle = aLow * bHigh + aHigh * bLow;
    const std::uint64_t sum = aHigh * bHigh * 2 + (middle >> 30) + ((middle & kLow30) << 31) + aLow * bLow;
    const std::uint64_t folded = (sum >> 61) + (sum & kModulus);
    return folded >= kModulus ? folded - kModulus : folded;
}

}  // namespace

SubstringHasher::SubstringHasher(std::string_view text)
    : prefix_(text.size() + 1, 0), power_(text.size() + 1, 1)
{
    for (std::size_t k = 0; k < text.size(); ++k) {
        const std::uint64_t next = MulMod(prefix_[k], kBase) + static_cast<unsigned char>(text[k]) + 1;
        prefix_[k + 1] = next >= kModulus ? next - kModulus : next;
        power_[k + 1] = MulMod(power_[k], kBase);
    }
}

std::uint64_t SubstringHasher::Hash(std::size_t pos, std::size_t length) const
{
    const std::uint64_t whole = prefix_[pos + length];
    const std::uint64_t head = MulMod(prefix_[pos], power_[length]);
    return whole >= head ? whole - head : whole + kModulus - head;
}

}  // namespace kl
