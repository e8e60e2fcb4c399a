#pragma once
// Operations on the engine document: loading a file into the next free text, clearing,
// and the queries other parts of the program ask.
#include <functional>
#include <memory>
#include <string>

#include "engine/document/file_reader.h"
#include "engine/document/text_document.h"
#include "engine/document/text_loader.h"

namespace kl {

// Number of loaded texts (0, 1 or 2).
int LoadedTextCount(const TextDocument& doc);
// Lines of text k, 0 when it is not loaded.
int LineCount(const TextDocument& doc, int k);
// Index of the longest line of text k; 256 when text k is not loaded.
int LongestLine(const TextDocument& doc, int k);

// Releases the texts, file data, rows and blocks and zeroes the tree queue.
void ClearDocument(TextDocument& doc);

// Reads the file into the next free text and records its path, name, information text and
// longest line; while doc.recording is on, the path's 1-based position goes into the first
// free slot of pendingTreePaths. eucChg converts EUC-JP lines. On failure the document is
// unchanged, false is returned and error holds a Japanese message naming the file. When
// two texts are loaded already nothing is read: false with an empty error (the open
// sequence below asks the user before it gets here). After a load the file changed during,
// note (when given) holds a Japanese message for the user; otherwise it is emptied.
// Messages name the file by DisplayPath.
// progress (when given) follows the reading of the file.
bool LoadIntoDocument(TextDocument& doc, const std::string& path, bool eucChg, std::string& error,
                      EncodingChoice choice = EncodingChoice::Auto, std::string* note = nullptr,
                      const ReadProgress& progress = {});

// A file read into a text that no document holds yet, with what LoadIntoDocument records
// of it. Reading touches no document, so files can be read on several threads at once.
struct LoadedFile {
    std::string path;
    std::shared_ptr<const Text> text;  // null when the file could not be read
    std::string name;
    std::string info;
    FileStamp stamp;
    std::string note;   // the file changed while it was read (Japanese), else empty
    std::string error;  // why it could not be read (Japanese, naming the file)
};
LoadedFile ReadTextFile(const std::string& path, bool eucChg, EncodingChoice choice = EncodingChoice::Auto,
                        const ReadProgress& progress = {});
// The second half of LoadIntoDocument: the read file goes into the next free text.
bool AddLoadedFile(TextDocument& doc, LoadedFile&& loaded, std::string& error, std::string* note = nullptr);

enum class OpenOutcome {
    LoadedDocA,   // the file became DocA
    LoadedDocB,   // the file became DocB (the automatic comparison rule applies now)
    Refused,      // two texts were loaded and the user kept them
    Failed,       // the file could not be read; error says why
};

// The open sequence: when two texts are loaded, askClear decides whether they are cleared
// first (false, or no askClear, leaves everything as it was: Refused); then the file is
// loaded. A load that fails after the clear leaves the document empty. note as above.
OpenOutcome OpenDocumentFile(TextDocument& doc, const std::string& path, bool eucChg,
                             const std::function<bool()>& askClear, std::string& error,
                             std::string* note = nullptr, const ReadProgress& progress = {});

// A loaded file was moved or renamed: every entry loaded from `from` now names `to` (path
// and file name; the text and its stamp stay). False when no entry had that path.
bool RenameFilePath(TextDocument& doc, const std::string& from, const std::string& to);

// DocA and DocB change places: texts, file data and encoding choices. The result goes (the
// texts must be compared again) and both paths are queued for the file tree in their new
// order. False, with nothing changed, unless two texts are loaded.
bool SwapSides(TextDocument& doc);

// The window title: the given title with fewer than two file names, else "nameA-nameB".
std::string DocumentTitle(const TextDocument& doc, const std::string& givenTitle);

}  // namespace kl
