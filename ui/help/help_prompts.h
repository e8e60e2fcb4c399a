#pragma once
// What the help dialog asks of the desktop: opening a web page, a mail or the manual in the
// user's programs, showing the manual in a window of its own when no program can, and
// telling the user what failed. Tests put their own functions in place.
#include <QString>
#include <functional>

class QUrl;
class QWidget;

struct HelpPrompts {
    // Hands the address to the desktop's browser or mail program; false when none took it.
    std::function<bool(const QUrl& url)> openUrl;
    // Shows the manual file in a window of the program.
    std::function<void(QWidget* parent, const QString& manualPath)> showManual;
    std::function<void(QWidget* parent, const QString& message)> showFailure;
};

// The desktop services, the program's manual window and a message box.
HelpPrompts InteractiveHelpPrompts();
