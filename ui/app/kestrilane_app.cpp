#include "ui/app/kestrilane_app.h"

#include <filesystem>

#include "engine/platform/utf8_path.h"

#include <QFile>
#include <QFileInfo>

#include "ui/app/main_frame.h"
#include "engine/document/document_ops.h"
#include "ui/document/kestrilane_doc.h"
#include "ui/settings/user_profile.h"

CKestrilaneApp::CKestrilaneApp(std::string iniPath, std::unique_ptr<kl::UserProfile> profile)
    : iniPath_(std::move(iniPath)), profile_(std::move(profile))
{
    recentFiles_.Load(*profile_);
    DocumentContext context;
    context.prompts = &prompts;
    context.dialogParent = [this]() -> QWidget* { return frame_.get(); };
    context.argIndex = &m_nArgIndex;
    doc_ = std::make_unique<CKestrilaneDoc>(std::move(context), iniPath_);
    frame_ = std::make_unique<CMainFrame>(*this, *doc_);
}

// The frame refers to the document, so it goes first; the recent-file list is stored last.
CKestrilaneApp::~CKestrilaneApp()
{
    frame_.reset();
    doc_.reset();
    recentFiles_.Save(*profile_);
}

bool CKestrilaneApp::InitInstance(const std::vector<std::string>& words)
{
    const kl::CommandLine commandLine = kl::ParseCommandLine(words);
    m_szOption = commandLine.option;
    if (!ProcessCommandLineFiles(commandLine))
        return false;
    frame_->ShowPlaced();
    return true;
}

bool CKestrilaneApp::ProcessCommandLineFiles(const kl::CommandLine& commandLine)
{
    m_nArgIndex = 0;
    m_nArgCount = commandLine.argCount;
    // Two folders are compared as folders.
    if (commandLine.files.size() == 2) {
        std::error_code error;
        if (std::filesystem::is_directory(kl::PathFromUtf8(commandLine.files[0].path), error) &&
            std::filesystem::is_directory(kl::PathFromUtf8(commandLine.files[1].path), error)) {
            frame_->CompareFolders(commandLine.files[0].path, commandLine.files[1].path);
            return true;
        }
    }
    for (const kl::FileArgument& file : commandLine.files) {
        m_nArgIndex = file.position;
        if (!OpenDocumentFile(file.path))
            return false;
    }
    // With no file argument the document stays empty, as created.
    return true;
}

bool CKestrilaneApp::OpenDocumentFile(const std::string& path)
{
    // The document records full paths, whatever directory the name was given relative to.
    // They are made on the bytes, which a round trip through QString would not keep.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(kl::PathFromUtf8(path), error);
    const std::string fullPath = error ? path : kl::Utf8FromPath(absolute.lexically_normal());
    if (!doc_->OnOpenDocument(fullPath))
        return false;
    recentFiles_.Add(QFile::decodeName(fullPath.c_str()));
    emit recentFilesChanged();
    return true;
}

void CKestrilaneApp::OpenRecentFile(int index)
{
    if (index < 0 || index >= recentFiles_.files().size())
        return;
    const QString path = recentFiles_.files()[index];
    if (!OpenDocumentFile(QFile::encodeName(path).toStdString()) && !QFileInfo::exists(path)) {
        recentFiles_.Remove(path);
        emit recentFilesChanged();
    }
}

void CKestrilaneApp::OnFileOpen()
{
    if (!prompts.chooseFile)
        return;
    for (int prompt = 0; prompt < 2; ++prompt) {
        // The file chosen becomes DocB after one loaded text, and DocA otherwise: with two
        // loaded, it replaces both once the user agrees.
        const kl::TextDocument& text = doc_->textDoc;
        const QString caption = kl::LoadedTextCount(text) == 1 ? QStringLiteral(u"開く - DocB")
                                                                : QStringLiteral(u"開く - DocA");
        QString directory;
        if (!text.filePaths.empty())
            directory = QFileInfo(QFile::decodeName(text.filePaths.back().c_str())).absolutePath();
        const QString chosen = prompts.chooseFile(frame_.get(), caption, directory);
        if (!chosen.isEmpty())
            OpenDocumentFile(QFile::encodeName(chosen).toStdString());
    }
}

void CKestrilaneApp::OnFileNew()
{
    frame_->CancelCompare();
    doc_->OnNewDocument();
}
