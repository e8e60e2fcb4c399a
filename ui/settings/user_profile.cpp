#include "ui/settings/user_profile.h"

#include <QLockFile>
#include <QSettings>

namespace kl {
namespace {

const QString kPlacementGroup = QStringLiteral("Settings");
const QString kRecentGroup = QStringLiteral("Recent File List");

QString RecentKey(int number)
{
    return QStringLiteral("File%1").arg(number);
}

}  // namespace

UserProfile::UserProfile()
    : settings_(std::make_unique<QSettings>(QStringLiteral("Harrowfen"), QStringLiteral("Kestrilane")))
{
}

UserProfile::UserProfile(const QString& iniFilePath)
    : settings_(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat))
{
}

UserProfile::~UserProfile() = default;

int UserProfile::ReadInt(const QString& key, int defaultValue) const
{
    bool ok = false;
    int value = settings_->value(kPlacementGroup + QLatin1Char('/') + key).toInt(&ok);
    return ok ? value : defaultValue;
}

bool UserProfile::Sync()
{
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

WindowPlacement UserProfile::ReadWindowPlacement(QSize screenSize, int comboWidth) const
{
    WindowPlacement placement;
    placement.left = ReadInt(QStringLiteral("left"), 10);
    placement.top = ReadInt(QStringLiteral("top"), 20);
    placement.right = ReadInt(QStringLiteral("right"), screenSize.width() - 30);
    placement.bottom = ReadInt(QStringLiteral("bottom"), screenSize.height() / 4 * 3);
    placement.showCmd = ReadInt(QStringLiteral("showcmd"), 5);
    placement.wide = ReadInt(QStringLiteral("wide"), 210);
    placement.height = ReadInt(QStringLiteral("height"), comboWidth + 30);
    placement.cmbLeft = ReadInt(QStringLiteral("cmbleft"), 210);
    return placement;
}

bool UserProfile::WriteWindowPlacement(const WindowPlacement& placement)
{
    settings_->beginGroup(kPlacementGroup);
    settings_->setValue(QStringLiteral("left"), placement.left);
    settings_->setValue(QStringLiteral("top"), placement.top);
    settings_->setValue(QStringLiteral("right"), placement.right);
    settings_->setValue(QStringLiteral("bottom"), placement.bottom);
    settings_->setValue(QStringLiteral("showcmd"), placement.showCmd);
    settings_->setValue(QStringLiteral("wide"), placement.wide);
    settings_->setValue(QStringLiteral("height"), placement.height);
    settings_->setValue(QStringLiteral("cmbleft"), placement.cmbLeft);
    settings_->endGroup();
    return Sync();
}

QStringList UserProfile::ReadRecentFiles() const
{
    QStringList files;
    for (int number = 1; number <= kRecentFileCount; ++number) {
        QString file = settings_->value(kRecentGroup + QLatin1Char('/') + RecentKey(number)).toString();
        if (!file.isEmpty()) {
            files.append(file);
        }
    }
    return files;
}

bool UserProfile::WriteRecentFiles(const QStringList& files)
{
    settings_->beginGroup(kRecentGroup);
    for (int number = 1; number <= kRecentFileCount; ++number) {
        if (number <= files.size()) {
            settings_->setValue(RecentKey(number), files[number - 1]);
        } else {
            settings_->remove(RecentKey(number));
        }
    }
    settings_->endGroup();
    return Sync();
}

bool UserProfile::UpdateRecentFiles(const std::function<QStringList(const QStringList& stored)>& update)
{
    // A lock of its own: the store locks its file only while it writes, not from the
    // reading to the writing. Without the lock (a folder that cannot be written) the update
    // goes ahead alone.
    QLockFile lock(settings_->fileName() + QStringLiteral(".update.lock"));
    const bool locked = lock.lock();
    settings_->sync();  // takes in what other programs stored since
    const bool written = WriteRecentFiles(update(ReadRecentFiles()));
    if (locked)
        lock.unlock();
    return written;
}

}  // namespace kl
