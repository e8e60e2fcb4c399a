#include "ui/document/kestrilane_doc.h"

#include <QFile>

#include "engine/document/document_ops.h"
#include "ui/platform/font_resolver.h"

CKestrilaneDoc::CKestrilaneDoc(DocumentContext context, const std::string& iniPath, QObject* parent)
    : QObject(parent), context_(std::move(context)), iniPath_(iniPath)
{
    kl::LoadViewSettings(iniPath_, docSettings, compareOptions, fontSettings);
    CreateFonts();
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

bool CKestrilaneDoc::OnOpenDocument(const std::string& path)
{
    std::string error;
    const kl::OpenOutcome outcome = kl::OpenDocumentFile(
        textDoc, path, docSettings.eucChg > 0, [this] { return AskClearLoaded(); }, error);

    switch (outcome) {
    case kl::OpenOutcome::Refused:
        return false;
    case kl::OpenOutcome::Failed:
        if (context_.prompts && context_.prompts->showOpenError) {
            const QString message = error.empty()
                ? QStringLiteral(u"ファイル「%1」を開けません。").arg(QFile::decodeName(path.c_str()))
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
