#include "engine/platform/atomic_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "engine/platform/file_error_text.h"
#include "engine/platform/save_temporary.h"
#include "engine/platform/utf8_path.h"

#if defined(_WIN32)
#include <windows.h>

#include <algorithm>

#include "engine/platform/windows_support.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#endif

namespace kl {
namespace {

namespace fs = std::filesystem;

ReplaceResult Written()
{
    return {true, 0, {}};
}

ReplaceResult Failure(int error)
{
    return {false, error, FileErrorText(error)};
}

ReplaceResult FailureSaying(int error, std::string reason)
{
    return {false, error, std::move(reason)};
}

fs::path ResolveLinks(const std::string& path)
{
    fs::path current = PathFromUtf8(path);
    // A loop of links stops here; the save then fails on it with ELOOP.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(current, ec)) {
            return current;
        }
        fs::path next = fs::read_symlink(current, ec);
        if (ec) {
            return current;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

// A fresh temporary name next to the target; see save_temporary.h.
fs::path TemporaryName(const fs::path& target)
{
    return target.parent_path() / PathFromUtf8(NewSaveTemporaryName());
}

#if defined(_WIN32)

int LastErrorNumber()
{
    return ErrnoFromWindowsError(::GetLastError());
}

bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), std::size_t{1} << 30));
        if (::WriteFile(file, bytes.data(), chunk, &written, nullptr) == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// Writes the bytes into a new file at temp and flushes them to disk. Returns 0 or the errno
// of the failed step; the file is gone again after a failure.
int WriteTemporary(const fs::path& temp, std::string_view bytes)
{
    int failure = 0;
    {
        const WindowsHandle file(
            ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return LastErrorNumber();
        }
        if (!WriteAll(file.get(), bytes) || ::FlushFileBuffers(file.get()) == 0) {
            failure = LastErrorNumber();
        }
    }
    if (failure != 0) {
        ::DeleteFileW(temp.c_str());
    }
    return failure;
}

// Puts the finished temporary file in the target's place. An existing target is replaced
// with ReplaceFileW, which gives the new file the old one's attributes, security and
// creation time (as the new file takes over the old one's permissions elsewhere). Where the
// file system offers no such call, and where the call removed the target but could not move
// the new file in, the new file is moved over the target. Returns 0 or the errno.
int MoveIntoPlace(const fs::path& temp, const fs::path& target, bool targetExists)
{
    if (targetExists) {
        if (::ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                           nullptr) != 0) {
            return 0;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT && error != ERROR_INVALID_FUNCTION &&
            error != ERROR_NOT_SUPPORTED) {
            return ErrnoFromWindowsError(error);
        }
    }
    if (::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
        return 0;
    }
    return LastErrorNumber();
}

// The attributes a user sets on a file keep across a save. ReplaceFileW keeps them itself
// on Windows, but not every implementation of it does (Wine's does not), nor does the move.
void KeepAttributes(const fs::path& target, DWORD old)
{
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD now = ::GetFileAttributesW(target.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & kKept) != (old & kKept)) {
        ::SetFileAttributesW(target.c_str(), (now & ~kKept) | (old & kKept));
    }
}

// oldAttributes: those of the file being replaced, or INVALID_FILE_ATTRIBUTES for a new one.
ReplaceResult ReplaceRegular(const fs::path& target, DWORD oldAttributes, std::string_view bytes)
{
    const bool targetExists = oldAttributes != INVALID_FILE_ATTRIBUTES;
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        const fs::path temp = TemporaryName(target);
        const int written = WriteTemporary(temp, bytes);
        if (written == EEXIST) {
            continue;
        }
        if (written != 0) {
            // The new file is created next to the target, so "not found" means its folder is missing.
            return Failure(written == ENOENT ? ENOTDIR : written);
        }
        const int failure = MoveIntoPlace(temp, target, targetExists);
        if (failure == 0) {
            if (targetExists) {
                KeepAttributes(target, oldAttributes);
            }
            return Written();
        }
        // The temporary file is removed unless it is all that is left of the content: a
        // replacement that broke off may have taken the target away.
        if (!targetExists || ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
            ::DeleteFileW(temp.c_str());
        }
        return Failure(failure);
    }
    return Failure(EEXIST);
}

