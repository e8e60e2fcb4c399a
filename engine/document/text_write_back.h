#pragma once
// Writing a loaded text back over the file it was read from.
#include <string>

#include "engine/document/text_document.h"

namespace kl {

enum class WriteBackOutcome {
    Written,
    Converted,      // EUC-JP lines were converted on loading: writing would change the encoding
    ReadOnly,       // the file may not be written (IsReadOnlyFile)
    ChangedOnDisk,  // the file is no longer the one that was read (or is gone)
    Failed,         // the write itself failed (or text k is not loaded); the file is untouched
};

struct WriteBackResult {
    WriteBackOutcome outcome = WriteBackOutcome::Failed;
    int errorNumber = 0;  // errno of a failed write, 0 when unknown
    std::string reason;   // why the write failed, in Japanese (UTF-8); empty otherwise
};

// Replaces the file of text k (its path in filePaths) with the text's bytes through
// ReplaceFileAtomically (atomically, keeping the file's permissions and owner). A converted
// text and a read-only file are never written; a file changed since it was read only with
// overwriteChanged. After a write the entry (and
// another one read from the same file in the same state) takes the new file's stamp and
// information text.
WriteBackResult WriteBackText(TextDocument& doc, int k, bool overwriteChanged);

}  // namespace kl
