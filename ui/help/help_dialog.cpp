#include "ui/help/help_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <utility>

#include "ui/help/link_edit.h"
#include "ui/help/manual_window.h"

namespace {

CLinkEdit* AddLink(QLayout* layout, const QString& caption, const QString& target)
{
    auto* link = new CLinkEdit;
    link->SetLink(caption, target);
    layout->addWidget(link);
    layout->setAlignment(link, Qt::AlignLeft);
    return link;
}

}  // namespace

CHelpDialog::CHelpDialog(QWidget* parent, HelpPrompts prompts)
    : QDialog(parent), prompts_(std::move(prompts)), manualPath_(BundledManualPath())
{
    setWindowTitle(QStringLiteral(u"ヘルプ関係の情報"));
    // Modal over the main window only, so that the manual window it may open can be used.
    setWindowModality(Qt::WindowModal);

    auto* hint = new QLabel(QStringLiteral(u"付属のヘルプファイルかＵＲＬの解説を参照してください。"), this);
    helpButton_ = new QPushButton(QStringLiteral(u"ヘルプ起動"), this);
    helpButton_->setAutoDefault(false);

    auto* links = new QGroupBox(QStringLiteral(u"ブラウザが開きます"), this);
    auto* linkLayout = new QVBoxLayout(links);
    homePageLink_ = AddLink(linkLayout, QStringLiteral(u"ハロウフェンホームページへ"), kHomePage);
    programPageLink_ = AddLink(linkLayout, QStringLiteral(u"kestrilaneの解説URLへ"), kProgramPage);
    mailLink_ = AddLink(linkLayout, QStringLiteral(u"作者へメール"), kAuthorMail);

    closeButton_ = new QPushButton(QStringLiteral(u"閉じる"), this);
    closeButton_->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(hint, 1);
    top->addWidget(helpButton_);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(links);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(helpButton_, &QPushButton::clicked, this, &CHelpDialog::OpenManual);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);
    for (CLinkEdit* link : {homePageLink_, programPageLink_, mailLink_})
        connect(link, &CLinkEdit::activated, this, &CHelpDialog::OpenLink);
}

void CHelpDialog::OpenManual()
{
    if (!QFileInfo(manualPath_).isFile()) {
        prompts_.showFailure(this, QStringLiteral(u"ヘルプファイルが見つかりません。\n%1")
                                       .arg(QDir::toNativeSeparators(manualPath_)));
        return;
    }
    if (prompts_.openUrl(QUrl::fromLocalFile(manualPath_)))
        return;
    // No browser: the program's own manual window, which goes with the main window.
    prompts_.showManual(parentWidget(), manualPath_);
}

void CHelpDialog::OpenLink(const QString& target)
{
    const QUrl url(target);
    if (prompts_.openUrl(url))
        return;
    if (url.scheme() == QLatin1String("mailto")) {
        prompts_.showFailure(this, QStringLiteral(u"メールソフトを起動できませんでした。\n"
                                                  u"次のアドレスへメールでご連絡ください。\n%1")
                                       .arg(url.path()));
    } else {
        prompts_.showFailure(this, QStringLiteral(u"ブラウザを起動できませんでした。\n"
                                                  u"次のアドレスをブラウザで開いてください。\n%1")
                                       .arg(target));
    }
}

void ShowHelpDialog(QWidget* parent)
{
    CHelpDialog dialog(parent);
    dialog.exec();
}
