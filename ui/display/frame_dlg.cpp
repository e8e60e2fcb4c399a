#include "ui/display/frame_dlg.h"

#include "ui/display/view_state.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QRadioButton>

#include "engine/display/display_options.h"

CFrameDlg::CFrameDlg(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 2, 10, 2);
    layout->setSpacing(8);

    auto addRadio = [this, layout](QButtonGroup* group, const QString& text, int id) {
        auto* radio = new QRadioButton(text, this);
        radio->setObjectName(QStringLiteral("radio%1").arg(id));
        group->addButton(radio, id);
        layout->addWidget(radio);
    };

    displayGroup_ = new QButtonGroup(this);
    addRadio(displayGroup_, QStringLiteral(u"元データ"), IDC_SOURCE);
    addRadio(displayGroup_, QStringLiteral(u"比較表示"), IDC_RESULT);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    layout->addWidget(separator);

    detailGroup_ = new QButtonGroup(this);
    addRadio(detailGroup_, QStringLiteral("D1"), IDC_D1);
    addRadio(detailGroup_, QStringLiteral("D2"), IDC_D2);
    layout->addStretch(1);

    ShowSwitches();
    connect(displayGroup_, &QButtonGroup::idClicked, this, &CFrameDlg::OnDisplayClicked);
    connect(detailGroup_, &QButtonGroup::idClicked, this, &CFrameDlg::OnDetailClicked);
}

QAbstractButton* CFrameDlg::button(int id) const
{
    if (QAbstractButton* radio = displayGroup_->button(id))
        return radio;
    return detailGroup_->button(id);
}

void CFrameDlg::SetViewState(ViewState* state)
{
    state_ = state;
}

void CFrameDlg::SetDisplayRadio(int mode)
{
    displaySwitch = mode == DISPLAY_RESULT ? 1 : 0;
    ShowSwitches();
}

void CFrameDlg::Refresh()
{
    if (state_)
        detailSwitch = state_->detailMode() == 1 ? 1 : 0;
    ShowSwitches();
}

void CFrameDlg::ShowSwitches()
{
    displayGroup_->button(displaySwitch == 1 ? IDC_RESULT : IDC_SOURCE)->setChecked(true);
    detailGroup_->button(detailSwitch == 1 ? IDC_D2 : IDC_D1)->setChecked(true);
}

void CFrameDlg::OnDisplayClicked(int id)
{
    displaySwitch = id == IDC_RESULT ? 1 : 0;
    if (id == IDC_RESULT)
        emit showResultRequested();
    else
        emit showSourceRequested();
}

void CFrameDlg::OnDetailClicked(int id)
{
    detailSwitch = id == IDC_D2 ? 1 : 0;
    if (!state_)
        return;
    state_->setDetailMode(detailSwitch);
    emit detailModeChanged(detailSwitch);
}
