#include "engine/platform/input_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>

#if defined(_WIN32)
#include <windows.h>

#include <cwctype>

#include "engine/platform/utf8_path.h"
#include "engine/platform/windows_support.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kl {

#if defined(_WIN32)

namespace {

HANDLE Handle(void* handle)
{
    return static_cast<HANDLE>(handle);
}

// NUL is a device in every folder and with any extension ("C:\\x\\nul.txt" too).
bool NamesNullDevice(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L"\\/:");
    const std::size_t start = separator == std::wstring::npos ? 0 : separator + 1;
    std::wstring name = path.substr(start, path.find(L'.', start) - start);
    while (!name.empty() && name.back() == L' ')
        name.pop_back();
    if (name.size() != 3)
        return false;
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towlower(c));
    return name == L"nul";
}

}  // namespace

InputFile::InputFile(const std::string& utf8Path, [[maybe_unused]] InputOpen how)
{
    const std::wstring path = utf8Path == "/dev/null" ? std::wstring(L"NUL") : WideFromUtf8(utf8Path);
    // FILE_FLAG_BACKUP_SEMANTICS opens a folder too, so that it can be named as one.
    handle_ = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (Handle(handle_) == INVALID_HANDLE_VALUE) {
        handle_ = nullptr;
        openError_ = ErrnoFromWindowsError(::GetLastError());
        return;
    }
    nullDevice_ = ::GetFileType(Handle(handle_)) == FILE_TYPE_CHAR && NamesNullDevice(path);
}

InputFile::~InputFile()
{
    if (handle_ != nullptr)
        ::CloseHandle(Handle(handle_));
}

bool InputFile::IsOpen() const
{
    return handle_ != nullptr;
}

std::optional<InputState> InputFile::State(int& error) const
{
    InputState state;
    if (::GetFileType(Handle(handle_)) != FILE_TYPE_DISK) {
        state.kind = nullDevice_ ? InputKind::NullDevice : InputKind::Other;
        return state;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(Handle(handle_), &info) == 0) {
        error = ErrnoFromWindowsError(::GetLastError());
        return std::nullopt;
    }
    state.kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? InputKind::Directory : InputKind::Regular;
    state.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    state.modified = FileTimeFromWindows(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    return state;
}

long long InputFile::ReadSome(char* buffer, std::size_t size)
{
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, std::size_t{1} << 30));
    if (::ReadFile(Handle(handle_), buffer, wanted, &got, nullptr) == 0) {
        const DWORD failure = ::GetLastError();
        // The writer of a pipe closing its end is the pipe's end, not an error.
        if (failure == ERROR_BROKEN_PIPE)
            return 0;
        errno = ErrnoFromWindowsError(failure);
        return -1;
    }
    return static_cast<long long>(got);
}

bool InputFile::Seek(std::uint64_t offset)
{
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    if (::SetFilePointerEx(Handle(handle_), distance, nullptr, FILE_BEGIN) == 0) {
        errno = ErrnoFromWindowsError(::GetLastError());
        return false;
    }
    return true;
}

long long InputFile::NextData(std::uint64_t offset)
{
    return static_cast<long long>(offset);
}

#else

InputFile::InputFile(const std::string& utf8Path, InputOpen how)
{
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of waiting.
    fd_ = ::open(utf8Path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        openError_ = errno;
        return;
    }
    if (how == InputOpen::ListedFile)
        return;
    // A regular file is then read as usual.
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode)) {
        const int flags = ::fcntl(fd_, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    }
}

InputFile::~InputFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool InputFile::IsOpen() const
{
    return fd_ >= 0;
}

namespace {

bool IsNullDevice(const struct stat& status)
{
    struct stat null {};
    return S_ISCHR(status.st_mode) && ::stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode) &&
           status.st_rdev == null.st_rdev;
}

InputKind KindOf(const struct stat& status)
{
    if (S_ISREG(status.st_mode))
        return InputKind::Regular;
    if (S_ISDIR(status.st_mode))
        return InputKind::Directory;
    return IsNullDevice(status) ? InputKind::NullDevice : InputKind::Other;
}

}  // namespace

std::optional<InputState> InputFile::State(int& error) const
{
    struct stat status {};
    if (::fstat(fd_, &status) != 0) {
        error = errno;
        return std::nullopt;
    }
    InputState state;
    state.kind = KindOf(status);
    state.size = status.st_size > 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
    state.modified = {static_cast<std::int64_t>(status.st_mtim.tv_sec),
                      static_cast<std::int32_t>(status.st_mtim.tv_nsec)};
    return state;
}

long long InputFile::ReadSome(char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, std::min<std::size_t>(size, std::size_t{1} << 30));
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

bool InputFile::Seek(std::uint64_t offset)
{
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

long long InputFile::NextData(std::uint64_t offset)
{
#if defined(SEEK_DATA)
    const off_t data = ::lseek(fd_, static_cast<off_t>(offset), SEEK_DATA);
    if (data >= 0)
        return static_cast<long long>(data);
    if (errno == ENXIO)
        return -1;
#endif
    return static_cast<long long>(offset);
}

#endif

long long InputFile::ReadFull(char* buffer, std::size_t size)
{
    std::size_t filled = 0;
    while (filled < size) {
        const long long got = ReadSome(buffer + filled, size - filled);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(filled);
}

}  // namespace kl