// A device (NUL, CON) or a pipe takes the bytes as they are; there is nothing to replace.
ReplaceResult WriteIntoDevice(const fs::path& target, std::string_view bytes)
{
    const WindowsHandle device(
        ::CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!device.valid()) {
        return Failure(LastErrorNumber());
    }
    if (!WriteAll(device.get(), bytes)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE) {
            return FailureSaying(EPIPE, "パイプを読み込むプログラムが途中で終了しました");
        }
        return Failure(ErrnoFromWindowsError(error));
    }
    return Written();
}

#else

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Removes temporary files that saves left in directory when they were killed: only names
// with the save mark, regular files of this user, untouched for long enough that no
// running save can own them.
void RemoveStaleTemporaries(const fs::path& directory)
{
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsSaveTemporaryName(entry->d_name)) {
            continue;
        }
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        const SaveTemporaryEntry found{entry->d_name, S_ISREG(info.st_mode), info.st_uid == ::geteuid(),
                                       std::chrono::seconds(now - info.st_mtime)};
        if (IsStaleSaveTemporary(found)) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// Gives the new file the old one's owner, group and permissions (in that order: a change
// of owner clears the set-user-ID bits), writes the bytes and flushes them to disk.
// Returns 0 or the errno of the failed step.
int FillTemporary(int fd, const struct stat* old, std::string_view bytes)
{
    if (old != nullptr) {
        // Only the superuser may give a file away; a user may still change its group.
        if (::fchown(fd, old->st_uid, old->st_gid) != 0 && errno != EPERM && errno != EINVAL) {
            return errno;
        }
        if (::fchmod(fd, old->st_mode & 07777) != 0) {
            return errno;
        }
    }
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
        return errno;
    }
    return 0;
}

// Makes the rename itself durable; a failure here does not undo the replacement.
void SyncDirectory(const fs::path& directory)
{
    int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

ReplaceResult ReplaceRegular(const fs::path& target, const struct stat* old, std::string_view bytes)
{
    RemoveStaleTemporaries(target.parent_path());
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        const fs::path temp = TemporaryName(target);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            // The new file is created next to the target, so "not found" means its folder is missing.
            return Failure(errno == ENOENT ? ENOTDIR : errno);
        }
        int failure = FillTemporary(fd, old, bytes);
        if (::close(fd) != 0 && failure == 0) {
            failure = errno;
        }
        if (failure == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
            failure = errno;
        }
        if (failure != 0) {
            ::unlink(temp.c_str());
            return Failure(failure);
        }
        SyncDirectory(target.parent_path());
        return Written();
    }
    return Failure(EEXIST);
}

// Writes with SIGPIPE held back, so that a reader closing its end gives EPIPE instead of
// ending the program. Returns 0 or the errno of the failed write.
int WriteWithoutPipeSignal(int fd, std::string_view bytes)
{
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    const int failure = WriteAll(fd, bytes) ? 0 : errno;
    if (failure == EPIPE && !alreadyPending) {
        const timespec noWait{};
        sigtimedwait(&pipeSignal, nullptr, &noWait);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return failure;
}

// A character device or named pipe takes the bytes as they are; there is nothing to
// replace. The open never waits, for a pipe without a reader would block it for good.
ReplaceResult WriteIntoSpecialFile(const fs::path& target, bool pipe, std::string_view bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENXIO && pipe) {
            return FailureSaying(ENXIO, "パイプを読み込むプログラムがないため書き込めません");
        }
        return Failure(errno);
    }
    // Once open, a full pipe is waited for like any slow reader.
    int failure = 0;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
        failure = errno;
    }
    if (failure == 0) {
        failure = WriteWithoutPipeSignal(fd, bytes);
    }
    if (::close(fd) != 0 && failure == 0 && errno != EINTR) {
        failure = errno;
    }
    if (failure == EPIPE) {
        return FailureSaying(EPIPE, "パイプを読み込むプログラムが途中で終了しました");
    }
    return failure == 0 ? Written() : Failure(failure);
}

