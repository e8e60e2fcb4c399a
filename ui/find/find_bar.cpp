#include "ui/find/find_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kSettleMs = 250;  // typing pauses this long before the search runs

}  // namespace

FindBar::FindBar(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(QStringLiteral(u"検索:"), this));
    pattern_ = new QLineEdit(this);
    pattern_->setObjectName(QStringLiteral("findPattern"));
    pattern_->setClearButtonEnabled(true);
    pattern_->setMinimumWidth(220);
    layout->addWidget(pattern_, 1);
    sides_ = new QComboBox(this);
    sides_->setObjectName(QStringLiteral("findSides"));
    sides_->addItem(QStringLiteral(u"両方"), static_cast<int>(kl::SearchSides::Both));
    sides_->addItem(QStringLiteral("DocA"), static_cast<int>(kl::SearchSides::DocA));
    sides_->addItem(QStringLiteral("DocB"), static_cast<int>(kl::SearchSides::DocB));
    layout->addWidget(sides_);
    matchCase_ = new QCheckBox(QStringLiteral(u"大文字と小文字を区別"), this);
    matchCase_->setObjectName(QStringLiteral("findMatchCase"));
    layout->addWidget(matchCase_);
    regex_ = new QCheckBox(QStringLiteral(u"正規表現"), this);
    regex_->setObjectName(QStringLiteral("findRegex"));
    layout->addWidget(regex_);
    auto button = [this, layout](const QString& text, const QString& tip, const char* name) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(tip);
        b->setObjectName(QString::fromLatin1(name));
        layout->addWidget(b);
        return b;
    };
    connect(button(QStringLiteral(u"▲"), QStringLiteral(u"前を検索 (Shift+F3)"), "findPrevious"), &QToolButton::clicked,
            this, &FindBar::previousRequested);
    connect(button(QStringLiteral(u"▼"), QStringLiteral(u"次を検索 (F3)"), "findNext"), &QToolButton::clicked, this,
            &FindBar::nextRequested);
    stop_ = button(QStringLiteral(u"中止"), QStringLiteral(u"検索を中止 (Esc)"), "findStop");
    stop_->hide();
    connect(static_cast<QToolButton*>(stop_), &QToolButton::clicked, this, &FindBar::stopRequested);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("findStatus"));
    status_->setMinimumWidth(status_->fontMetrics().horizontalAdvance(QStringLiteral(u"0000000件")));
    layout->addWidget(status_);
    connect(button(QStringLiteral(u"×"), QStringLiteral(u"検索バーを閉じる (Esc)"), "findClose"), &QToolButton::clicked,
            this, [this] {
                hide();
                emit closed();
            });

    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(settle_, &QTimer::timeout, this, &FindBar::queryChanged);
    connect(pattern_, &QLineEdit::textEdited, settle_, qOverload<>(&QTimer::start));
    connect(pattern_, &QLineEdit::returnPressed, this, [this] {
        if (settle_->isActive()) {
            settle_->stop();
            emit queryChanged();
        }
        emit nextRequested();
    });
    for (QCheckBox* box : {matchCase_, regex_})
        connect(box, &QCheckBox::toggled, this, &FindBar::queryChanged);
    connect(sides_, &QComboBox::currentIndexChanged, this, &FindBar::queryChanged);
}

kl::SearchQuery FindBar::query() const
{
    kl::SearchQuery query;
    query.pattern = pattern_->text().toStdString();
    query.matchCase = matchCase_->isChecked();
    query.regularExpression = regex_->isChecked();
    query.sides = static_cast<kl::SearchSides>(sides_->currentData().toInt());
    return query;
}

void FindBar::Activate()
{
    show();
    pattern_->setFocus(Qt::ShortcutFocusReason);
    pattern_->selectAll();
}

void FindBar::SetStatus(const QString& text)
{
    status_->setText(text);
}

void FindBar::SetSearching(bool searching)
{
    searching_ = searching;
    stop_->setVisible(searching);
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && searching_) {
        emit stopRequested();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        hide();
        emit closed();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (event->modifiers() & Qt::ShiftModifier)) {
        emit previousRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}
