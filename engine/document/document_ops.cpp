#include "engine/document/document_ops.h"

#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

#include "engine/document/file_reader.h"
#include "engine/document/text_loader.h"
#include "engine/platform/display_path.h"

namespace kl {

namespace {

bool ValidText(int k)
{
    return k == DOC_A || k == DOC_B;
}

std::string CannotOpenMessage(const std::string& path, const std::string& reason)
{
    return "ファイル「" + DisplayPath(path) + "」を開けません。\n(" + reason + ")";
}

std::string ChangedWhileReadingNote(const std::string& path)
{
    return "ファイル「" + DisplayPath(path) + "」は読み込み中に変更されました（再読み込みで今の内容を読み込めます）";
}

}  // namespace

int LoadedTextCount(const TextDocument& doc)
{
    int count = 0;
    while (count < static_cast<int>(doc.texts.size()) && doc.texts[static_cast<std::size_t>(count)])
        ++count;
    return count;
}

int LineCount(const TextDocument& doc, int k)
{
    return ValidText(k) && doc.texts[static_cast<std::size_t>(k)] ? doc.texts[static_cast<std::size_t>(k)]->count() : 0;
}

int LongestLine(const TextDocument& doc, int k)
{
    constexpr int kNotLoaded = 256;
    if (!ValidText(k) || !doc.texts[static_cast<std::size_t>(k)])
        return kNotLoaded;
    return doc.texts[static_cast<std::size_t>(k)]->longestLine;
}

void ClearDocument(TextDocument& doc)
{
    for (auto& text : doc.texts)
        text.reset();
    doc.filePaths = {};
    doc.fileNames = {};
    doc.fileInfos = {};
    doc.fileStamps = {};
    doc.result = std::make_shared<const CompareResult>();
    doc.pendingTreePaths = {0, 0, 0};
    doc.encodingChoices = {EncodingChoice::Auto, EncodingChoice::Auto};
    doc.edited = {false, false};
}

bool SwapSides(TextDocument& doc)
{
    if (LoadedTextCount(doc) != 2 || doc.filePaths.size() < 2)
        return false;
    std::swap(doc.texts[0], doc.texts[1]);
    std::swap(doc.encodingChoices[0], doc.encodingChoices[1]);
    std::swap(doc.edited[0], doc.edited[1]);
    for (std::vector<std::string>* entries : {&doc.filePaths, &doc.fileNames, &doc.fileInfos}) {
        if (entries->size() >= 2)
            std::swap((*entries)[0], (*entries)[1]);
    }
    if (doc.fileStamps.size() >= 2)
        std::swap(doc.fileStamps[0], doc.fileStamps[1]);
    doc.result = std::make_shared<const CompareResult>();
    doc.pendingTreePaths = {1, 2, 0};
    return true;
}

LoadedFile ReadTextFile(const std::string& path, bool eucChg, EncodingChoice choice, const ReadProgress& progress)
{
    LoadedFile loaded;
    loaded.path = path;
    // Taken before reading: a change while the file is read then shows as a change later.
    loaded.stamp = StampOfFile(path);
    try {
        FileReadResult file = ReadWholeFile(path, progress);
        if (!file.ok) {
            loaded.error = CannotOpenMessage(path, file.reason);
            return loaded;
        }
        const std::uint64_t size = file.size;
        if (file.changedWhileReading)
            loaded.note = ChangedWhileReadingNote(path);
        loaded.text = std::make_shared<const Text>(SplitLinesOwned(std::move(file.bytes), file.size, eucChg, choice, &file.scanned));
        loaded.info = FormatFileInfo(file.modified, size);
        loaded.name = FileNameOf(path);
    } catch (const std::bad_alloc&) {
        loaded.text.reset();
        loaded.error = CannotOpenMessage(path, "メモリが足りません");
    } catch (const std::length_error&) {
        loaded.text.reset();
        loaded.error = CannotOpenMessage(path, "2 GB を超える行があります");
    }
    return loaded;
}

bool AddLoadedFile(TextDocument& doc, LoadedFile&& loaded, std::string& error, std::string* note)
{
    error.clear();
    if (note)
        note->clear();
    const int slot = LoadedTextCount(doc);
    if (slot >= static_cast<int>(doc.texts.size()))
        return false;
    if (!loaded.text) {
        error = std::move(loaded.error);
        return false;
    }
    // Everything is built first and committed only at the end, so a failure leaves the
    // document as it was.
    std::shared_ptr<const Text> text = std::move(loaded.text);
    const std::string& path = loaded.path;
    // A pair in two encodings is held in one: the code page 932 text is read as UTF-8.
    const std::shared_ptr<const Text>& other = doc.texts[static_cast<std::size_t>(1 - std::min(slot, 1))];
    std::shared_ptr<const Text> otherConverted;
    try {
        doc.filePaths.reserve(doc.filePaths.size() + 1);
        doc.fileNames.reserve(doc.fileNames.size() + 1);
        doc.fileInfos.reserve(doc.fileInfos.size() + 1);
        doc.fileStamps.reserve(doc.fileStamps.size() + 1);
        if (slot == 1 && other && other->encoding != text->encoding) {
            if (text->encoding == TextEncoding::Cp932)
                text = std::make_shared<const Text>(ConvertedToUtf8(*text));
            else
                otherConverted = std::make_shared<const Text>(ConvertedToUtf8(*other));
        }
    } catch (const std::bad_alloc&) {
        error = CannotOpenMessage(path, "メモリが足りません");
        return false;
    }
    if (otherConverted)
        doc.texts[0] = std::move(otherConverted);
    doc.texts[static_cast<std::size_t>(slot)] = std::move(text);
    doc.filePaths.push_back(path);
    doc.fileNames.push_back(std::move(loaded.name));
    doc.fileInfos.push_back(std::move(loaded.info));
    doc.fileStamps.push_back(loaded.stamp);
    if (note)
        *note = std::move(loaded.note);
    if (doc.recording) {
        for (int& pending : doc.pendingTreePaths) {
            if (pending == 0) {
                pending = static_cast<int>(doc.filePaths.size());
                break;
            }
        }
    }
    return true;
}

bool LoadIntoDocument(TextDocument& doc, const std::string& path, bool eucChg, std::string& error,
                      EncodingChoice choice, std::string* note, const ReadProgress& progress)
{
    error.clear();
    if (note)
        note->clear();
    if (LoadedTextCount(doc) >= static_cast<int>(doc.texts.size()))
        return false;
    return AddLoadedFile(doc, ReadTextFile(path, eucChg, choice, progress), error, note);
}

OpenOutcome OpenDocumentFile(TextDocument& doc, const std::string& path, bool eucChg,
                             const std::function<bool()>& askClear, std::string& error, std::string* note,
                             const ReadProgress& progress)
{
    error.clear();
    if (note)
        note->clear();
    if (LoadedTextCount(doc) == 2) {
        if (!askClear || !askClear())
            return OpenOutcome::Refused;
        ClearDocument(doc);
    }
    const int before = LoadedTextCount(doc);
    const EncodingChoice choice = doc.encodingChoices[static_cast<std::size_t>(std::min(before, 1))];
    if (!LoadIntoDocument(doc, path, eucChg, error, choice, note, progress))
        return OpenOutcome::Failed;
    return before == 0 ? OpenOutcome::LoadedDocA : OpenOutcome::LoadedDocB;
}

bool RenameFilePath(TextDocument& doc, const std::string& from, const std::string& to)
{
    bool renamed = false;
    for (std::size_t k = 0; k < doc.filePaths.size(); ++k) {
        if (doc.filePaths[k] != from)
            continue;
        doc.filePaths[k] = to;
        if (k < doc.fileNames.size())
            doc.fileNames[k] = FileNameOf(to);
        renamed = true;
    }
    return renamed;
}

std::string DocumentTitle(const TextDocument& doc, const std::string& givenTitle)
{
    // An edited text's name carries a "*" until the text is saved.
    const auto mark = [&](std::size_t k) { return doc.texts[k] && doc.edited[k] ? "*" : ""; };
    if (doc.fileNames.size() < 2)
        return givenTitle.empty() ? givenTitle : givenTitle + mark(0);
    return doc.fileNames[0] + mark(0) + "-" + doc.fileNames[1] + mark(1);
}

}  // namespace kl
