#include "engine/edit/text_origin.h"

namespace kl {

void CopyTextOrigin(const Text& from, Text& to)
{
    to.encoding = from.encoding;
    to.converted = from.converted;
    to.conversion = from.conversion;
    to.origin = from.origin;
}

}  // namespace kl
