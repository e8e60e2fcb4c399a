#include "engine/platform/number_text.h"

#include <climits>

namespace kl {
namespace {

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::size_t SkipSpaces(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && IsCSpace(text[pos])) {
        ++pos;
    }
    return pos;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

int AtoiText(std::string_view text)
{
    std::size_t pos = SkipSpaces(text);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Accumulate the magnitude in a wider type and stop growing it once it is past the
    // range of int, so that any number of digits is safe.
    constexpr long long limit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + (text[pos] - '0');
        }
    }
    if (negative) {
        return magnitude >= limit ? INT_MIN : static_cast<int>(-magnitude);
    }
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

bool ScanDecimal(std::string_view& text, int& value, std::size_t maxWidth)
{
    std::size_t start = SkipSpaces(text);
    std::string_view field = text.substr(start, maxWidth);
    std::size_t pos = 0;
    if (pos < field.size() && (field[pos] == '+' || field[pos] == '-')) {
        ++pos;
    }
    std::size_t digitsStart = pos;
    while (pos < field.size() && field[pos] >= '0' && field[pos] <= '9') {
        ++pos;
    }
    if (pos == digitsStart) {
        return false;
    }
    value = AtoiText(field.substr(0, pos));
    text.remove_prefix(start + pos);
    return true;
}

std::uint32_t HexText(std::string_view text)
{
    std::size_t pos = SkipSpaces(text);
    if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        pos += 2;
    }
    constexpr std::uint64_t limit = UINT32_MAX;
    std::uint64_t value = 0;
    for (; pos < text.size() && HexDigitValue(text[pos]) >= 0; ++pos) {
        if (value <= limit) {
            value = value * 16 + static_cast<std::uint64_t>(HexDigitValue(text[pos]));
        }
    }
    return value > limit ? UINT32_MAX : static_cast<std::uint32_t>(value);
}

std::string FormatHex(std::uint32_t value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789abcdef"[value % 16]);
        value /= 16;
    } while (value != 0);
    return digits;
}

}  // namespace kl
