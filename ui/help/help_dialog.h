#pragma once
// The help dialog "ヘルプ関係の情報": "ヘルプ起動" opens the manual that comes with the
// program in the desktop's browser (or, without one, in a window of the program); three
// links open the maker's home page, the program's page and a mail to the author.
#include <QDialog>
#include <QString>

#include "ui/help/help_prompts.h"

class CLinkEdit;
class QPushButton;

class CHelpDialog : public QDialog {
    Q_OBJECT

public:
    static inline const QString kHomePage = QStringLiteral("https://www.harrowfen.jp/");
    static inline const QString kProgramPage = QStringLiteral("https://www.harrowfen.jp/kestrilane/");
    static inline const QString kAuthorMail = QStringLiteral("mailto:kestrilane@harrowfen.jp");

    explicit CHelpDialog(QWidget* parent = nullptr, HelpPrompts prompts = InteractiveHelpPrompts());

    // The manual "ヘルプ起動" opens; BundledManualPath() unless set.
    void setManualPath(const QString& path) { manualPath_ = path; }
    const QString& manualPath() const { return manualPath_; }

    QPushButton* helpButton() const { return helpButton_; }
    QPushButton* closeButton() const { return closeButton_; }
    CLinkEdit* homePageLink() const { return homePageLink_; }
    CLinkEdit* programPageLink() const { return programPageLink_; }
    CLinkEdit* mailLink() const { return mailLink_; }

    void OpenManual();
    void OpenLink(const QString& target);

private:
    HelpPrompts prompts_;
    QString manualPath_;
    QPushButton* helpButton_;
    QPushButton* closeButton_;
    CLinkEdit* homePageLink_;
    CLinkEdit* programPageLink_;
    CLinkEdit* mailLink_;
};

// Command "kestrilaneの使い方(&H)": the help dialog, modal over parent.
void ShowHelpDialog(QWidget* parent);
