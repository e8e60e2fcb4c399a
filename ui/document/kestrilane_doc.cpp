#include "ui/document/kestrilane_doc.h"

#include <QFile>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>

#include "engine/document/document_ops.h"
#include "engine/document/file_reader.h"
#include "engine/document/newline_rebuild.h"
#include "engine/document/text_write_back.h"
#include "engine/platform/utf8_path.h"
#include "ui/document/background_load.h"
#include "ui/platform/font_resolver.h"
#include "ui/platform/path_text.h"

CKestrilaneDoc::CKestrilaneDoc(DocumentContext context, const std::string& iniPath, QObject* parent)
    : QObject(parent), context_(std::move(context)), iniPath_(iniPath)
{
    kl::LoadViewSettings(iniPath_, docSettings, compareOptions, fontSettings);
    CreateFonts();
    // Marks belong to the rows of the texts and the result shown until now.
    connect(this, &CKestrilaneDoc::documentChanged, &marksLoader_, &CMarksLoader::Forget);
}

void CKestrilaneDoc::CreateFonts()
{
    leftFont = kl::CreateViewFont(fontSettings.faceName1, fontSettings.height, fontSettings.size,
                                  fontSettings.weight1);
    if (fontSettings.individual) {
        rightFont = kl::CreateViewFont(fontSettings.faceName2, fontSettings.height,
                                       fontSettings.size, fontSettings.weight2);
    }
}

const QFont& CKestrilaneDoc::rightViewFont() const
{
    return fontSettings.individual ? rightFont : leftFont;
}

void CKestrilaneDoc::LoadColorSettings(kl::ColorRef windowColor)
{
    kl::LoadColorSettings(iniPath_, colors, leftMessage, rightMessage, windowColor);
}

std::shared_ptr<const kl::ShownRows> CKestrilaneDoc::Shown(const kl::DisplayOptions& options) const
{
    // Rows of texts or a result the document no longer holds are let go, so that the
    // texts are freed with the document's.
    const auto current = [this](const kl::ShownRows& rows) {
        return rows.result() == textDoc.result &&
               (rows.options().mode == DISPLAY_RESULT || (rows.SharedText(kl::DOC_A) == textDoc.texts[0] &&
                                                          rows.SharedText(kl::DOC_B) == textDoc.texts[1]));
    };
    // Rows the new result keeps (an edit that moved no line) are carried over at once.
    for (std::shared_ptr<const kl::ShownRows>& cached : shown_) {
        if (!cached || current(*cached))
            continue;
        if (cached->Serve(textDoc.texts, *textDoc.result, cached->options()))
            cached = std::make_shared<const kl::ShownRows>(textDoc.texts, textDoc.result, cached->options(), cached.get());
        else
            cached.reset();
    }
    kl::DisplayOptions key = options;
    key.paired = options.paired && options.mode == DISPLAY_RESULT;
    std::shared_ptr<const kl::ShownRows>& cached = shown_[options.mode == DISPLAY_SOURCE ? 0 : 1];
    if (!cached || cached->options() != key)
        cached = std::make_shared<const kl::ShownRows>(textDoc.texts, textDoc.result, key);
    return cached;
}

void CKestrilaneDoc::SetResult(std::shared_ptr<const kl::CompareResult> result)
{
    textDoc.result = std::move(result);
    emit documentChanged();
}

bool CKestrilaneDoc::OnNewDocument()
{
    kl::ClearDocument(textDoc);
    givenTitle_.clear();
    if (context_.argIndex)
        *context_.argIndex = 0;
    emit cleared();
    emit documentChanged();
    emit titleChanged(Title());
    return true;
}

bool CKestrilaneDoc::AskClearLoaded()
{
    if (!context_.prompts || !context_.prompts->askClearLoaded || !context_.prompts->askClearLoaded(DialogParent()))
        return false;
    OnNewDocument();
    return true;
}

