#include "engine/platform/file_names.h"

namespace kl {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimal number digits + 1, without leading zeros.
std::string Increment(std::string_view digits)
{
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    std::string number(firstNonZero == std::string_view::npos ? std::string_view("0")
                                                               : digits.substr(firstNonZero));
    for (std::size_t i = number.size(); i-- > 0;) {
        if (number[i] != '9') {
            ++number[i];
            return number;
        }
        number[i] = '0';
    }
    return "1" + number;
}

}  // namespace

std::string NextFileName(std::string_view fileName)
{
    std::size_t dot = fileName.rfind('.');
    if (dot == 0 || dot == std::string_view::npos)
        dot = fileName.size();
    const std::string_view base = fileName.substr(0, dot);
    const std::string_view extension = fileName.substr(dot);

    std::size_t digitsStart = base.size();
    while (digitsStart > 0 && IsDigit(base[digitsStart - 1]))
        --digitsStart;
    const std::string_view stem = base.substr(0, digitsStart);
    const std::string_view digits = base.substr(digitsStart);

    std::string next(stem);
    next += digits.empty() ? std::string("0") : Increment(digits);
    next += extension;
    return next;
}

}  // namespace kl
