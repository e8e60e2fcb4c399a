#include "ui/display/view_state.h"

ViewState::ViewState(QObject* parent) : QObject(parent) {}

void ViewState::setDisplayMode(kl::DisplayMode mode)
{
    if (mode == displayMode_)
        return;
    displayMode_ = mode;
    emit displayModeChanged(mode);
}

void ViewState::setDetailMode(int mode)
{
    if (mode == detailMode_)
        return;
    detailMode_ = mode;
    emit detailModeChanged(mode);
}

void ViewState::setDiffPosition(int position)
{
    if (position == diffPosition_)
        return;
    diffPosition_ = position;
    emit diffPositionChanged(position);
}

void ViewState::setPaired(bool paired)
{
    if (paired == paired_)
        return;
    paired_ = paired;
    emit pairedChanged(paired);
}
