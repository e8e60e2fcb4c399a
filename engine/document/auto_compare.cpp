#include "engine/document/auto_compare.h"

namespace kl {

AutoCompare DecideAutoCompare(int argIndex, const DocSettings& settings, int fileNameCount)
{
    if (argIndex >= 2 && settings.fParamDo == 1 && fileNameCount == 2)
        return AutoCompare::StartAndPost;
    if (argIndex == 0 && settings.fOpenDo == 1)
        return AutoCompare::StartAndSend;
    return AutoCompare::None;
}

}  // namespace kl
