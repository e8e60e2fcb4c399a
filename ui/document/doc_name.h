#pragma once
// What the window calls each side in its titles and messages.
#include <QString>

#include "engine/compare/compare_result.h"

inline QString DocName(int side)
{
    return side == kl::DOC_A ? QStringLiteral("DocA") : QStringLiteral("DocB");
}
