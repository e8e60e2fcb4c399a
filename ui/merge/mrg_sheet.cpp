#include "ui/merge/mrg_sheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

CMrgSheet::CMrgSheet(QWidget* parent) : QTabWidget(parent)
{
    auto* afterPage = new QWidget(this);
    auto* afterLayout = new QVBoxLayout(afterPage);
    saveAs_ = new QRadioButton(QStringLiteral(u"マージ後のデータをファイル名を指定して記録する"), afterPage);
    compare_ = new QRadioButton(QStringLiteral(u"マージ後データは任意のファイル名で自動的に記録され"), afterPage);
    document_ = new QComboBox(afterPage);
    document_->addItems({QStringLiteral("DocA"), QStringLiteral("DocB")});
    saveAs_->setChecked(true);
    afterLayout->addWidget(saveAs_);
    afterLayout->addWidget(compare_);
    auto* compareRow = new QHBoxLayout;
    compareRow->addSpacing(24);
    compareRow->addWidget(document_);
    compareRow->addWidget(new QLabel(QStringLiteral(u"と比較される（別プロセスでkestrilaneが起動）"), afterPage));
    compareRow->addStretch();
    afterLayout->addLayout(compareRow);
    afterLayout->addStretch();

    auto* queryPage = new QWidget(this);
    auto* queryLayout = new QVBoxLayout(queryPage);
    scroll_ = new QCheckBox(
        QStringLiteral(u"相違ブロックの追加中に対応する行が表示されるようにバックのビューウインドウをスクロールする"),
        queryPage);
    background_ = new QCheckBox(QStringLiteral(u"問い合わせウインドウに背景色を引き継がせる"), queryPage);
    scroll_->setChecked(true);
    background_->setChecked(true);
    queryLayout->addWidget(scroll_);
    queryLayout->addWidget(background_);
    queryLayout->addStretch();

    addTab(afterPage, QStringLiteral(u"マージ実行後の処理"));
    addTab(queryPage, QStringLiteral(u"問い合わせ時のオプション"));
    setCurrentIndex(0);
}

AfterMerge CMrgSheet::afterMerge() const
{
    return compare_->isChecked() ? AfterMerge::CompareWithDocument : AfterMerge::SaveAs;
}

int CMrgSheet::compareDocument() const
{
    return document_->currentIndex() == 1 ? 1 : 0;
}

bool CMrgSheet::scrollToBlock() const
{
    return scroll_->isChecked();
}

bool CMrgSheet::blockBackground() const
{
    return background_->isChecked();
}
