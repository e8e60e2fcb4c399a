#pragma once
// The query window of a merge that asks block by block: the block's text, editable, with
// line numbers beside it, and the answers 追加 / スキップ / １つ前へ戻る / 処理を中断. It waits
// for the answer in a loop of its own, so the program stays responsive meanwhile.
#include <QColor>
#include <QDialog>
#include <QEventLoop>
#include <QFont>
#include <QString>

#include "engine/settings/settings_file.h"

class CDrawLineWnd;
class QPlainTextEdit;
class QPushButton;

class CDlgEditfrm : public QDialog {
    Q_OBJECT

public:
    struct Setup {
        QString title;
        QString text;                   // the block text, decoded
        int firstLine = 0;              // 0-based line of the block's first line
        bool backAllowed = false;
        QColor background;              // invalid: the edit keeps its own colours
        QFont font;
        const kl::ColorTable* colors = nullptr;  // for the line numbers
    };

    CDlgEditfrm(const Setup& setup, QWidget* parent);

    // Shows the window and waits for an answer: a kl::BlockAnswer (ANSWER_STOP when the
    // window is closed without one).
    int Ask();
    // Gives the answer, as the buttons do.
    void Answer(int code);

    QString text() const;
    // Whether the text differs from the one given.
    bool edited() const;
    QPlainTextEdit* edit() const { return edit_; }
    // The button of an answer (ANSWER_ADD, ANSWER_SKIP, ANSWER_BACK, ANSWER_STOP).
    QPushButton* button(int code) const;

protected:
    // Alt pressed and released alone, then the letter of an answer, answers as Alt and the
    // letter together do; any other key or a click in between cancels it.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;

private:
    void LayOut();
    void FollowScroll(int firstVisible);

    const int firstLine_;
    const QString original_;  // the text as given, to tell whether the user changed it
    QPlainTextEdit* edit_ = nullptr;
    CDrawLineWnd* gutter_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* skip_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* stop_ = nullptr;
    QEventLoop loop_;
    int result_ = -1;
    bool altAlone_ = false;     // Alt is down and no other key came since
    bool letterArmed_ = false;  // Alt was tapped alone: the next key may be an answer's letter
};
