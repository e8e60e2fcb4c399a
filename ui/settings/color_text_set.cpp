#include "ui/settings/color_text_set.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/platform/cp932.h"
#include "ui/display/painters.h"
#include "ui/settings/color_static.h"
#include "ui/platform/cp932_text.h"

CColorTextSet::CColorTextSet(const ColorTextValues& values, QWidget* parent) : QDialog(parent), values_(values)
{
    setWindowTitle(QStringLiteral(u"配色と表示設定"));
    pickColor = [](const QColor& initial, QWidget* parentWidget) {
        return QColorDialog::getColor(initial, parentWidget);
    };

    auto* group = new QGroupBox(QStringLiteral(u"比較結果の表示"), this);
    auto* grid = new QGridLayout(group);
    int row = 0;
    const auto addColor = [&](int index, const QString& label) {
        swatches_[static_cast<std::size_t>(index)] = new CColorStatic(group);
        auto* button = new QPushButton(QStringLiteral(u"色選択"), group);
        pickButtons_[static_cast<std::size_t>(index)] = button;
        connect(button, &QPushButton::clicked, this, [this, index] { Pick(index); });
        grid->addWidget(new QLabel(label, group), row, 0);
        grid->addWidget(swatches_[static_cast<std::size_t>(index)], row, 1);
        grid->addWidget(button, row, 2);
        ++row;
    };
    addColor(kl::COLOR_SAME, QStringLiteral(u"同一行"));
    sameCol_ = new QCheckBox(QStringLiteral(u"同じ行は色塗りをしない"), group);
    grid->addWidget(sameCol_, row++, 0, 1, 3);
    addColor(kl::COLOR_DOC1, QStringLiteral(u"左DocAのみ存在する行"));
    addColor(kl::COLOR_DOC2, QStringLiteral(u"右DocBのみ存在する行"));
    addColor(kl::COLOR_CHANGED1, QStringLiteral(u"左DocAの変更行（並べて表示）"));
    addColor(kl::COLOR_CHANGED2, QStringLiteral(u"右DocBの変更行（並べて表示）"));

    left_ = new QLineEdit(group);
    right_ = new QLineEdit(group);
    auto* otherButton = new QPushButton(QStringLiteral(u"色選択"), group);
    pickButtons_[kl::COLOR_OTHER] = otherButton;
    connect(otherButton, &QPushButton::clicked, this, [this] { Pick(kl::COLOR_OTHER); });
    grid->addWidget(new QLabel(QStringLiteral(u"左相違空白行"), group), row, 0);
    grid->addWidget(left_, row, 1);
    grid->addWidget(otherButton, row++, 2);
    grid->addWidget(new QLabel(QStringLiteral(u"右相違空白行"), group), row, 0);
    grid->addWidget(right_, row++, 1);
    dispMes_ = new QCheckBox(QStringLiteral(u"他行一致メッセージを入れる"), group);
    otherCol_ = new QCheckBox(QStringLiteral(u"相違行の対象にある空白部分の背景を塗る"), group);
    grid->addWidget(dispMes_, row++, 0, 1, 3);
    grid->addWidget(otherCol_, row++, 0, 1, 3);
    addColor(kl::COLOR_LINEBACK, QStringLiteral(u"行番号背景"));
    addColor(kl::COLOR_LINETEXT, QStringLiteral(u"行番号文字色"));
    addColor(kl::COLOR_SELBACK, QStringLiteral(u"選択行の色"));
    addColor(kl::COLOR_FOUND, QStringLiteral(u"検索で見つかった文字列"));

    auto* buttons = new QDialogButtonBox(this);
    auto* defaults = buttons->addButton(QStringLiteral(u"デフォルトの設定に戻す"), QDialogButtonBox::ResetRole);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral(u"ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    defaults_ = defaults;
    connect(defaults, &QPushButton::clicked, this, &CColorTextSet::RestoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    for (std::size_t i = 0; i < swatches_.size(); ++i) {
        if (swatches_[i])
            swatches_[i]->setColor(kl::ColorFromRef(values_.colors[i]));
    }
    left_->setText(FromCp932(values_.leftMessage));
    right_->setText(FromCp932(values_.rightMessage));
    dispMes_->setChecked(values_.fDispMes != 0);
    sameCol_->setChecked(values_.fSameCol != 0);
    otherCol_->setChecked(values_.fOtherCol != 0);
    ShowOtherColor();
}

QWidget* CColorTextSet::pickButton(int colorIndex) const
{
    return pickButtons_[static_cast<std::size_t>(colorIndex)];
}

CColorStatic* CColorTextSet::swatch(int colorIndex) const
{
    return swatches_[static_cast<std::size_t>(colorIndex)];
}

QLineEdit* CColorTextSet::messageEdit(int which) const
{
    return which == 0 ? left_ : right_;
}

QCheckBox* CColorTextSet::check(int id) const
{
    switch (id) {
    case 1015: return dispMes_;
    case 1030: return sameCol_;
    case 1031: return otherCol_;
    default: return nullptr;
    }
}

void CColorTextSet::Pick(int colorIndex)
{
    const QColor chosen = pickColor(kl::ColorFromRef(values_.colors[static_cast<std::size_t>(colorIndex)]), this);
    if (!chosen.isValid())
        return;
    values_.colors[static_cast<std::size_t>(colorIndex)] = kl::RefFromColor(chosen);
    if (CColorStatic* shown = swatch(colorIndex))
        shown->setColor(chosen);
    if (colorIndex == kl::COLOR_OTHER)
        ShowOtherColor();
}

// The message boxes show their text on the OTHER colour, as the filler rows do.
void CColorTextSet::ShowOtherColor()
{
    for (QLineEdit* edit : {left_, right_}) {
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, kl::ColorFromRef(values_.colors[kl::COLOR_OTHER]));
        edit->setPalette(palette);
    }
}

// Everything but OTHER goes back to the built-in values.
void CColorTextSet::RestoreDefaults()
{
    const kl::ColorTable defaults = kl::DefaultColorTable(values_.colors[kl::COLOR_WINDOW]);
    for (int index : {kl::COLOR_SAME, kl::COLOR_DOC1, kl::COLOR_DOC2, kl::COLOR_LINETEXT, kl::COLOR_LINEBACK,
                      kl::COLOR_SELBACK, kl::COLOR_CHANGED1, kl::COLOR_CHANGED2, kl::COLOR_FOUND}) {
        values_.colors[static_cast<std::size_t>(index)] = defaults[static_cast<std::size_t>(index)];
        swatch(index)->setColor(kl::ColorFromRef(defaults[static_cast<std::size_t>(index)]));
    }
    left_->setText(FromCp932(kl::kDefaultLeftMessage));
    right_->setText(FromCp932(kl::kDefaultRightMessage));
    dispMes_->setChecked(true);
    sameCol_->setChecked(true);
    otherCol_->setChecked(true);
}

ColorTextValues CColorTextSet::values() const
{
    ColorTextValues result = values_;
    result.leftMessage = kl::Utf16ToCp932(left_->text().toStdU16String());
    result.rightMessage = kl::Utf16ToCp932(right_->text().toStdU16String());
    result.fDispMes = dispMes_->isChecked() ? 1 : 0;
    result.fSameCol = sameCol_->isChecked() ? 1 : 0;
    result.fOtherCol = otherCol_->isChecked() ? 1 : 0;
    return result;
}
