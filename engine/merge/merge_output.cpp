#include "engine/merge/merge_output.h"

#include <cerrno>

#include "engine/platform/atomic_file.h"
#include "engine/platform/file_error_text.h"

namespace kl {

bool SaveMergedText(const std::string& path, std::string_view bytes, std::string& error)
{
    error.clear();
    errno = 0;
    if (ReplaceFileAtomically(path, bytes))
        return true;
    // The new file is created next to the target, so "not found" means its folder is missing.
    const int failure = errno == ENOENT ? ENOTDIR : errno;
    error = "ファイル「" + path + "」に保存できませんでした。";
    error += failure != 0 ? "\n(" + FileErrorText(failure) + ")"
                          : std::string("\nフォルダーが存在し、書き込めることを確認してください。");
    return false;
}

}  // namespace kl
