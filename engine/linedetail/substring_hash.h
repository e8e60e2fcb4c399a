#pragma once
// Constant-time fingerprints of substrings (polynomial hashes modulo 2^61 - 1), so that
// looking for an equal substring does not compare bytes at every position. Equal
// fingerprints must still be confirmed by comparing the bytes.
#include <cstdint>
#include <string_view>
#include <vector>

namespace kl {

class SubstringHasher {
public:
    explicit SubstringHasher(std::string_view text);
    std::uint64_t Hash(std::size_t pos, std::size_t length) const;

private:
    std::vector<std::uint64_t> prefix_;  // hash of text[0, k)
    std::vector<std::uint64_t> power_;   // base^k
};

}  // namespace kl
