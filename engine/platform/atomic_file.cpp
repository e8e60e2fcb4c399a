#include "engine/platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <cstdio>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kl {
namespace {

namespace fs = std::filesystem;

enum class TempResult { Written, NameTaken, Failed };

// The file that is really replaced: the target of a symbolic link, not the link.
fs::path ResolveTarget(const std::string& path)
{
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) {
            return resolved;
        }
    }
    return target;
}

// A name next to the target that no other writer of this process uses; another process
// gets its own names through its process id.
fs::path TemporaryName(const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    std::string name = target.filename().string() + ".tmp-" + std::to_string(counter++);
#if !defined(_WIN32)
    name += "-" + std::to_string(::getpid());
#endif
    return target.parent_path() / name;
}

#if defined(_WIN32)

TempResult WriteTemporary(const fs::path& temp, const fs::path&, std::string_view bytes)
{
    std::FILE* file = _wfopen(temp.c_str(), L"wbx");
    if (file == nullptr) {
        return errno == EEXIST ? TempResult::NameTaken : TempResult::Failed;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    int failure = ok ? 0 : errno;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        if (failure == 0)
            failure = errno;
        std::error_code ec;
        fs::remove(temp, ec);
        errno = failure;
    }
    return ok ? TempResult::Written : TempResult::Failed;
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

// Creates temp exclusively, gives it the permissions of the file it replaces, writes the
// bytes and flushes them to disk. A temporary file that was created but not completed is
// removed again.
TempResult WriteTemporary(const fs::path& temp, const fs::path& target, std::string_view bytes)
{
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno == EEXIST ? TempResult::NameTaken : TempResult::Failed;
    }
    struct stat old {};
    bool ok = true;
    if (::stat(target.c_str(), &old) == 0) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int failure = ok ? 0 : errno;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        if (failure == 0) {
            failure = errno;
        }
        ::unlink(temp.c_str());
        errno = failure;
    }
    return ok ? TempResult::Written : TempResult::Failed;
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

#endif

int ErrnoOf(const std::error_code& error)
{
    const std::error_condition condition = error.default_error_condition();
    return condition.category() == std::generic_category() ? condition.value() : EIO;
}

}  // namespace

// On failure errno tells why: the error of the step that failed, kept past the clean-up.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes)
{
    const fs::path target = ResolveTarget(path);
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        const fs::path temp = TemporaryName(target);
        TempResult result = WriteTemporary(temp, target, bytes);
        if (result == TempResult::NameTaken) {
            continue;
        }
        if (result == TempResult::Failed) {
            return false;
        }
        std::error_code ec;
        fs::rename(temp, target, ec);
        if (ec) {
            const int failure = ErrnoOf(ec);
            fs::remove(temp, ec);
            errno = failure;
            return false;
        }
#if !defined(_WIN32)
        SyncDirectory(target.parent_path());
#endif
        return true;
    }
    return false;
}

}  // namespace kl
