#include "engine/merge/merge_output.h"

#include "engine/platform/atomic_file.h"

namespace kl {

bool SaveMergedText(const std::string& path, std::string_view bytes, std::string& error)
{
    error.clear();
    const ReplaceResult saved = ReplaceFileAtomically(path, bytes);
    if (saved)
        return true;
    error = "ファイル「" + path + "」に保存できませんでした。\n(" + saved.reason + ")";
    return false;
}

}  // namespace kl
