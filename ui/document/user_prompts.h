#pragma once
// The questions and messages start-up and the open sequence put to the user. The program
// uses message boxes and the file dialog; tests put answers of their own in their place.
#include <QString>
#include <functional>

class QWidget;

struct UserPrompts {
    // "Two files are loaded: clear them and load?" true for Yes.
    std::function<bool(QWidget* parent)> askClearLoaded;
    // A file could not be opened; message names it.
    std::function<void(QWidget* parent, const QString& message)> showOpenError;
    // Asks for one file to open; an empty text when the user cancels.
    std::function<QString(QWidget* parent, const QString& caption, const QString& directory)> chooseFile;
};

// Message boxes and the file dialog.
UserPrompts InteractivePrompts();
