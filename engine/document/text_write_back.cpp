#include "engine/document/text_write_back.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "engine/document/text_loader.h"
#include "engine/platform/atomic_file.h"

namespace kl {

namespace {

// An existing file without write permission. The atomic replacement only needs the folder
// to be writable, so it would replace a read-only file silently.
bool ReadOnlyFile(const std::string& path)
{
#if defined(_WIN32)
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(path), ec);
    return !ec && fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none;
#else
    return ::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0;
#endif
}

}  // namespace

WriteBackResult WriteBackText(TextDocument& doc, int k, bool overwriteChanged)
{
    if (k < 0 || k >= static_cast<int>(doc.texts.size()) || !doc.texts[static_cast<std::size_t>(k)] ||
        static_cast<std::size_t>(k) >= doc.filePaths.size())
        return {WriteBackOutcome::Failed};
    const Text& text = *doc.texts[static_cast<std::size_t>(k)];
    const std::string path = doc.filePaths[static_cast<std::size_t>(k)];
    if (text.converted)
        return {WriteBackOutcome::Converted};
    if (ReadOnlyFile(path))
        return {WriteBackOutcome::ReadOnly};
    const FileStamp loaded = static_cast<std::size_t>(k) < doc.fileStamps.size()
        ? doc.fileStamps[static_cast<std::size_t>(k)] : FileStamp{};
    if (!overwriteChanged && !FileUnchanged(path, loaded))
        return {WriteBackOutcome::ChangedOnDisk};
    errno = 0;
    if (!ReplaceFileAtomically(path, text.bytes()))
        return {WriteBackOutcome::Failed, errno};

    const FileStamp written = StampOfFile(path);
    doc.fileStamps.resize(doc.filePaths.size());
    doc.fileInfos.resize(doc.filePaths.size());
    for (std::size_t j = 0; j < doc.filePaths.size(); ++j) {
        // A text read from the same file in the same state was rebuilt to the same bytes.
        if (j != static_cast<std::size_t>(k) && (doc.filePaths[j] != path || doc.fileStamps[j] != loaded))
            continue;
        doc.fileStamps[j] = written;
        if (written.known)
            doc.fileInfos[j] = FormatFileInfo(ModifiedTime(written), written.size);
    }
    return {WriteBackOutcome::Written};
}

}  // namespace kl
