#include "ui/app/recent_files.h"

#include <QDir>

#include "ui/settings/user_profile.h"

namespace {

// File names compare without case where the file system ignores it.
constexpr Qt::CaseSensitivity kPathCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

}  // namespace

void RecentFileList::Load(const kl::UserProfile& profile)
{
    files_.clear();
    // Added oldest first, so that the stored order stays and a repeated entry keeps its
    // earliest (most recent) place.
    const QStringList stored = profile.ReadRecentFiles();
    for (auto file = stored.crbegin(); file != stored.crend(); ++file)
        Add(*file);
}

bool RecentFileList::Save(kl::UserProfile& profile) const
{
    return profile.WriteRecentFiles(files_);
}

void RecentFileList::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    Remove(path);
    files_.prepend(path);
    while (files_.size() > kCapacity)
        files_.removeLast();
}

void RecentFileList::Remove(const QString& path)
{
    files_.removeIf([&path](const QString& file) { return file.compare(path, kPathCase) == 0; });
}

QString RecentFileMenuText(int index, const QString& path)
{
    const int number = index + 1;
    QString label;
    if (number < 10)
        label = QStringLiteral("&%1").arg(number);
    else if (number == 10)
        label = QStringLiteral("1&0");
    else
        label = QString::number(number);
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return label + QLatin1Char(' ') + shown;
}
