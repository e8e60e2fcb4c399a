#include "engine/platform/directory_listing.h"

#include <algorithm>
#include <cerrno>

#if defined(_WIN32)
#include <filesystem>
#include <optional>
#include <system_error>

#include "engine/platform/utf8_path.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kl {

namespace {

#if defined(_WIN32)
namespace fs = std::filesystem;

void FillFromPath(const fs::path& path, ListedEntry& entry)
{
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec) {
        entry.error = ec == std::errc::no_such_file_or_directory ? ENOENT : EACCES;
        entry.kind = EntryKind::Missing;
        return;
    }
    switch (status.type()) {
    case fs::file_type::regular: entry.kind = EntryKind::File; break;
    case fs::file_type::directory: entry.kind = EntryKind::Folder; break;
    case fs::file_type::symlink: entry.kind = EntryKind::Link; break;
    case fs::file_type::not_found: entry.kind = EntryKind::Missing; entry.error = ENOENT; return;
    default: entry.kind = EntryKind::Special; break;
    }
    if (entry.kind == EntryKind::File) {
        entry.size = fs::file_size(path, ec);
        if (ec)
            entry.error = EIO;
    }
    if (entry.kind == EntryKind::Link) {
        entry.linkTarget = Utf8FromPath(fs::read_symlink(path, ec));
    } else if (const std::optional<FileTime> modified = LastWriteTime(Utf8FromPath(path))) {
        entry.modified = *modified;
    }
}
#else
void FillFromStat(const struct stat& st, ListedEntry& entry)
{
    if (S_ISREG(st.st_mode))
        entry.kind = EntryKind::File;
    else if (S_ISDIR(st.st_mode))
        entry.kind = EntryKind::Folder;
    else if (S_ISLNK(st.st_mode))
        entry.kind = EntryKind::Link;
    else
        entry.kind = EntryKind::Special;
    entry.size = entry.kind == EntryKind::File ? static_cast<std::uint64_t>(st.st_size) : 0;
    entry.modified.seconds = st.st_mtim.tv_sec;
    entry.modified.nanoseconds = static_cast<std::int32_t>(st.st_mtim.tv_nsec);
}

std::string ReadLinkAt(int folder, const char* name, std::size_t sizeHint)
{
    std::string target(std::max<std::size_t>(sizeHint, 64) + 1, '\0');
    for (;;) {
        const ssize_t n = ::readlinkat(folder, name, target.data(), target.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < target.size()) {
            target.resize(static_cast<std::size_t>(n));
            return target;
        }
        target.resize(target.size() * 2);
    }
}
#endif

}  // namespace

FolderListing ListFolder(const std::string& utf8Path)
{
    FolderListing listing;
#if defined(_WIN32)
    std::error_code ec;
    fs::directory_iterator it(PathFromUtf8(utf8Path), ec);
    if (ec) {
        listing.error = ec == std::errc::no_such_file_or_directory ? ENOENT : ec == std::errc::not_a_directory ? ENOTDIR : EACCES;
        return listing;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        ListedEntry entry;
        entry.name = Utf8FromPath(it->path().filename());
        FillFromPath(it->path(), entry);
        listing.entries.push_back(std::move(entry));
    }
    if (ec)
        listing.error = EIO;
#else
    const int folder = ::open(utf8Path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        listing.error = errno;
        return listing;
    }
    const int walker = ::dup(folder);
    DIR* dir = walker < 0 ? nullptr : ::fdopendir(walker);
    if (!dir) {
        listing.error = errno;
        if (walker >= 0)
            ::close(walker);
        ::close(folder);
        return listing;
    }
    errno = 0;
    while (const dirent* d = ::readdir(dir)) {
        const char* name = d->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        ListedEntry entry;
        entry.name = name;
        struct stat st;
        if (::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            entry.error = errno;
        } else {
            FillFromStat(st, entry);
            if (entry.kind == EntryKind::Link)
                entry.linkTarget = ReadLinkAt(folder, name, static_cast<std::size_t>(st.st_size));
        }
        listing.entries.push_back(std::move(entry));
        errno = 0;
    }
    if (errno != 0)
        listing.error = errno;
    ::closedir(dir);
    ::close(folder);
#endif
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const ListedEntry& a, const ListedEntry& b) { return a.name < b.name; });
    return listing;
}

ListedEntry ExaminePath(const std::string& utf8Path)
{
    ListedEntry entry;
#if defined(_WIN32)
    FillFromPath(PathFromUtf8(utf8Path), entry);
#else
    struct stat st;
    if (::lstat(utf8Path.c_str(), &st) != 0) {
        entry.kind = EntryKind::Missing;
        entry.error = errno;
        return entry;
    }
    FillFromStat(st, entry);
#endif
    return entry;
}

bool IsHiddenName(const std::string& name)
{
    return !name.empty() && name[0] == '.';
}

}  // namespace kl
