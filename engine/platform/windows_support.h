#pragma once
// Helpers for the Windows halves of the platform layer.
#if defined(_WIN32)
#include <windows.h>

#include <cstdint>

#include "engine/platform/file_time.h"

namespace kl {

// The errno value of a Windows system error (GetLastError()), for FileErrorText; EIO for
// an error without a counterpart.
int ErrnoFromWindowsError(unsigned long error);

// An open file handle, closed when the object goes away.
class WindowsHandle {
public:
    explicit WindowsHandle(HANDLE handle) : handle_(handle) {}
    ~WindowsHandle()
    {
        if (valid())
            ::CloseHandle(handle_);
    }
    WindowsHandle(const WindowsHandle&) = delete;
    WindowsHandle& operator=(const WindowsHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Others may read, write, rename or delete a file while it is open here, as they may on
// other systems.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A FILETIME (100-nanosecond steps since 1601) as seconds and nanoseconds since 1970.
FileTime FileTimeFromWindows(std::uint32_t high, std::uint32_t low);

}  // namespace kl
#endif
