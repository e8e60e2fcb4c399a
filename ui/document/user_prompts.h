#pragma once
// The questions and messages start-up, the open sequence and the newline rebuild put to
// the user. The program
// uses message boxes and the file dialog; tests put answers of their own in their place.
#include <QString>
#include <functional>

#include "engine/document/file_origin.h"

class QWidget;

struct UserPrompts {
    // "Two files are loaded: clear them and load?" true for Yes.
    std::function<bool(QWidget* parent)> askClearLoaded;
    // A file dropped on a pane is to take the place of the text shown there; true for Yes.
    std::function<bool(QWidget* parent, const QString& question)> askReplaceSide;
    // A file could not be opened; message names it.
    std::function<void(QWidget* parent, const QString& message)> showOpenError;
    // Asks for one file to open; an empty text when the user cancels.
    std::function<QString(QWidget* parent, const QString& caption, const QString& directory)> chooseFile;

    // The newline rebuild. Nothing needed repairs (OK).
    std::function<void(QWidget* parent, const QString& message)> showRebuildInformation;
    // What was repaired, and whether to write the repaired files; true for Yes.
    std::function<bool(QWidget* parent, const QString& report)> askRecordRepaired;
    // A repaired file was changed (or removed) since it was read; true overwrites it.
    std::function<bool(QWidget* parent, const QString& question)> askOverwriteChanged;
    // A repaired file was not written, or the repair failed; message names the file.
    std::function<void(QWidget* parent, const QString& message)> showRebuildError;

    // Saving an edited text.
    enum class SaveAnswer { Yes, No, Cancel };
    // "DocAの変更を保存しますか？" before the edited text goes: はい / いいえ / キャンセル.
    std::function<SaveAnswer(QWidget* parent, const QString& question)> askSaveEdited;
    // A character the file's encoding cannot hold: true saves as UTF-8, false goes back.
    std::function<bool(QWidget* parent, const QString& question)> askSaveAsUtf8;
    // Asks for the path to save under, starting at path, and the encoding to write (given
    // the file's own); an empty text when the user cancels.
    std::function<QString(QWidget* parent, const QString& caption, const QString& path, kl::FileEncoding& encoding)>
        chooseSavePath;
    // A save was refused or failed; message names the file.
    std::function<void(QWidget* parent, const QString& message)> showSaveError;
};

// Message boxes and the file dialog.
UserPrompts InteractivePrompts();
