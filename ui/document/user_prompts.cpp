#include "ui/document/user_prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

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
    prompts.askSaveEdited = [](QWidget* parent, const QString& question) {
        QMessageBox box(QMessageBox::Question, kAppTitle, question,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
        box.setDefaultButton(QMessageBox::Yes);
        box.button(QMessageBox::Yes)->setText(QStringLiteral(u"はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral(u"いいえ(&N)"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral(u"キャンセル"));
        switch (box.exec()) {
        case QMessageBox::Yes: return UserPrompts::SaveAnswer::Yes;
        case QMessageBox::No: return UserPrompts::SaveAnswer::No;
        default: return UserPrompts::SaveAnswer::Cancel;
        }
    };
    prompts.askSaveAsUtf8 = [](QWidget* parent, const QString& question) {
        QMessageBox box(QMessageBox::Warning, kAppTitle, question, QMessageBox::NoButton, parent);
        QPushButton* utf8 = box.addButton(QStringLiteral(u"UTF-8で保存"), QMessageBox::AcceptRole);
        box.setDefaultButton(box.addButton(QStringLiteral(u"戻る"), QMessageBox::RejectRole));
        box.exec();
        return box.clickedButton() == utf8;
    };
    prompts.chooseSavePath = [](QWidget* parent, const QString& caption, const QString& path,
                                kl::FileEncoding& encoding) {
        // The encoding is chosen with the file type; the file's own comes first.
        const kl::FileEncoding all[] = {kl::FileEncoding::ShiftJis, kl::FileEncoding::EucJp, kl::FileEncoding::Utf8,
                                        kl::FileEncoding::Utf8Bom, kl::FileEncoding::Utf16Le,
                                        kl::FileEncoding::Utf16Be};
        QStringList filters;
        std::vector<kl::FileEncoding> order{encoding};
        for (const kl::FileEncoding other : all) {
            if (other != encoding)
                order.push_back(other);
        }
        for (const kl::FileEncoding each : order)
            filters << QStringLiteral(u"%1 で保存 (*)").arg(QString::fromUtf8(kl::FileEncodingName(each)));
        QString chosen = filters.front();
        const QString file = QFileDialog::getSaveFileName(parent, caption, path, filters.join(QStringLiteral(";;")),
                                                          &chosen);
        encoding = order[static_cast<std::size_t>(std::max<qsizetype>(0, filters.indexOf(chosen)))];
        return file;
    };
    prompts.showSaveError = [](QWidget* parent, const QString& message) {
        QMessageBox::warning(parent, kAppTitle, message);
    };
    return prompts;
}
