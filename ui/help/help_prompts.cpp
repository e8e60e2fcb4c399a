#include "ui/help/help_prompts.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "ui/help/manual_window.h"

HelpPrompts InteractiveHelpPrompts()
{
    HelpPrompts prompts;
    prompts.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    prompts.showManual = [](QWidget* parent, const QString& manualPath) { ShowManualWindow(parent, manualPath); };
    prompts.showFailure = [](QWidget* parent, const QString& message) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Kestrilane"), message, QMessageBox::Ok, parent);
        // The message names an address the user may want to copy.
        box.setTextInteractionFlags(Qt::TextSelectableByMouse);
        box.exec();
    };
    return prompts;
}
