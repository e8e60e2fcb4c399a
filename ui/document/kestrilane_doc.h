#pragma once
// The program's document: the two loaded texts with their file data, the settings the
// views and the engine read (switches, fonts, colours, messages) and the open and clear
// operations with the user's questions.
#include <QFont>
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/compare/compare_options.h"
#include "engine/display/shown_rows.h"
#include "engine/document/auto_compare.h"
#include "engine/document/document_ops.h"
#include "engine/document/text_document.h"
#include "engine/edit/edit_history.h"
#include "engine/document/text_save.h"
#include "engine/settings/settings_file.h"
#include "engine/settings/view_settings.h"
#include "ui/display/marks_loader.h"
#include "ui/document/user_prompts.h"

class QWidget;

// What the document needs from the program around it.
struct DocumentContext {
    const UserPrompts* prompts = nullptr;    // the questions and messages of the open sequence
    std::function<QWidget*()> dialogParent;  // the window they belong to (may give nullptr)
    // Command-line position of the file being opened (0 for other opens); the automatic
    // comparison reads it, and clearing the document sets it to 0.
    int* argIndex = nullptr;
};

class CKestrilaneDoc : public QObject {
    Q_OBJECT

public:
    // Reads the FLAG, COMPARE and VIEW settings from iniPath (empty: built-in defaults),
    // filling compareOptions, and creates the fonts.
    CKestrilaneDoc(DocumentContext context, const std::string& iniPath, QObject* parent = nullptr);

    // Clear: releases both texts and the results; the next file opened becomes DocA.
    bool OnNewDocument();
    // The open sequence: asks before replacing two loaded texts, loads the file (a failure
    // is reported to the user) and, when the file became DocB, decides the automatic
    // comparison. path is in the system's file name encoding. False when nothing was loaded.
    // A file of backgroundLoadBytes or more is read on a worker thread while the window
    // goes on painting, with its progress told by loadingChanged and loadProgress.
    bool OnOpenDocument(const std::string& path);
    std::uintmax_t backgroundLoadBytes = std::uintmax_t{32} << 20;
    // A file is being read in the background.
    bool loading() const { return loading_; }

    // Reads COLOR and MESSAGE LEFT/RIGHT into colors and the messages; windowColor becomes
    // the colour table's window entry. The main window calls it once it exists, before any
    // view shows the document; the views only read what it filled in.
    void LoadColorSettings(kl::ColorRef windowColor);

    // The title: "nameA-nameB" with two texts, else the name of the file opened last
    // (empty when nothing is loaded).
    QString Title() const;
    // The font of the right view: its own with individual fonts, else the left one.
    const QFont& rightViewFont() const;
    // Makes the fonts anew from fontSettings (after the font dialog).
    void RecreateFonts() { CreateFonts(); }

    // Gives every line of both texts a CR LF line end (the texts are replaced; the shown
    // result keeps its own), says what was repaired and, when the user agrees, writes the
    // repaired texts back to their files. A file that is not written keeps its old bytes
    // while the repaired lines stay in memory.
    void RebuildNewlines();
    // Saving (kestrilane_doc_save.cpp). Writes the text of side (DOC_A, DOC_B) to its file
    // in the encoding it was read in, asking before writing over a file changed since it
    // was read and, for a character the encoding cannot hold, whether to save as UTF-8.
    // A refusal or failure is told to the user. True when the file was written.
    bool SaveSide(int side);
    // The same under a path and encoding the user chooses; the side then names that file.
    bool SaveSideAs(int side);
    // Before the edited texts go: asks "DocAの変更を保存しますか？" for each edited side;
    // はい saves it. False when the user cancelled or a save failed: the action must stop.
    bool AskSaveEdited();
    // The text of side is what its file holds: no longer edited.
    void MarkSaved(int side);
    bool edited(int side) const { return textDoc.texts[static_cast<std::size_t>(side)] && textDoc.edited[static_cast<std::size_t>(side)]; }