// The open sequence for a large file: the question first, then the reading on a worker,
// into a copy of the document that takes the place of the document once the file is in.
kl::OpenOutcome CKestrilaneDoc::OpenInBackground(const std::string& path, std::string& error, std::string& note)
{
    if (kl::LoadedTextCount(textDoc) == 2 && !AskClearLoaded())
        return kl::OpenOutcome::Refused;
    kl::TextDocument loaded = textDoc;
    kl::OpenOutcome outcome = kl::OpenOutcome::Failed;
    loading_ = true;
    emit loadingChanged(true, QFile::decodeName(kl::FileNameOf(path).c_str()));
    try {
        RunWhilePainting(
            [&](const std::function<void(int)>& report) {
                outcome = kl::OpenDocumentFile(loaded, path, docSettings.eucChg > 0, {}, error, &note,
                                               [&report](std::uint64_t done, std::uint64_t total) {
                                                   report(total == 0 ? 100 : static_cast<int>(done * 100 / total));
                                               });
            },
            [this](int percent) { emit loadProgress(percent); });
    } catch (const std::exception&) {
        outcome = kl::OpenOutcome::Failed;
        error.clear();
    }
    loading_ = false;
    emit loadingChanged(false, QString());
    if (outcome == kl::OpenOutcome::LoadedDocA || outcome == kl::OpenOutcome::LoadedDocB) {
        loaded.result = textDoc.result;  // a comparison that ended meanwhile keeps its result
        textDoc = std::move(loaded);
    }
    return outcome;
}

bool CKestrilaneDoc::OnOpenDocument(const std::string& path)
{
    if (loading_)
        return false;  // one load at a time
    std::string error;
    std::string note;
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(kl::PathFromUtf8(path), sizeError);
    const kl::OpenOutcome outcome =
        !sizeError && size >= backgroundLoadBytes
            ? OpenInBackground(path, error, note)
            : kl::OpenDocumentFile(textDoc, path, docSettings.eucChg > 0, [this] { return AskClearLoaded(); }, error,
                                   &note);

    switch (outcome) {
    case kl::OpenOutcome::Refused:
        return false;
    case kl::OpenOutcome::Failed:
        if (context_.prompts && context_.prompts->showOpenError) {
            const QString message = error.empty()
                ? QStringLiteral(u"ファイル「%1」を開けません。").arg(PathText(path))
                : QString::fromUtf8(error);
            context_.prompts->showOpenError(DialogParent(), message);
        }
        return false;
    case kl::OpenOutcome::LoadedDocA:
    case kl::OpenOutcome::LoadedDocB:
        break;
    }

    givenTitle_ = textDoc.fileNames.back();
    emit documentChanged();
    emit titleChanged(Title());
    if (!note.empty())
        emit loadNoted(QString::fromStdString(note));
    if (outcome == kl::OpenOutcome::LoadedDocB) {
        emit docBLoaded();
        const kl::AutoCompare kind = kl::DecideAutoCompare(
            context_.argIndex ? *context_.argIndex : 0, docSettings, static_cast<int>(textDoc.fileNames.size()));
        if (kind != kl::AutoCompare::None)
            emit autoCompareRequested(kind);
    }
    return true;
}

QString CKestrilaneDoc::Title() const
{
    return QFile::decodeName(kl::DocumentTitle(textDoc, givenTitle_).c_str());
}

namespace {

QString RepairedDocuments(kl::RepairedTexts repaired)
{
    switch (repaired) {
    case kl::RepairedTexts::DocA: return QStringLiteral(u"文書A");
    case kl::RepairedTexts::DocB: return QStringLiteral(u"文書B");
    default: return QStringLiteral(u"文書AとB両方");
    }
}

}  // namespace

