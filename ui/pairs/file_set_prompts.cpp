#include "ui/pairs/file_set_prompts.h"

#include <QMessageBox>

namespace {

const QString kAppTitle = QStringLiteral("Kestrilane");

}  // namespace

FileSetPrompts InteractiveFileSetPrompts()
{
    FileSetPrompts prompts;
    prompts.askRecord = [](QWidget* parent) {
        QMessageBox box(QMessageBox::Question, kAppTitle,
                        QStringLiteral(u"この２つの組み合わせファイル名を記録しますか？"),
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    };
    prompts.showInformation = [](QWidget* parent, const QString& message) {
        QMessageBox::warning(parent, kAppTitle, message);
    };
    prompts.showFailure = [](QWidget* parent, const QString& message) {
        QMessageBox::critical(parent, kAppTitle, message);
    };
    return prompts;
}
