#include "ui/document/user_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

const QString kAppTitle = QStringLiteral("Kestrilane");

bool AskYesNo(QWidget* parent, QMessageBox::Icon icon, QString text, QMessageBox::StandardButton byDefault)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, kAppTitle, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(byDefault);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

UserPrompts InteractivePrompts()
{
    UserPrompts prompts;
    prompts.askReplaceSide = [](QWidget* parent, const QString& question) {
        QMessageBox box(QMessageBox::Question, kAppTitle, question, QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    };
    prompts.askClearLoaded = [](QWidget* parent) {
        const QString question = QStringLiteral(
            u"すでに２つのファイルが読み込まれていますがクリアして読込みますか？(参考：新規ボタンはクリア処理)");
        QMessageBox box(QMessageBox::Warning, kAppTitle, question,
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    };
    prompts.showOpenError = [](QWidget* parent, const QString& message) {
        QMessageBox::critical(parent, kAppTitle, message);
    };
    prompts.chooseFile = [](QWidget* parent, const QString& caption, const QString& directory) {
        // Any file can be compared; the text files are one choice away.
        return QFileDialog::getOpenFileName(parent, caption, directory,
                                            QStringLiteral(u"すべてのファイル (*);;テキスト ファイル (*.txt)"));
    };
    prompts.showRebuildInformation = [](QWidget* parent, const QString& message) {
        QMessageBox::information(parent, kAppTitle, message);
    };
    prompts.askRecordRepaired = [](QWidget* parent, const QString& report) {
        return AskYesNo(parent, QMessageBox::Question, report, QMessageBox::Yes);
    };
    prompts.askOverwriteChanged = [](QWidget* parent, const QString& question) {
        // Overwriting someone else's change is not the default.
        return AskYesNo(parent, QMessageBox::Warning, question, QMessageBox::No);
    };
    prompts.showRebuildError = [](QWidget* parent, const QString& message) {
        QMessageBox::warning(parent, kAppTitle, message);
    };
    return prompts;
}
