#pragma once
// What the file tree pane asks of the user and the desktop: the folder browser, its
// messages and opening a file with its associated program. Tests put their own in place.
#include <QString>
#include <functional>

class QWidget;

struct TreePrompts {
    // The destination folder; an empty text when the user cancels.
    std::function<QString(QWidget* parent, const QString& title)> chooseFolder;
    // A result of a copy or move: the new name, or the failure.
    std::function<void(QWidget* parent, const QString& message)> showInformation;
    std::function<void(QWidget* parent, const QString& message)> showFailure;
    // Hands the file to the desktop's default application for its type.
    std::function<void(const QString& path)> openFile;
};

// The folder dialog starting in the current directory, message boxes and the desktop.
TreePrompts InteractiveTreePrompts();