    // A loaded file was moved: the entries loaded from `from` name `to` from now on, so a
    // reload reads the file at its new place. Paths in the system's file name encoding.
    void RenameFilePath(const std::string& from, const std::string& to);

    // The result of the last comparison; never null.
    const std::shared_ptr<const kl::CompareResult>& result() const { return textDoc.result; }
    // The rows the views show with options (the overview bar and the navigation read the
    // same), built anew only when the texts, the result or the options changed.
    std::shared_ptr<const kl::ShownRows> Shown(const kl::DisplayOptions& options) const;
    // The changed characters of the paired display, kept with the rows they belong to.
    CMarksLoader& marksLoader() { return marksLoader_; }
    // Shows a new result in one step.
    void SetResult(std::shared_ptr<const kl::CompareResult> result);

    // Editing (kestrilane_doc_edit.cpp). Every change of a text in the window goes through
    // ApplyEditedText: the side's text becomes the new version, marked edited.
    void ApplyEditedText(int side, std::shared_ptr<const kl::Text> text);
    // Applies step to side's text and records it in the side's undo history; the shown
    // result follows the lines at once. False when the side has no text.
    bool EditText(int side, kl::EditStep step, bool joinTyping = false);
    bool CanUndo(int side) const;
    bool CanRedo(int side) const;
    // The caret's new offset in the side's text when there is one to show.
    std::optional<std::int64_t> Undo(int side);
    std::optional<std::int64_t> Redo(int side);

    kl::TextDocument textDoc;  // texts, file data, results; textDoc.recording is the recording flag
    kl::DocSettings docSettings;
    // The compare options the compare-method dialog edits; each run takes a copy when it
    // starts, after the selected preset has been applied.
    kl::CompareOptions compareOptions;
    kl::FontSettings fontSettings;
    kl::ColorTable colors{};
    std::string leftMessage;   // code page 932
    std::string rightMessage;  // code page 932
    QFont leftFont;
    QFont rightFont;

signals:
    // The texts or results changed: every view shows the document anew.
    void documentChanged();
    void titleChanged(const QString& title);
    // DocB has just been loaded (the frame resets its difference position).
    void docBLoaded();
    // The texts were released.
    void cleared();
    // Loading DocB asks for a comparison.
    void autoCompareRequested(kl::AutoCompare kind);
    // The text of side was written to its file (which may be another one now).
    void sideSaved(int side);
    // A file was loaded with something the user should know (it changed while it was read).
    void loadNoted(const QString& note);
    // A large file is being read (on), or no longer (off); while it is, loadProgress tells
    // how far the reading has come, 0 to 100.
    void loadingChanged(bool loading, const QString& fileName);
    void loadProgress(int percent);
    // A text was edited, undone or redone: its comparison is out of date.
    void textEdited(int side);

private:
    void CreateFonts();
    bool AskClearLoaded();
    kl::OpenOutcome OpenInBackground(const std::string& path, std::string& error, std::string& note);
    void WriteBackRepaired(int k);
    bool SaveWith(int side, kl::SaveRequest request);
    // "\n(why)" for a failed write, from its reason or its errno; empty when neither is known.
    static QString FailureDetail(const std::string& reason, int errorNumber);

    QWidget* DialogParent() const { return context_.dialogParent ? context_.dialogParent() : nullptr; }

    DocumentContext context_;
    std::string iniPath_;
    std::string givenTitle_;  // file name of the last open, in the system's encoding
    bool loading_ = false;    // a file is being read in the background
    // The last rows built per display mode.
    mutable std::array<std::shared_ptr<const kl::ShownRows>, 2> shown_;
    CMarksLoader marksLoader_;
    // Editing: the undo history of each side and the version it made last (a text loaded
    // since then starts a new history).
    kl::EditHistory& HistoryOf(int side);
    void ShowEditedText(int side, const kl::EditOutcome& outcome, bool edited);
    std::array<kl::EditHistory, 2> histories_;
    std::array<std::shared_ptr<const kl::Text>, 2> historyTexts_;
};
