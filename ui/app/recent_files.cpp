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
    opened_.clear();
    removed_.clear();
}

bool RecentFileList::Save(kl::UserProfile& profile) const
{
    return profile.UpdateRecentFiles([this](const QStringList& stored) { return MergedWith(stored); });
}

QStringList RecentFileList::MergedWith(const QStringList& stored) const
{
    QStringList merged;
    for (const QString& file : files_) {
        if (opened_.contains(file, kPathCase))
            merged.append(file);
    }
    for (const QString& file : stored) {
        if (!merged.contains(file, kPathCase) && !removed_.contains(file, kPathCase))
            merged.append(file);
    }
    return merged.mid(0, kCapacity);
}

void RecentFileList::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    const auto same = [&path](const QString& file) { return file.compare(path, kPathCase) == 0; };
    files_.removeIf(same);
    opened_.removeIf(same);
    removed_.removeIf(same);
    files_.prepend(path);
    opened_.append(path);
    while (files_.size() > kCapacity)
        files_.removeLast();
}

void RecentFileList::Remove(const QString& path)
{
    const auto same = [&path](const QString& file) { return file.compare(path, kPathCase) == 0; };
    files_.removeIf(same);
    opened_.removeIf(same);
    removed_.append(path);
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
