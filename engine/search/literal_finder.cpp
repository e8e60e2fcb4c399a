#include "engine/search/literal_finder.h"

#include <algorithm>
#include <cstring>

namespace kl {

namespace {

constexpr std::size_t kSampleBytes = 64 * 1024;

}  // namespace

LiteralFinder::LiteralFinder(std::string needle, std::string_view sample) : needle_(std::move(needle))
{
    std::array<std::uint32_t, 256> counts{};
    for (unsigned char c : sample.substr(0, kSampleBytes))
        ++counts[c];
    rareIndex_ = needle_.size() - 1;
    for (std::size_t i = needle_.size(); i-- > 0;) {
        if (counts[static_cast<unsigned char>(needle_[i])] < counts[static_cast<unsigned char>(needle_[rareIndex_])])
            rareIndex_ = i;
    }
    const std::size_t n = needle_.size();
    skip_.fill(static_cast<std::uint32_t>(n));
    for (std::size_t i = 0; i + 1 < n; ++i)
        skip_[static_cast<unsigned char>(needle_[i])] = static_cast<std::uint32_t>(n - 1 - i);
}

std::size_t LiteralFinder::Find(std::string_view haystack, std::size_t from) const
{
    const std::size_t n = needle_.size();
    if (from > haystack.size() || haystack.size() - from < n)
        return std::string_view::npos;
    const char* const base = haystack.data();
    const char* const last = base + haystack.size() - n;  // the last possible start
    const char rare = needle_[rareIndex_];
    const char* start = base + from;
    std::size_t misses = 0;
    while (start <= last) {
        const char* hit = static_cast<const char*>(
            std::memchr(start + rareIndex_, rare, static_cast<std::size_t>(last - start) + 1));
        if (!hit)
            return std::string_view::npos;
        const char* candidate = hit - rareIndex_;
        if (std::memcmp(candidate, needle_.data(), n) == 0)
            return static_cast<std::size_t>(candidate - base);
        start = candidate + 1;
        // A "rare" byte that keeps turning up without a match is not rare here.
        if (++misses > 64 && static_cast<std::size_t>(start - base) - from < misses * 16)
            return FindBySkipTable(haystack, static_cast<std::size_t>(start - base));
    }
    return std::string_view::npos;
}

std::size_t LiteralFinder::FindBySkipTable(std::string_view haystack, std::size_t from) const
{
    const std::size_t n = needle_.size();
    const auto* text = reinterpret_cast<const unsigned char*>(haystack.data());
    const auto lastByte = static_cast<unsigned char>(needle_[n - 1]);
    for (std::size_t pos = from; pos + n <= haystack.size();) {
        const unsigned char c = text[pos + n - 1];
        if (c == lastByte && std::memcmp(text + pos, needle_.data(), n - 1) == 0)
            return pos;
        pos += skip_[c];
    }
    return std::string_view::npos;
}

}  // namespace kl
