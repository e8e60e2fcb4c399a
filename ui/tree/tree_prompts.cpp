#include "ui/tree/tree_prompts.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace {

const QString kAppTitle = QStringLiteral("Kestrilane");

}  // namespace

TreePrompts InteractiveTreePrompts()
{
    TreePrompts prompts;
    prompts.chooseFolder = [](QWidget* parent, const QString& title) {
        return QFileDialog::getExistingDirectory(parent, title, QDir::currentPath());
    };
    prompts.showInformation = [](QWidget* parent, const QString& message) {
        QMessageBox::information(parent, kAppTitle, message);
    };
    prompts.showFailure = [](QWidget* parent, const QString& message) {
        QMessageBox::warning(parent, kAppTitle, message);
    };
    prompts.openFile = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    return prompts;
}
