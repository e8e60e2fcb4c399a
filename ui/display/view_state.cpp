#include "ui/display/view_state.h"

namespace {

// Stores value in field and announces it through changed, unless it is there already.
template <typename Value>
void Change(ViewState* state, Value& field, Value value, void (ViewState::*changed)(Value))
{
    if (field == value)
        return;
    field = value;
    emit(state->*changed)(value);
}

}  // namespace

ViewState::ViewState(QObject* parent) : QObject(parent) {}

void ViewState::setDisplayMode(kl::DisplayMode mode)
{
    Change(this, displayMode_, mode, &ViewState::displayModeChanged);
}

void ViewState::setDetailMode(int mode)
{
    Change(this, detailMode_, mode, &ViewState::detailModeChanged);
}

void ViewState::setDiffPosition(int position)
{
    Change(this, diffPosition_, position, &ViewState::diffPositionChanged);
}

void ViewState::setPaired(bool paired)
{
    Change(this, paired_, paired, &ViewState::pairedChanged);
}

void ViewState::setZoom(int steps)
{
    Change(this, zoom_, steps, &ViewState::zoomChanged);
}

void ViewState::setFound(std::shared_ptr<const kl::SearchResult> result)
{
    if (!result && !found_.result)
        return;
    found_ = {std::move(result), -1, {}};
    emit foundChanged();
}

void ViewState::setCurrentMatch(int side, const kl::TextMatch& match)
{
    if (found_.currentSide == side && found_.current == match)
        return;
    found_.currentSide = side;
    found_.current = match;
    emit foundChanged();
}

void ViewState::setCurrentDifference(const CurrentDifference& difference)
{
    if (currentDifference_ == difference)
        return;
    currentDifference_ = difference;
    emit currentDifferenceChanged();
}
