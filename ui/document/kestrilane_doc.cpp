#include "ui/document/kestrilane_doc.h"

#include <QFile>

#include "ui/app/kestrilane_app.h"
#include "ui/app/main_frame.h"
#include "engine/document/document_ops.h"
#include "ui/platform/font_resolver.h"

CKestrilaneDoc::CKestrilaneDoc(CKestrilaneApp& app, const std::string& iniPath, QObject* parent)
    : QObject(parent), app_(app), iniPath_(iniPath)
{
    kl::LoadViewSettings(iniPath_, docSettings, kl::ProcessCompareOptions(), fontSettings);
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

bool CKestrilaneDoc::OnNewDocument()
{
    kl::ClearDocument(textDoc);
    givenTitle_.clear();
    app_.m_nArgIndex = 0;
    emit cleared();
    emit documentChanged();
    emit titleChanged(Title());
    return true;
}

bool CKestrilaneDoc::AskClearLoaded()
{
    const UserPrompts& prompts = app_.prompts;
    if (!prompts.askClearLoaded || !prompts.askClearLoaded(app_.mainFrame()))
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
        if (app_.prompts.showOpenError) {
            const QString message = error.empty()
                ? QStringLiteral(u"ファイル「%1」を開けません。").arg(QFile::decodeName(path.c_str()))
                : QString::fromUtf8(error);
            app_.prompts.showOpenError(app_.mainFrame(), message);
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
            app_.m_nArgIndex, docSettings, static_cast<int>(textDoc.fileNames.size()));
        if (kind != kl::AutoCompare::None)
            emit autoCompareRequested(kind);
    }
    return true;
}

QString CKestrilaneDoc::Title() const
{
    return QFile::decodeName(kl::DocumentTitle(textDoc, givenTitle_).c_str());
}
