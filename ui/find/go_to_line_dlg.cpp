#include "ui/find/go_to_line_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

#include "ui/document/doc_name.h"

QString LineOutOfRangeMessage(int side, int line, int lineCount)
{
    if (line >= 1 && line <= lineCount)
        return {};
    if (lineCount == 0)
        return QStringLiteral(u"%1は読み込まれていないか、行がありません。").arg(DocName(side));
    return QStringLiteral(u"%1行目はありません。%2は%3行までです。")
        .arg(line)
        .arg(DocName(side))
        .arg(lineCount);
}

GoToLineDlg::GoToLineDlg(std::array<int, 2> lineCounts, int side, QWidget* parent)
    : QDialog(parent), counts_(lineCounts)
{
    setWindowTitle(QStringLiteral(u"行へ移動"));
    auto* form = new QFormLayout(this);
    side_ = new QComboBox(this);
    side_->addItem(QStringLiteral("DocA"));
    side_->addItem(QStringLiteral("DocB"));
    side_->setCurrentIndex(side == 1 ? 1 : 0);
    form->addRow(QStringLiteral(u"テキスト(&T):"), side_);
    line_ = new QSpinBox(this);
    // Any number can be typed; one beyond the end gets a message rather than a silent clamp.
    line_->setRange(1, 2'000'000'000);
    line_->setValue(1);
    form->addRow(QStringLiteral(u"行番号(&L):"), line_);
    range_ = new QLabel(this);
    form->addRow(range_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral(u"キャンセル"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &GoToLineDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GoToLineDlg::reject);
    connect(side_, &QComboBox::currentIndexChanged, this, &GoToLineDlg::ShowRange);
    ShowRange();
    // The number is what the user came to type.
    line_->setFocus();
    line_->selectAll();
}

GoToLineRequest GoToLineDlg::request() const
{
    return {side_->currentIndex(), line_->value()};
}

void GoToLineDlg::ShowRange()
{
    range_->setText(QStringLiteral(u"（1〜%1行）").arg(counts_[static_cast<std::size_t>(side_->currentIndex())]));
}

void GoToLineDlg::accept()
{
    const GoToLineRequest r = request();
    const QString message = LineOutOfRangeMessage(r.side, r.line, counts_[static_cast<std::size_t>(r.side)]);
    if (!message.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), message);
        line_->setFocus();
        line_->selectAll();
        return;
    }
    QDialog::accept();
}
