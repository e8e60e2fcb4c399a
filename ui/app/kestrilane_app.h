#pragma once
// The application object: start-up from the command line, the document and the main
// window, the File > Open and File > New commands and the recent-file list.
#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/command_line.h"
#include "ui/app/recent_files.h"
#include "ui/document/user_prompts.h"

class CKestrilaneDoc;
class CMainFrame;
namespace kl {
class UserProfile;
}

class CKestrilaneApp : public QObject {
    Q_OBJECT

public:
    // iniPath: the settings file; empty when it cannot be located (defaults apply and
    // nothing is written). profile: the per-user profile (window placement). Creates the
    // document, with the settings read, and the main window, not yet shown.
    CKestrilaneApp(std::string iniPath, std::unique_ptr<kl::UserProfile> profile);
    ~CKestrilaneApp() override;

    // Start-up: parses the command line (words[0] is the program name), opens the file
    // arguments and shows the main window. False
    // when a file could not be opened or the user refused to clear the loaded texts; the
    // program then ends.
    bool InitInstance(const std::vector<std::string>& words);
    // Opens the file arguments in order, m_nArgIndex holding each one's position.
    bool ProcessCommandLineFiles(const kl::CommandLine& commandLine);

    // The common open path of the command line, the File menu, dropped files and the
    // recent-file list. A file that was opened goes to the top of the recent-file list.
    bool OpenDocumentFile(const std::string& path);
    // File > Open: asks for two files in a row; a cancelled prompt only skips its file.
    void OnFileOpen();
    // File > New: stops a running comparison, then clears the document.
    void OnFileNew();
    // Opens entry index of the recent-file list; an entry whose file is gone leaves the list.
    void OpenRecentFile(int index);
    const RecentFileList& recentFiles() const { return recentFiles_; }

    CKestrilaneDoc* document() const { return doc_.get(); }
    CMainFrame* mainFrame() const { return frame_.get(); }
    const std::string& settingsPath() const { return iniPath_; }
    kl::UserProfile& profile() const { return *profile_; }

    // Command-line position of the file being opened; 0 for opens that do not come from
    // the command line. Kept after start-up until the document is cleared.
    int m_nArgIndex = 0;
    std::string m_szOption;  // "o" after the switch /o, else empty
    int m_nArgCount = 0;     // command-line words, the program name included
    UserPrompts prompts = InteractivePrompts();

signals:
    void recentFilesChanged();

private:
    std::string iniPath_;
    std::unique_ptr<kl::UserProfile> profile_;
    RecentFileList recentFiles_;
    std::unique_ptr<CKestrilaneDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
};
