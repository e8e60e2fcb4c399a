#pragma once
// The File menu's submenu "保存した組み合わせ": one item per recorded pair, read from the
// settings file each time the File menu opens, so a pair recorded since shows at once.
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "engine/settings/file_pair.h"

class QAction;

class CFileSetMenu : public QObject {
    Q_OBJECT

public:
    // Pair k (1-based) carries the command identifier kFirstCommand + k - 1; items past
    // kLastCommand are listed disabled.
    static constexpr int kFirstCommand = 32794;
    static constexpr int kLastCommand = 32814;

    static QString Title() { return QStringLiteral(u"保存した組み合わせ"); }

    // pairMenu is filled anew whenever fileMenu is about to show. iniPath: the settings file
    // (empty: no pairs).
    CFileSetMenu(QMenu* pairMenu, QMenu* fileMenu, std::string iniPath, QObject* parent = nullptr);

    void Rebuild();
    // Chooses the listed pair of command id as a click on its item would; false when no
    // enabled item carries id.
    bool Choose(int id);

    QMenu* menu() const { return menu_; }

    // Whether a path names an existing file; it decides where a pair text whose paths hold
    // " - " is split.
    std::function<bool(const std::string& path)> isFile;

signals:
    // A pair was chosen; its paths are in the system's file-name encoding.
    void fileSetChosen(const kl::FilePair& pair);

private:
    QPointer<QMenu> menu_;
    std::string iniPath_;
    std::vector<std::string> entries_;  // the listed pair texts, as stored
    std::vector<QAction*> actions_;
};
