#include "ui/app/report_prompts.h"

#include <QButtonGroup>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kAppTitle = QStringLiteral("Kestrilane");

std::optional<int> AskRows(QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral(u"レポートを保存"));
    auto* all = new QRadioButton(QStringLiteral(u"すべての行(&A)"));
    auto* differences = new QRadioButton(QStringLiteral(u"相違箇所だけ(&D)"));
    differences->setChecked(true);
    auto* context = new QSpinBox;
    context->setRange(0, 999);
    context->setValue(3);
    auto* contextLabel = new QLabel(QStringLiteral(u"前後に表示する行数(&N):"));
    contextLabel->setBuddy(context);
    QObject::connect(differences, &QRadioButton::toggled, context, &QWidget::setEnabled);
    auto* contextRow = new QHBoxLayout;
    contextRow->addSpacing(24);
    contextRow->addWidget(contextLabel);
    contextRow->addWidget(context);
    contextRow->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral(u"キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral(u"レポートに出力する行:")));
    layout->addWidget(all);
    layout->addWidget(differences);
    layout->addLayout(contextRow);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return all->isChecked() ? -1 : context->value();
}

}  // namespace

ReportPrompts InteractiveReportPrompts()
{
    ReportPrompts prompts;
    prompts.chooseRows = AskRows;
    prompts.chooseSavePath = [](QWidget* parent) {
        QFileDialog dialog(parent, QStringLiteral(u"レポートを保存"), QString(),
                           QStringLiteral(u"HTML ファイル (*.html *.htm);;すべてのファイル (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("html"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().front();
    };
    prompts.showError = [](QWidget* parent, const QString& message) {
        QMessageBox::critical(parent, kAppTitle, message);
    };
    prompts.askOpen = [](QWidget* parent, const QString& question) {
        return QMessageBox::question(parent, kAppTitle, question, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    };
    prompts.openInBrowser = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    return prompts;
}
