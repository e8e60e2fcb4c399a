#pragma once
// The questions of saving a comparison report; tests answer them.
#include <QString>
#include <functional>
#include <optional>

class QWidget;

struct ReportPrompts {
    // Which rows the report shows: -1 all of them, N the differences with N rows around
    // each; nothing when the user cancels.
    std::function<std::optional<int>(QWidget* parent)> chooseRows;
    // Where to save the report; empty when the user cancels.
    std::function<QString(QWidget* parent)> chooseSavePath;
    std::function<void(QWidget* parent, const QString& message)> showError;
    // Asks whether to open the saved report in the browser; true for yes.
    std::function<bool(QWidget* parent, const QString& question)> askOpen;
    // Opens the file in the desktop's browser.
    std::function<void(const QString& path)> openInBrowser;
};

// Dialogs, message boxes and the desktop's browser.
ReportPrompts InteractiveReportPrompts();
