#include "engine/platform/file_copy.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "engine/platform/atomic_file.h"
#include "engine/platform/save_temporary.h"
#include "engine/platform/utf8_path.h"

namespace kl {

namespace fs = std::filesystem;

namespace {

int ErrnoOf(const std::error_code& ec)
{
    return ec.category() == std::generic_category() || ec.category() == std::system_category() ? ec.value() : EIO;
}

CopyResult Failure(CopyOutcome outcome, int error, const fs::path& path)
{
    CopyResult result;
    result.outcome = outcome;
    result.error = error;
    result.failedPath = Utf8FromPath(path);
    return result;
}

CopyResult CopyFile(const fs::path& source, const fs::path& target, bool replaceExisting)
{
    std::error_code ec;
    const fs::file_status existing = fs::symlink_status(target, ec);
    const bool exists = fs::exists(existing);
    if (exists && !replaceExisting)
        return Failure(CopyOutcome::TargetExists, EEXIST, target);
    if (exists && (!fs::is_regular_file(existing) || IsReadOnlyFile(Utf8FromPath(target))))
        return Failure(CopyOutcome::Refused, EACCES, target);
    const fs::path temporary = target.parent_path() / PathFromUtf8(NewSaveTemporaryName());
    if (!fs::copy_file(source, temporary, fs::copy_options::none, ec)) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return Failure(CopyOutcome::Failed, ErrnoOf(ec), ec == std::errc::no_such_file_or_directory ? source : target);
    }
    const fs::file_time_type modified = fs::last_write_time(source, ec);
    if (!ec)
        fs::last_write_time(temporary, modified, ec);
    if (!ec) {
        if (exists) {
            fs::rename(temporary, target, ec);
        } else {
            // A second name and no rename: a file that appeared meanwhile is never replaced.
            fs::create_hard_link(temporary, target, ec);
            if (ec && ec != std::errc::file_exists) {
                ec.clear();
                if (std::error_code probe; !fs::exists(fs::symlink_status(target, probe)))
                    fs::rename(temporary, target, ec);
            }
        }
    }
    std::error_code ignored;
    if (fs::exists(fs::symlink_status(temporary, ignored)))
        fs::remove(temporary, ignored);
    if (ec == std::errc::file_exists)
        return Failure(CopyOutcome::TargetExists, EEXIST, target);
    if (ec)
        return Failure(CopyOutcome::Failed, ErrnoOf(ec), target);
    CopyResult result;
    result.copiedFiles = 1;
    return result;
}

CopyResult CopyAny(const fs::path& source, const fs::path& target, bool replaceExisting)
{
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(source, ec);
    if (ec)
        return Failure(CopyOutcome::Failed, ErrnoOf(ec), source);
    if (fs::is_symlink(status)) {
        const fs::path pointsTo = fs::read_symlink(source, ec);
        if (std::error_code probe; !ec && fs::exists(fs::symlink_status(target, probe)))
            return Failure(replaceExisting ? CopyOutcome::Refused : CopyOutcome::TargetExists, EEXIST, target);
        if (!ec)
            fs::create_symlink(pointsTo, target, ec);
        return ec ? Failure(CopyOutcome::Failed, ErrnoOf(ec), target) : CopyResult{};
    }
    if (fs::is_regular_file(status))
        return CopyFile(source, target, replaceExisting);
    if (!fs::is_directory(status))
        return {};  // pipes, sockets and devices are never opened, so never copied
    const fs::file_status targetStatus = fs::symlink_status(target, ec);
    if (fs::exists(targetStatus) && !fs::is_directory(targetStatus))
        return Failure(CopyOutcome::Refused, ENOTDIR, target);
    if (!fs::exists(targetStatus) && !fs::create_directory(target, source, ec))
        return Failure(CopyOutcome::Failed, ErrnoOf(ec), target);
    CopyResult total;
    for (fs::directory_iterator it(source, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const CopyResult part = CopyAny(it->path(), target / it->path().filename(), replaceExisting);
        total.copiedFiles += part.copiedFiles;
        if (part.outcome != CopyOutcome::Copied) {
            CopyResult failed = part;
            failed.copiedFiles = total.copiedFiles;
            return failed;
        }
    }
    if (ec)
        return Failure(CopyOutcome::Failed, ErrnoOf(ec), source);
    return total;
}

}  // namespace

CopyResult CopyEntry(const std::string& source, const std::string& target, bool replaceExisting)
{
    return CopyAny(PathFromUtf8(source), PathFromUtf8(target), replaceExisting);
}

}  // namespace kl
