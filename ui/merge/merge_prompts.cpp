#include "ui/merge/merge_prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

namespace {

const QString kAppTitle = QStringLiteral("Kestrilane");

}  // namespace

MergePrompts InteractiveMergePrompts()
{
    MergePrompts prompts;
    prompts.chooseSavePath = [](QWidget* parent, const QString& caption, const QString& filter,
                                const QString& defaultSuffix) {
        QFileDialog dialog(parent, caption, QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        dialog.setOption(QFileDialog::ReadOnly, false);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().front();
    };
    prompts.showError = [](QWidget* parent, const QString& message) {
        QMessageBox::critical(parent, kAppTitle, message);
    };
    prompts.showInfo = [](QWidget* parent, const QString& message) {
        QMessageBox::information(parent, kAppTitle, message);
    };
    prompts.askYesNo = [](QWidget* parent, const QString& question) {
        QMessageBox box(QMessageBox::Warning, kAppTitle, question, QMessageBox::Yes | QMessageBox::No, parent);
        return box.exec() == QMessageBox::Yes;
    };
    prompts.startProcess = [](const QString& program, const QStringList& args) {
        return QProcess::startDetached(program, args);
    };
    return prompts;
}