#endif

}  // namespace

std::string SaveTarget(const std::string& path)
{
    return Utf8FromPath(ResolveLinks(path));
}

#if defined(_WIN32)

bool IsReadOnlyFile(const std::string& path)
{
    const std::wstring name = WideFromUtf8(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return true;
    }
    // Permissions that keep this user from writing the file.
    const WindowsHandle file(::CreateFileW(name.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    return !file.valid() && ::GetLastError() == ERROR_ACCESS_DENIED;
}

ReplaceResult ReplaceFileAtomically(const std::string& path, std::string_view bytes)
{
    if (path.empty()) {
        return Failure(ENOENT);
    }
    // The replacement works on the full path (Wine's ReplaceFileW fails on a relative one).
    std::error_code ec;
    fs::path target = ResolveLinks(path);
    if (fs::path full = fs::absolute(target, ec); !ec) {
        target = std::move(full);
    }
    bool device = false;
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    {
        // The target is opened without any access, only to learn what it is.
        const WindowsHandle existing(::CreateFileW(target.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!existing.valid()) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_NOT_FOUND) {
                return Failure(ErrnoFromWindowsError(error));
            }
            return ReplaceRegular(target, INVALID_FILE_ATTRIBUTES, bytes);
        }
        device = ::GetFileType(existing.get()) != FILE_TYPE_DISK;
        BY_HANDLE_FILE_INFORMATION info{};
        if (!device && ::GetFileInformationByHandle(existing.get(), &info) == 0) {
            return Failure(LastErrorNumber());
        }
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return Failure(EISDIR);
        }
        attributes = info.dwFileAttributes;
    }
    if (device) {
        return WriteIntoDevice(target, bytes);
    }
    if (IsReadOnlyFile(Utf8FromPath(target))) {
        return FailureSaying(EACCES, "読み取り専用のファイルです");
    }
    return ReplaceRegular(target, attributes, bytes);
}

#else

namespace {

bool ReadOnly(const char* path, const struct stat& info)
{
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return true;
    }
    return ::geteuid() != 0 && ::faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

}  // namespace

bool IsReadOnlyFile(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) &&
           ReadOnly(path.c_str(), info);
}

ReplaceResult ReplaceFileAtomically(const std::string& path, std::string_view bytes)
{
    if (path.empty()) {
        return Failure(ENOENT);
    }
    const fs::path target = ResolveLinks(path);
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0) {
        if (errno != ENOENT) {
            return Failure(errno);
        }
        return ReplaceRegular(target, nullptr, bytes);
    }
    if (S_ISDIR(old.st_mode)) {
        return Failure(EISDIR);
    }
    if (!S_ISREG(old.st_mode) && !S_ISCHR(old.st_mode) && !S_ISFIFO(old.st_mode)) {
        return FailureSaying(0, "通常のファイルではないため保存できません");
    }
    if (ReadOnly(target.c_str(), old)) {
        return FailureSaying(EACCES, "読み取り専用のファイルです");
    }
    if (!S_ISREG(old.st_mode)) {
        return WriteIntoSpecialFile(target, S_ISFIFO(old.st_mode), bytes);
    }
    if (::geteuid() != 0 && old.st_uid != ::geteuid()) {
        return FailureSaying(EPERM, "別のユーザーのファイルのため置き換えられません");
    }
    return ReplaceRegular(target, &old, bytes);
}

#endif

}  // namespace kl
