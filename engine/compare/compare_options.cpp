#include "engine/compare/compare_options.h"

namespace kl {

CompareOptions& ProcessCompareOptions()
{
    static CompareOptions options;
    return options;
}

}  // namespace kl
