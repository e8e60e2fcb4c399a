#include "ui/document/user_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

const QString kAppTitle = QStringLiteral("Kestrilane");

}  // namespace

UserPrompts InteractivePrompts()
{
    UserPrompts prompts;
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
        return QFileDialog::getOpenFileName(parent, caption, directory,
                                            QStringLiteral(u"Kestril ﾌｧｲﾙ (*)"));
    };
    return prompts;
}
