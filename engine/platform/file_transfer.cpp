#include "engine/platform/file_transfer.h"

#include <filesystem>
#include <system_error>

#include "engine/platform/file_names.h"
#include "engine/platform/utf8_path.h"

namespace kl {

namespace fs = std::filesystem;

namespace {

enum class Placed { Done, NameTaken, Failed };

// Copies source to target, which must not exist yet. A copy that breaks off leaves no
// partial file behind.
Placed CopyNew(const fs::path& source, const fs::path& target)
{
    std::error_code ec;
    if (fs::copy_file(source, target, fs::copy_options::none, ec))
        return Placed::Done;
    if (ec == std::errc::file_exists)
        return Placed::NameTaken;
    // The name was free just before, and the copy creates its file exclusively, so what is
    // there now is the broken-off copy.
    std::error_code ignored;
    if (fs::symlink_status(target, ignored).type() == fs::file_type::regular)
        fs::remove(target, ignored);
    return Placed::Failed;
}

// A second name for the same data when source and target share a file system; the source
// name is removed afterwards. Symbolic links are left to the copy, which follows them.
Placed LinkNew(const fs::path& source, const fs::path& target)
{
    std::error_code ec;
    if (fs::symlink_status(source, ec).type() != fs::file_type::regular)
        return Placed::Failed;
    fs::create_hard_link(source, target, ec);
    if (!ec)
        return Placed::Done;
    return ec == std::errc::file_exists ? Placed::NameTaken : Placed::Failed;
}

// Puts the file's data under target: a move links where it can, everything else copies.
Placed PlaceFile(const fs::path& source, const fs::path& target, TransferKind kind)
{
    if (kind == TransferKind::Move) {
        const Placed placed = LinkNew(source, target);
        if (placed != Placed::Failed)
            return placed;
    }
    const Placed placed = CopyNew(source, target);
    if (placed == Placed::Done) {
        std::error_code ec;
        const fs::file_time_type modified = fs::last_write_time(source, ec);
        if (!ec)
            fs::last_write_time(target, modified, ec);
    }
    return placed;
}

}  // namespace

TransferResult TransferFile(const std::string& sourcePath, const std::string& folder,
                            TransferKind kind)
{
    TransferResult result;
    std::error_code ec;
    const fs::path source = PathFromUtf8(sourcePath);
    if (sourcePath.empty() || folder.empty() || !fs::is_regular_file(source, ec))
        return result;

    const std::string ownName = Utf8FromPath(source.filename());
    std::string name = ownName;
    for (int attempt = 0; attempt <= kMaxRenameTries; ++attempt, name = NextFileName(name)) {
        const fs::path target = PathFromUtf8(folder) / PathFromUtf8(name);
        if (fs::exists(fs::symlink_status(target, ec)))
            continue;

        const Placed placed = PlaceFile(source, target, kind);
        if (placed == Placed::NameTaken)
            continue;
        if (placed == Placed::Failed)
            return result;

        if (kind == TransferKind::Move && !fs::remove(source, ec)) {
            std::error_code ignored;
            fs::remove(target, ignored);
            return result;
        }
        result.ok = true;
        result.targetPath = Utf8FromPath(target);
        result.targetName = name;
        result.renamed = name != ownName;
        return result;
    }
    return result;
}

}  // namespace kl
