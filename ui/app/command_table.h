#pragma once
// The main window's command table: menu text, keys, status-bar prompt with tool tip and
// toolbar icon of every command, and the QAction made from an entry.
#include <QKeySequence>
#include <QList>
#include <QString>

class QAction;
class QObject;

struct CommandEntry {
    int id = 0;
    QString menuText;            // "text\tkeys": what follows the tab only names the keys
    QList<QKeySequence> keys;    // the first is the one the menu shows
    QString prompt;              // status-bar prompt, then "\n" and the tool tip (optional)
    QString icon;                // resource path of the toolbar icon; empty: not on the toolbar
};

// The entry of a command; nullptr for an identifier that is not in the table.
const CommandEntry* FindCommand(int id);

// An action for the entry: text, shortcuts, status tip, tool tip, icon, and the identifier
// as its data. Its object name is "cmd<id>".
QAction* CreateCommandAction(const CommandEntry& entry, QObject* parent);

// The identifier an action carries; 0 for an action without one.
int CommandId(const QAction* action);