void CKestrilaneDoc::RebuildNewlines()
{
    const UserPrompts* prompts = context_.prompts;
    kl::RepairedTexts repaired = kl::RepairedTexts::None;
    try {
        repaired = kl::RebuildDocumentNewlines(textDoc);
    } catch (const std::bad_alloc&) {
        if (prompts && prompts->showRebuildError)
            prompts->showRebuildError(DialogParent(), QStringLiteral(u"メモリが足りないため改行を構築できませんでした。"));
        return;
    } catch (const std::length_error&) {
        if (prompts && prompts->showRebuildError)
            prompts->showRebuildError(DialogParent(), QStringLiteral(u"2 GB を超える行があるため改行を構築できませんでした。"));
        return;
    }
    if (repaired == kl::RepairedTexts::None) {
        if (prompts && prompts->showRebuildInformation)
            prompts->showRebuildInformation(
                DialogParent(), QStringLiteral(u"LFのみとCRの連続をチェックしましたが問題ありませんでした。"));
        return;
    }
    emit documentChanged();

    const QString report = RepairedDocuments(repaired) +
                           QStringLiteral(u"にLFのみまたはCRの連続の矛盾点を発見し修正しました。\r\n"
                                          u"修正ファイルを記録しますか？（元に戻す場合はいいえを押して再読込してください。）");
    if (!prompts || !prompts->askRecordRepaired || !prompts->askRecordRepaired(DialogParent(), report))
        return;
    for (int k = 0; k < 2; ++k) {
        if (kl::Repaired(repaired, k))
            WriteBackRepaired(k);
    }
}

void CKestrilaneDoc::WriteBackRepaired(int k)
{
    const UserPrompts* prompts = context_.prompts;
    const QString path = PathText(textDoc.filePaths[static_cast<std::size_t>(k)]);
    kl::WriteBackResult written = kl::WriteBackText(textDoc, k, false);
    if (written.outcome == kl::WriteBackOutcome::ChangedOnDisk) {
        const QString question =
            QStringLiteral(u"ファイル「%1」は読み込んだ後に変更または削除されています。\r\n"
                           u"修正した内容で上書きしますか？（いいえの場合、修正は画面上にのみ残ります。）")
                .arg(path);
        if (!prompts || !prompts->askOverwriteChanged || !prompts->askOverwriteChanged(DialogParent(), question))
            return;
        written = kl::WriteBackText(textDoc, k, true);
    }

    QString message;
    switch (written.outcome) {
    case kl::WriteBackOutcome::Written:
    case kl::WriteBackOutcome::ChangedOnDisk:
        return;
    case kl::WriteBackOutcome::Converted: {
        // Named by what the text was converted from.
        const kl::Text* text = textDoc.texts[static_cast<std::size_t>(k)].get();
        const QString from = !text ? QStringLiteral("EUC-JP")
                             : text->conversion == kl::Text::Conversion::FromUtf16 ? QStringLiteral("UTF-16")
                             : text->conversion == kl::Text::Conversion::FromCp932 ? QStringLiteral("Shift_JIS")
                                                                                     : QStringLiteral("EUC-JP");
        message = QStringLiteral(u"ファイル「%1」は%2から変換して読み込んだため記録しませんでした。"
                                 u"記録すると文字コードが変わってしまいます。")
                      .arg(QStringLiteral("%1"), from);
        break;
    }
    case kl::WriteBackOutcome::ReadOnly:
        message = QStringLiteral(u"ファイル「%1」は読み取り専用のため記録しませんでした。");
        break;
    case kl::WriteBackOutcome::Failed:
        message = QStringLiteral(u"ファイル「%1」に書き込めませんでした。ファイルは元のままです。") +
                  FailureDetail(written.reason, written.errorNumber);
        break;
    }
    if (prompts && prompts->showRebuildError)
        prompts->showRebuildError(DialogParent(), message.arg(path));
}

void CKestrilaneDoc::RenameFilePath(const std::string& from, const std::string& to)
{
    if (!kl::RenameFilePath(textDoc, from, to))
        return;
    givenTitle_ = textDoc.fileNames.back();
    emit documentChanged();
    emit titleChanged(Title());
}
