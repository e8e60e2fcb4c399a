#pragma once
// The per-user profile: main window placement and the recent-file list. It lives in the
// user's QSettings store (organisation "Harrowfen", application "Kestrilane"), apart from the
// settings file beside the executable.
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QSettings;

namespace kl {

// Section "Settings" of the profile.
struct WindowPlacement {
    int left = 0;     // restored rectangle of the main window
    int top = 0;
    int right = 0;
    int bottom = 0;
    int showCmd = 0;  // show state when the window is first shown (3 maximised, 1 normal, ...)
    int wide = 0;     // width of the rebar band with the compare-mode combo box
    int height = 0;   // minimum child width of that band (the key name is historical)
    int cmbLeft = 0;  // ideal width of that band
};

class UserProfile {
public:
    static constexpr int kRecentFileCount = 16;

    // The user's real profile.
    UserProfile();
    // A profile kept in the INI file at iniFilePath (tests use a temporary file).
    explicit UserProfile(const QString& iniFilePath);
    ~UserProfile();
    UserProfile(const UserProfile&) = delete;
    UserProfile& operator=(const UserProfile&) = delete;

    // Missing or non-numeric values take their defaults, which depend on the screen size and
    // the width of the compare-mode combo box.
    WindowPlacement ReadWindowPlacement(QSize screenSize, int comboWidth) const;
    bool WriteWindowPlacement(const WindowPlacement& placement);

    // "Recent File List", "File1" ... "File16": the non-empty entries in order.
    QStringList ReadRecentFiles() const;
    // Stores the first kRecentFileCount entries and removes the keys beyond them.
    bool WriteRecentFiles(const QStringList& files);
    // Stores update(the list stored now), with a lock that keeps other programs' updates
    // out between the reading and the writing.
    bool UpdateRecentFiles(const std::function<QStringList(const QStringList& stored)>& update);

private:
    int ReadInt(const QString& key, int defaultValue) const;
    bool Sync();

    std::unique_ptr<QSettings> settings_;
};

}  // namespace kl
