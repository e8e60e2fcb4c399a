#include "tests/support/test_scale.h"

#include <cmath>
#include <cstdlib>

namespace kltest {

namespace {

double Scale()
{
    const char* text = std::getenv("KESTRILANE_TEST_SCALE");
    if (!text || !*text)
        return 1.0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    return end != text && *end == '\0' && value > 0.0 && std::isfinite(value) ? value : 1.0;
}

}  // namespace

int ScaledCases(int cases)
{
    static const double scale = Scale();
    const double scaled = std::ceil(cases * scale);
    return scaled < 1.0 ? 1 : scaled > 1e9 ? 1000000000 : static_cast<int>(scaled);
}

}  // namespace kltest
