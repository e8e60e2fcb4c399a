#pragma once
// What recording a file pair asks and tells the user. Tests put their own answers in place.
#include <QString>
#include <functional>

class QWidget;

struct FileSetPrompts {
    // "Record the two file names as a pair?" true for Yes.
    std::function<bool(QWidget* parent)> askRecord;
    // The pair is recorded already.
    std::function<void(QWidget* parent, const QString& message)> showInformation;
    // The pair cannot be recorded, or the settings file could not be written.
    std::function<void(QWidget* parent, const QString& message)> showFailure;
};

// Message boxes.
FileSetPrompts InteractiveFileSetPrompts();
