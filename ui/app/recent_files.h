#pragma once
// The recent-file list of the File menu: up to 16 paths, the latest first, kept in the
// per-user profile.
#include <QString>
#include <QStringList>

namespace kl {
class UserProfile;
}

class RecentFileList {
public:
    static constexpr int kCapacity = 16;

    void Load(const kl::UserProfile& profile);
    // Stores the files opened since Load first, then the list as stored now (another
    // window may have stored its own files meanwhile) without the files removed here.
    bool Save(kl::UserProfile& profile) const;

    // Puts path first; an entry for the same file moves up instead of appearing twice, and
    // the oldest entry drops out beyond the capacity.
    void Add(const QString& path);
    void Remove(const QString& path);

    const QStringList& files() const { return files_; }

private:
    QStringList MergedWith(const QStringList& stored) const;

    QStringList files_;
    QStringList opened_;   // added since Load
    QStringList removed_;  // removed since Load and not added again
};

// The menu text of entry index (0-based): "&1 path" .. "&9 path", "1&0 path", "11 path"..;
// ampersands of the path are doubled so that they show.
QString RecentFileMenuText(int index, const QString& path);
