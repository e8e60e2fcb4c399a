#include "engine/document/text_write_back.h"

#include "engine/document/text_loader.h"
#include "engine/platform/atomic_file.h"

namespace kl {

namespace {

WriteBackResult Outcome(WriteBackOutcome outcome)
{
    WriteBackResult result;
    result.outcome = outcome;
    return result;
}

}  // namespace

WriteBackResult WriteBackText(TextDocument& doc, int k, bool overwriteChanged)
{
    if (k < 0 || k >= static_cast<int>(doc.texts.size()) || !doc.texts[static_cast<std::size_t>(k)] ||
        static_cast<std::size_t>(k) >= doc.filePaths.size())
        return Outcome(WriteBackOutcome::Failed);
    const Text& text = *doc.texts[static_cast<std::size_t>(k)];
    const std::string path = doc.filePaths[static_cast<std::size_t>(k)];
    if (text.converted)
        return Outcome(WriteBackOutcome::Converted);
    if (IsReadOnlyFile(path))
        return Outcome(WriteBackOutcome::ReadOnly);
    const FileStamp loaded = static_cast<std::size_t>(k) < doc.fileStamps.size()
        ? doc.fileStamps[static_cast<std::size_t>(k)] : FileStamp{};
    if (!overwriteChanged && !FileUnchanged(path, loaded))
        return Outcome(WriteBackOutcome::ChangedOnDisk);
    const ReplaceResult replaced = ReplaceFileAtomically(path, text.bytes());
    if (!replaced)
        return {WriteBackOutcome::Failed, replaced.errorNumber, replaced.reason};

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
    return Outcome(WriteBackOutcome::Written);
}

}  // namespace kl
