#include "ui/pairs/file_set_menu.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include "engine/platform/cp932.h"
#include "engine/settings/file_set_settings.h"

CFileSetMenu::CFileSetMenu(QMenu* pairMenu, QMenu* fileMenu, std::string iniPath, QObject* parent)
    : QObject(parent), menu_(pairMenu), iniPath_(std::move(iniPath))
{
    isFile = [](const std::string& path) {
        return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).isFile();
    };
    if (fileMenu)
        connect(fileMenu, &QMenu::aboutToShow, this, &CFileSetMenu::Rebuild);
}

void CFileSetMenu::Rebuild()
{
    if (!menu_)
        return;
    for (QAction* action : actions_) {
        // The rebuild may come from a slot of the item's own signal.
        menu_->removeAction(action);
        action->deleteLater();
    }
    actions_.clear();
    entries_ = kl::ReadFileSetEntries(iniPath_);
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        const int id = kFirstCommand + static_cast<int>(index);
        QString pairText = QString::fromStdU16String(kl::Cp932ToUtf16(entries_[index]));
        pairText.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* action = new QAction(QStringLiteral("&%1 ").arg(index + 1) + pairText, menu_);
        action->setObjectName(QStringLiteral("cmd%1").arg(id));
        action->setData(id);
        action->setEnabled(id <= kLastCommand);
        connect(action, &QAction::triggered, this, [this, id] { Choose(id); });
        menu_->addAction(action);
        actions_.push_back(action);
    }
}

bool CFileSetMenu::Choose(int id)
{
    const int index = id - kFirstCommand;
    if (id > kLastCommand || index < 0 || index >= static_cast<int>(entries_.size()))
        return false;
    const std::string pairText = kl::SettingsTextToFileName(entries_[static_cast<std::size_t>(index)]);
    emit fileSetChosen(kl::SplitPairText(pairText, isFile));
    return true;
}
