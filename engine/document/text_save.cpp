#include "engine/document/text_save.h"

#include <cstring>
#include <utility>

#include "engine/document/file_reader.h"
#include "engine/document/text_loader.h"
#include "engine/platform/atomic_file.h"

namespace kl {

namespace {

SaveResult Outcome(SaveOutcome outcome)
{
    SaveResult result;
    result.outcome = outcome;
    return result;
}

// The same lines, known to be written in another encoding from now on.
std::shared_ptr<const Text> WithFileEncoding(const Text& text, FileEncoding encoding)
{
    auto copy = std::make_shared<Text>();
    copy->storage = std::make_unique_for_overwrite<char[]>(text.size);
    if (text.size > 0)
        std::memcpy(copy->storage.get(), text.storage.get(), text.size);
    copy->size = text.size;
    copy->starts = text.starts;
    copy->readLengths = text.readLengths;
    copy->longestLine = text.longestLine;
    copy->converted = text.converted;
    copy->encoding = text.encoding;
    copy->conversion = text.conversion;
    copy->origin.encoding = encoding;  // the file is exactly its encoding now: nothing kept
    return copy;
}

EncodingChoice ChoiceFor(FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::ShiftJis: return EncodingChoice::ShiftJis;
    case FileEncoding::EucJp: return EncodingChoice::EucJp;
    case FileEncoding::Utf8:
    case FileEncoding::Utf8Bom: return EncodingChoice::Utf8;
    default: return EncodingChoice::Auto;  // UTF-16 tells itself by its byte order mark
    }
}

}  // namespace

SaveResult SaveText(TextDocument& doc, int k, const SaveRequest& request)
{
    const auto side = static_cast<std::size_t>(k);
    if (k < 0 || side >= doc.texts.size() || !doc.texts[side] || side >= doc.filePaths.size())
        return Outcome(SaveOutcome::Failed);
    const std::shared_ptr<const Text> text = doc.texts[side];
    const bool ownFile = request.path.empty() || request.path == doc.filePaths[side];
    const std::string path = ownFile ? doc.filePaths[side] : request.path;
    const FileEncoding encoding = request.encoding.value_or(text->origin.encoding);

    const FileBytes bytes = EncodeForFile(*text, encoding);
    if (bytes.unencodable) {
        SaveResult result = Outcome(SaveOutcome::Unencodable);
        result.unencodable = bytes.unencodable;
        return result;
    }
    if (IsReadOnlyFile(path))
        return Outcome(SaveOutcome::ReadOnly);
    const FileStamp loaded = side < doc.fileStamps.size() ? doc.fileStamps[side] : FileStamp{};
    if (ownFile && !request.overwriteChanged && !FileUnchanged(path, loaded))
        return Outcome(SaveOutcome::ChangedOnDisk);
    const ReplaceResult replaced = ReplaceFileAtomically(path, bytes.bytes(*text));
    if (!replaced)
        return {SaveOutcome::Failed, std::nullopt, replaced.errorNumber, replaced.reason};

    if (encoding != text->origin.encoding) {
        doc.texts[side] = WithFileEncoding(*text, encoding);
        // A reload reads the file as it is written now.
        doc.encodingChoices[side] = ChoiceFor(encoding);
    }
    if (!ownFile) {
        doc.filePaths[side] = path;
        if (side < doc.fileNames.size())
            doc.fileNames[side] = FileNameOf(path);
    }
    // Only this entry: another one read from the same file no longer holds what it holds.
    const FileStamp written = StampOfFile(path);
    doc.fileStamps.resize(doc.filePaths.size());
    doc.fileInfos.resize(doc.filePaths.size());
    doc.fileStamps[side] = written;
    if (written.known)
        doc.fileInfos[side] = FormatFileInfo(ModifiedTime(written), written.size);
    doc.edited[side] = false;
    return Outcome(SaveOutcome::Saved);
}

}  // namespace kl
