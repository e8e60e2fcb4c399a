#include "ui/merge/dlg_editfrm.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <initializer_list>
#include <utility>

#include "engine/merge/merge_walk.h"
#include "ui/display/draw_line_wnd.h"

namespace {

constexpr int kMargin = 4;
constexpr int kEditMargin = 3;
constexpr int kGutterCells = 5;
constexpr int kTabCells = 4;  // a tab stop every 16 dialog units

}  // namespace

CDlgEditfrm::CDlgEditfrm(const Setup& setup, QWidget* parent)
    : QDialog(parent, Qt::Window), firstLine_(setup.firstLine), original_(setup.text)
{
    setWindowTitle(setup.title);
    setFont(setup.font);
    setModal(false);

    edit_ = new QPlainTextEdit(this);
    edit_->setFont(setup.font);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit_->document()->setDocumentMargin(kEditMargin);
    const QFontMetrics metrics(setup.font);
    edit_->setTabStopDistance(kTabCells * metrics.averageCharWidth());
    edit_->setPlainText(setup.text);
    if (setup.background.isValid()) {
        QPalette palette = edit_->palette();
        palette.setColor(QPalette::Base, setup.background);
        edit_->setPalette(palette);
    }

    gutter_ = new CDrawLineWnd(this);
    gutter_->SetColors(setup.colors);
    gutter_->SetRowHeight(metrics.lineSpacing());
    gutter_->SetColumnWidth(kGutterCells * metrics.averageCharWidth());
    connect(edit_->verticalScrollBar(), &QScrollBar::valueChanged, this, &CDlgEditfrm::FollowScroll);
    connect(edit_, &QPlainTextEdit::textChanged, this,
            [this] { FollowScroll(edit_->verticalScrollBar()->value()); });
    FollowScroll(0);

    add_ = new QPushButton(QStringLiteral(u"追加(&A)"), this);
    skip_ = new QPushButton(QStringLiteral(u"スキップ(&S)"), this);
    back_ = new QPushButton(QStringLiteral(u"１つ前へ戻る(&B)"), this);
    stop_ = new QPushButton(QStringLiteral(u"処理を中断(&C)"), this);
    back_->setEnabled(setup.backAllowed);
    connect(add_, &QPushButton::clicked, this, [this] { Answer(kl::ANSWER_ADD); });
    connect(skip_, &QPushButton::clicked, this, [this] { Answer(kl::ANSWER_SKIP); });
    connect(back_, &QPushButton::clicked, this, [this] { Answer(kl::ANSWER_BACK); });
    connect(stop_, &QPushButton::clicked, this, [this] { Answer(kl::ANSWER_STOP); });
    add_->setDefault(true);
    for (QWidget* watched : std::initializer_list<QWidget*>{this, edit_, add_, skip_, back_, stop_})
        watched->installEventFilter(this);
    const QSize buttonSize = back_->sizeHint().expandedTo(add_->sizeHint()).expandedTo(stop_->sizeHint());
    setMinimumSize(4 * buttonSize.width() + 5 * kMargin, 4 * buttonSize.height());
    LayOut();
}

QPushButton* CDlgEditfrm::button(int code) const
{
    switch (code) {
    case kl::ANSWER_ADD: return add_;
    case kl::ANSWER_SKIP: return skip_;
    case kl::ANSWER_BACK: return back_;
    case kl::ANSWER_STOP: return stop_;
    default: return nullptr;
    }
}

int CDlgEditfrm::Ask()
{
    show();
    raise();
    activateWindow();
    edit_->setFocus();
    if (result_ < 0)
        loop_.exec();
    return result_;
}

void CDlgEditfrm::Answer(int code)
{
    if (result_ < 0)
        result_ = code;
    loop_.quit();
    hide();
}

QString CDlgEditfrm::text() const
{
    return edit_->toPlainText();
}

bool CDlgEditfrm::edited() const
{
    return edit_->toPlainText() != original_;
}

bool CDlgEditfrm::eventFilter(QObject* watched, QEvent* event)
{
    // A key the focused control leaves comes here again from its parent; the flags are set
    // so that seeing it twice changes nothing.
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Alt) {
            altAlone_ = true;
            letterArmed_ = false;
            break;
        }
        altAlone_ = false;
        if (!std::exchange(letterArmed_, false) || (key->modifiers() & ~Qt::ShiftModifier) != Qt::NoModifier)
            break;
        const QKeySequence chosen(QKeyCombination(Qt::AltModifier, Qt::Key(key->key())));
        for (int code : {kl::ANSWER_ADD, kl::ANSWER_SKIP, kl::ANSWER_BACK, kl::ANSWER_STOP}) {
            QPushButton* answer = button(code);
            if (answer->isEnabled() && QKeySequence::mnemonic(answer->text()) == chosen) {
                answer->click();
                return true;
            }
        }
        break;
    }
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt && altAlone_) {
            altAlone_ = false;
            letterArmed_ = true;
        }
        break;
    case QEvent::MouseButtonPress:
        altAlone_ = false;
        letterArmed_ = false;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void CDlgEditfrm::reject()
{
    Answer(kl::ANSWER_STOP);
}

void CDlgEditfrm::closeEvent(QCloseEvent* event)
{
    Answer(kl::ANSWER_STOP);
    event->accept();
}

// The numbers follow the edit's first visible line. The empty line after a final line end
// is no line of the block and gets no number.
void CDlgEditfrm::FollowScroll(int firstVisible)
{
    const QTextDocument* document = edit_->document();
    int lines = document->blockCount();
    if (lines > 0 && document->lastBlock().text().isEmpty())
        --lines;
    gutter_->SetFirstLine(firstLine_ + firstVisible);
    gutter_->SetRowCount(lines - firstVisible);
}

void CDlgEditfrm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayOut();
}

// The edit fills the window beside the line numbers; the answers stand in a row along the
// bottom, add and skip at the left, back and stop at the right.
void CDlgEditfrm::LayOut()
{
    const QSize buttonSize = back_->sizeHint().expandedTo(add_->sizeHint()).expandedTo(stop_->sizeHint());
    const int buttonsTop = height() - kMargin - buttonSize.height();
    const int columnWidth = kGutterCells * QFontMetrics(font()).averageCharWidth();
    const int editTop = kMargin;
    const int editHeight = std::max(buttonsTop - kMargin - editTop, 0);
    // The numbers start level with the first text line inside the edit's frame.
    const int textTop = edit_->frameWidth() + kEditMargin;
    gutter_->setGeometry(kMargin, editTop + textTop, columnWidth, std::max(editHeight - 2 * textTop, 0));
    const int editLeft = kMargin + columnWidth;
    edit_->setGeometry(editLeft, editTop, std::max(width() - editLeft - kMargin, 0), editHeight);
    add_->setGeometry(kMargin, buttonsTop, buttonSize.width(), buttonSize.height());
    skip_->setGeometry(2 * kMargin + buttonSize.width(), buttonsTop, buttonSize.width(), buttonSize.height());
    stop_->setGeometry(width() - kMargin - buttonSize.width(), buttonsTop, buttonSize.width(), buttonSize.height());
    back_->setGeometry(width() - 2 * kMargin - 2 * buttonSize.width(), buttonsTop, buttonSize.width(),
                       buttonSize.height());
}
