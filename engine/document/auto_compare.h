#pragma once
// Whether loading DocB starts a comparison by itself.
#include "engine/settings/view_settings.h"

namespace kl {

enum class AutoCompare {
    None,          // both files are only loaded
    StartAndPost,  // files from the command line: start a run, show the result asynchronously
    StartAndSend,  // files opened later: start a run, show the result at once
};

// argIndex: the command-line position of the file being opened (0 when the open does not
// come from the command line); fileNameCount: the number of loaded file names. Called only
// when an open has just made DocB.
AutoCompare DecideAutoCompare(int argIndex, const DocSettings& settings, int fileNameCount);

}  // namespace kl
