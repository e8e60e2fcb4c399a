// Saving edited texts, and the question before an edited text goes.
#include <QFile>

#include "engine/document/document_ops.h"
#include "engine/platform/file_error_text.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/platform/path_text.h"
#include "ui/document/doc_name.h"

namespace {

QString CharacterText(char32_t cp)
{
    if (cp == 0xFFFD)
        return QStringLiteral(u"文字でないバイト");
    return QStringLiteral(u"「%1」(U+%2)")
        .arg(QString::fromUcs4(&cp, 1), QString::number(static_cast<uint>(cp), 16).toUpper().rightJustified(4, '0'));
}

}  // namespace

QString CKestrilaneDoc::FailureDetail(const std::string& reason, int errorNumber)
{
    if (!reason.empty())
        return QStringLiteral("\n(") + QString::fromStdString(reason) + ')';
    if (errorNumber != 0)
        return QStringLiteral("\n(") + QString::fromStdString(kl::FileErrorText(errorNumber)) + ')';
    return {};
}

bool CKestrilaneDoc::SaveSide(int side)
{
    return SaveWith(side, {});
}

bool CKestrilaneDoc::SaveSideAs(int side)
{
    const auto k = static_cast<std::size_t>(side);
    if (side < 0 || side > 1 || !textDoc.texts[k] || k >= textDoc.filePaths.size() || !context_.prompts ||
        !context_.prompts->chooseSavePath)
        return false;
    kl::FileEncoding encoding = textDoc.texts[k]->origin.encoding;
    const QString path = context_.prompts->chooseSavePath(
        DialogParent(), QStringLiteral(u"%1を名前を付けて保存").arg(DocName(side)), PathText(textDoc.filePaths[k]),
        encoding);
    if (path.isEmpty())
        return false;
    kl::SaveRequest request;
    request.path = QFile::encodeName(path).toStdString();
    request.encoding = encoding;
    return SaveWith(side, request);
}

bool CKestrilaneDoc::SaveWith(int side, kl::SaveRequest request)
{
    const UserPrompts* prompts = context_.prompts;
    const auto k = static_cast<std::size_t>(side);
    if (side < 0 || side > 1 || !textDoc.texts[k] || k >= textDoc.filePaths.size())
        return false;
    const std::shared_ptr<const kl::Text> before = textDoc.texts[k];
    for (;;) {
        const QString path = PathText(request.path.empty() ? textDoc.filePaths[k] : request.path);
        const kl::SaveResult result = kl::SaveText(textDoc, side, request);
        QString message;
        switch (result.outcome) {
        case kl::SaveOutcome::Saved:
            if (textDoc.texts[k] != before)
                emit documentChanged();  // the same lines, known to be in another encoding
            if (kl::LoadedTextCount(textDoc) == 1)
                givenTitle_ = textDoc.fileNames[k];
            MarkSaved(side);
            return true;
        case kl::SaveOutcome::Unencodable: {
            const kl::Unencodable& at = *result.unencodable;
            const kl::FileEncoding encoding = request.encoding.value_or(textDoc.texts[k]->origin.encoding);
            const QString question =
                QStringLiteral(u"%1の%2行目の%3は%4では保存できません。\nUTF-8で保存しますか？（戻る場合は保存しません。）")
                    .arg(DocName(side))
                    .arg(at.line + 1)
                    .arg(CharacterText(at.character))
                    .arg(QString::fromUtf8(kl::FileEncodingName(encoding)));
            if (!prompts || !prompts->askSaveAsUtf8 || !prompts->askSaveAsUtf8(DialogParent(), question))
                return false;
            request.encoding = kl::FileEncoding::Utf8;
            continue;
        }
        case kl::SaveOutcome::ChangedOnDisk: {
            const QString question =
                QStringLiteral(u"ファイル「%1」は読み込んだ後に変更または削除されています。\n上書きしますか？").arg(path);
            if (!prompts || !prompts->askOverwriteChanged || !prompts->askOverwriteChanged(DialogParent(), question))
                return false;
            request.overwriteChanged = true;
            continue;
        }
        case kl::SaveOutcome::ReadOnly:
            message = QStringLiteral(u"ファイル「%1」は読み取り専用のため保存できませんでした。").arg(path);
            break;
        case kl::SaveOutcome::Failed:
            message = QStringLiteral(u"ファイル「%1」に保存できませんでした。ファイルは元のままです。").arg(path) +
                      FailureDetail(result.reason, result.errorNumber);
            break;
        }
        if (prompts && prompts->showSaveError)
            prompts->showSaveError(DialogParent(), message);
        return false;
    }
}

bool CKestrilaneDoc::AskSaveEdited()
{
    for (int side = 0; side < 2; ++side) {
        if (!edited(side))
            continue;
        const UserPrompts* prompts = context_.prompts;
        if (!prompts || !prompts->askSaveEdited)
            return false;  // nothing goes unasked
        switch (prompts->askSaveEdited(DialogParent(), QStringLiteral(u"%1の変更を保存しますか？").arg(DocName(side)))) {
        case UserPrompts::SaveAnswer::Yes:
            if (!SaveSide(side))
                return false;
            break;
        case UserPrompts::SaveAnswer::No:
            break;
        case UserPrompts::SaveAnswer::Cancel:
            return false;
        }
    }
    return true;
}

void CKestrilaneDoc::MarkSaved(int side)
{
    textDoc.edited[static_cast<std::size_t>(side)] = false;
    emit sideSaved(side);
    emit titleChanged(Title());
}
