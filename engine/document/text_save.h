#pragma once
// Saving a text, edited or not, to its file or to another one, in the file's encoding.
#include <optional>
#include <string>

#include "engine/document/file_bytes.h"
#include "engine/document/text_document.h"

namespace kl {

enum class SaveOutcome {
    Saved,
    Unencodable,    // a character the encoding cannot hold; nothing was written
    ReadOnly,       // the file may not be written (IsReadOnlyFile)
    ChangedOnDisk,  // the text's own file is no longer the one that was read (or is gone)
    Failed,         // the write failed (or text k is not loaded); the file is untouched
};

struct SaveRequest {
    std::string path;                      // empty: the text's own file
    std::optional<FileEncoding> encoding;  // unset: the encoding the file was read in
    bool overwriteChanged = false;         // write over a file changed since it was read
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Failed;
    std::optional<Unencodable> unencodable;  // with Unencodable
    int errorNumber = 0;                     // errno of a failed write, 0 when unknown
    std::string reason;                      // why the write failed, in Japanese (UTF-8)
};

// Writes text k through ReplaceFileAtomically (atomically, keeping the file's permissions
// and owner). Every line that was not edited keeps its bytes and line end. A read-only file
// is refused; the text's own file, changed since it was read, only with overwriteChanged.
// After the write, entry k names the file written (path, name, information text, stamp),
// the text knows the encoding it was written in (a reload reads it so), and k is no longer
// edited.
SaveResult SaveText(TextDocument& doc, int k, const SaveRequest& request);

}  // namespace kl
