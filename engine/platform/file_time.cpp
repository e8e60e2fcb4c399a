#include "engine/platform/file_time.h"

#if defined(_WIN32)
#include <windows.h>

#include "engine/platform/utf8_path.h"
#include "engine/platform/windows_support.h"
#else
#include <sys/stat.h>
#endif

namespace kl {

#if defined(_WIN32)

std::optional<FileTime> LastWriteTime(const std::string& utf8Path)
{
    // Opening the file (not asking the folder) follows a symbolic link to its target.
    const WindowsHandle file(::CreateFileW(WideFromUtf8(utf8Path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILETIME written{};
    if (!file.valid() || ::GetFileTime(file.get(), nullptr, nullptr, &written) == 0)
        return std::nullopt;
    return FileTimeFromWindows(written.dwHighDateTime, written.dwLowDateTime);
}

std::optional<LocalTime> ToLocalTime(std::int64_t seconds)
{
    const __time64_t time = seconds;
    LocalTime local;
    if (_localtime64_s(&local.fields, &time) != 0)
        return std::nullopt;
    // The local fields read as if they were UTC differ from the time by the offset.
    std::tm asUtc = local.fields;
    const __time64_t shifted = _mkgmtime64(&asUtc);
    if (shifted == -1)
        return std::nullopt;
    local.utcOffsetSeconds = static_cast<int>(shifted - time);
    return local;
}

#else

std::optional<FileTime> LastWriteTime(const std::string& utf8Path)
{
    struct stat info {};
    if (::stat(utf8Path.c_str(), &info) != 0)
        return std::nullopt;
    return FileTime{static_cast<std::int64_t>(info.st_mtim.tv_sec), static_cast<std::int32_t>(info.st_mtim.tv_nsec)};
}

std::optional<LocalTime> ToLocalTime(std::int64_t seconds)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    LocalTime local;
    if (::localtime_r(&time, &local.fields) == nullptr)
        return std::nullopt;
    local.utcOffsetSeconds = static_cast<int>(local.fields.tm_gmtoff);
    return local;
}

#endif

}  // namespace kl
