#include "ui/settings/setting_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kSmallestTab = 1;
constexpr int kLargestTab = 8;

}  // namespace

CSettingDlg::CSettingDlg(const kl::DocSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings)
{
    setWindowTitle(QStringLiteral(u"環境設定"));
    // Multi-line check boxes, one sentence per line.
    paramDo_ = new QCheckBox(QStringLiteral(u"パラメータに２つのファイル名を渡すと比較処理を行います。\n"
                                            u"チェックをはずすと読み込みのみ行います。"), this);
    openDo_ = new QCheckBox(QStringLiteral(u"２つ目のファイルの読み込み時に比較処理を行います。\n"
                                           u"チェックをはずすと読み込みのみ行います。"), this);
    eucChg_ = new QCheckBox(QStringLiteral(u"EUCが含まれている場合SJISで表示する"), this);
    tabSize_ = new QSpinBox(this);
    tabSize_->setRange(kSmallestTab, kLargestTab);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral(u"パラメータの処理（ex. kestrilane file1.txt file2.txt）"), this));
    layout->addWidget(paramDo_);
    layout->addWidget(new QLabel(QStringLiteral(u"メニューからファイル選択での処理"), this));
    layout->addWidget(openDo_);
    layout->addWidget(eucChg_);
    auto* tabRow = new QHBoxLayout;
    tabRow->addWidget(new QLabel(QStringLiteral(u"タブサイズ"), this));
    tabRow->addWidget(tabSize_);
    tabRow->addStretch();
    layout->addLayout(tabRow);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral(u"ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    paramDo_->setChecked(settings_.fParamDo != 0);
    openDo_->setChecked(settings_.fOpenDo != 0);
    eucChg_->setChecked(settings_.eucChg == 1);
    tabSize_->setValue(std::clamp(settings_.tabSize, kSmallestTab, kLargestTab));
}

QCheckBox* CSettingDlg::check(int id) const
{
    switch (id) {
    case 1015: return paramDo_;
    case 1016: return openDo_;
    case 1030: return eucChg_;
    default: return nullptr;
    }
}

kl::DocSettings CSettingDlg::settings() const
{
    kl::DocSettings result = settings_;
    result.fParamDo = paramDo_->isChecked() ? 1 : 0;
    result.fOpenDo = openDo_->isChecked() ? 1 : 0;
    result.eucChg = eucChg_->isChecked() ? 1 : 0;
    result.tabSize = tabSize_->value();
    return result;
}
