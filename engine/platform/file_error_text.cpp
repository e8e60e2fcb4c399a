#include "engine/platform/file_error_text.h"

#include <cerrno>

namespace kl {

namespace {

std::string GeneralText(int number)
{
    return "ファイルの操作中にエラーが発生しました（エラー番号 " + std::to_string(number) + "）";
}

}  // namespace

std::string FileErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return "ファイルが見つかりません";
    case ENOTDIR:
        return "フォルダーが見つかりません";
    case EACCES:
    case EPERM:
        return "アクセスが拒否されました";
    case ENOSPC:
        return "ディスクの空き領域が不足しています";
#if defined(EDQUOT)
    case EDQUOT:
        return "ディスクの使用量の上限を超えています";
#endif
    case EFBIG:
    case EOVERFLOW:
        return "ファイルが大きすぎます";
    case EISDIR:
        return "ファイルではなくフォルダーです";
    case EEXIST:
        return "同じ名前のファイルがすでにあります";
    case EROFS:
        return "読み取り専用のドライブです";
    case ENAMETOOLONG:
        return "ファイル名が長すぎます";
    case EMFILE:
    case ENFILE:
        return "開いているファイルが多すぎます";
    case ENOMEM:
        return "メモリが足りません";
    case EBUSY:
    case ETXTBSY:
        return "ファイルは別のプログラムが使用中です";
    case ELOOP:
        return "シンボリックリンクの参照が多すぎます";
    case EIO:
        return "ディスクの読み書き中にエラーが発生しました";
    case EINVAL:
        return "ファイル名が正しくありません";
    case ENXIO:
    case ENODEV:
        return "デバイスが見つかりません";
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return "ファイルは一時的に使用できません";
    case EPIPE:
        return "書き込み先が閉じられています";
    case EBADF:
        return "ファイルが開かれていません";
    case EXDEV:
        return "別のドライブへは移動できません";
#if defined(ESTALE)
    case ESTALE:
        return "ネットワーク上のファイルが無効になりました";
#endif
#if defined(ETIMEDOUT)
    case ETIMEDOUT:
        return "応答がないため操作できませんでした";
#endif
    default:
        return GeneralText(errorNumber);
    }
}

std::string FileErrorText(const std::error_code& error)
{
    // On Windows the file system library reports system error numbers of its own; their
    // portable condition carries the errno value.
    const std::error_condition condition = error.default_error_condition();
    if (condition.category() == std::generic_category())
        return FileErrorText(condition.value());
    return GeneralText(error.value());
}

}  // namespace kl
