#pragma once
// Finding a byte string in a large buffer quickly. The search jumps with memchr to the byte of
// the needle that is rarest in the haystack (judged from a sample of it) and checks the rest
// there; where that byte turns out to be common it falls back to Horspool's skip table.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kl {

class LiteralFinder {
public:
    // needle must not be empty; sample is a representative piece of what will be searched.
    LiteralFinder(std::string needle, std::string_view sample);

    // Position of the first occurrence at or after from, or npos.
    std::size_t Find(std::string_view haystack, std::size_t from) const;

    const std::string& needle() const { return needle_; }

private:
    std::size_t FindBySkipTable(std::string_view haystack, std::size_t from) const;

    std::string needle_;
    std::size_t rareIndex_ = 0;  // position in the needle of the byte memchr looks for
    std::array<std::uint32_t, 256> skip_{};
};

}  // namespace kl
