#pragma once
// The questions and messages of the merge: the save dialog, errors, the clean-up question,
// the start of the second program and the query window. The program uses dialogs and
// QProcess; tests put answers of their own in their place.
#include <QString>
#include <QStringList>
#include <functional>

class CDlgEditfrm;
class QWidget;

struct MergePrompts {
    // Asks where to save the merged text; empty when the user cancels.
    std::function<QString(QWidget* parent, const QString& caption, const QString& filter,
                          const QString& defaultSuffix)>
        chooseSavePath;
    std::function<void(QWidget* parent, const QString& message)> showError;
    std::function<void(QWidget* parent, const QString& message)> showInfo;
    // A Yes/No question with a warning icon; true for Yes.
    std::function<bool(QWidget* parent, const QString& question)> askYesNo;
    // Starts program with args, detached; false when it could not be started.
    std::function<bool(const QString& program, const QStringList& args)> startProcess;
    // Called once the query window is up and waiting; tests answer it from here.
    std::function<void(CDlgEditfrm& query)> queryShown;
};

// Dialogs, message boxes and QProcess.
MergePrompts InteractiveMergePrompts();
