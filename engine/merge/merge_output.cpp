#include "engine/merge/merge_output.h"

#include "engine/platform/atomic_file.h"

namespace kl {

bool SaveMergedText(const std::string& path, std::string_view bytes, std::string& error)
{
    error.clear();
    if (ReplaceFileAtomically(path, bytes))
        return true;
    error = "ファイル「" + path + "」に保存できませんでした。\nフォルダーが存在し、書き込めることを確認してください。";
    return false;
}

}  // namespace kl
