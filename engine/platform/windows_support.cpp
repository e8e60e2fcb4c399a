#include "engine/platform/windows_support.h"

#if defined(_WIN32)
#include <windows.h>

#include <cerrno>

namespace kl {

int ErrnoFromWindowsError(unsigned long error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return EBUSY;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_PARAMETER:
        return EINVAL;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
        return EPIPE;
    case ERROR_INVALID_HANDLE:
        return EBADF;
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
        return ENODEV;
    case ERROR_CANT_RESOLVE_FILENAME:
        return ELOOP;
    default:
        return EIO;
    }
}

FileTime FileTimeFromWindows(std::uint32_t high, std::uint32_t low)
{
    constexpr std::int64_t kStepsPerSecond = 10'000'000;
    constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
    const std::int64_t steps = static_cast<std::int64_t>((std::uint64_t{high} << 32) | low);
    // Floor division, so that a time before 1970 keeps its nanoseconds positive.
    std::int64_t seconds = steps / kStepsPerSecond;
    std::int64_t rest = steps % kStepsPerSecond;
    if (rest < 0) {
        rest += kStepsPerSecond;
        --seconds;
    }
    return {seconds - kSecondsFrom1601To1970, static_cast<std::int32_t>(rest * 100)};
}

}  // namespace kl
#endif
