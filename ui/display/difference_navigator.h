#pragma once
// The next and previous difference commands: finds the block (display/difference_navigation.h),
// moves the overview bar's thumb there, scrolls the views to it and remembers the position
// in the frame's diffPosition, from which the following step goes on.
//
// The views share one row position, so scrolling the view of the block's side scrolls
// both: the block's first row (DISPLAY_RESULT) or first line (DISPLAY_SOURCE; each view
// shows its own text's line k on row k) is brought a few rows below the views' top, and the
// block becomes the view state's current difference, which the views outline.
//
// At the last difference Next goes nowhere but says so (endReached); pressed again right
// away it goes round to the first. Previous does the same at the first difference.
#include <QObject>
#include <optional>
#include <QPointer>
#include <memory>

#include "engine/display/difference_navigation.h"

class CKestrilaneDoc;
class CSplitterSnd;
class ViewState;
class QAction;

class CDifferenceNavigator : public QObject {
    Q_OBJECT

public:
    // diffPosition is the frame's, which a click in the overview bar also sets.
    CDifferenceNavigator(CKestrilaneDoc& doc, CSplitterSnd& panes, ViewState& state, QObject* parent = nullptr);

    // Whether Next / Previous would do anything: move, or at the end go round, in the views'
    // current display mode (so both are enabled exactly when there is a difference).
    bool CanNext() const;
    bool CanPrevious() const;
    // Goes to the next / previous difference; false, and nothing moves, when there is none
    // in that direction (then endReached, or at the second press the walk goes round).
    bool Next();
    bool Previous();

    // The commands' actions, kept enabled exactly when their step would move (running the
    // steps stays with the caller's command routing). The state is refreshed after each
    // step, each overview click and each change of the document; call RefreshActions()
    // after changing diffPosition or the display mode elsewhere.
    void TrackActions(QAction* next, QAction* previous);
    void RefreshActions();

signals:
    // A next or previous difference command went to block (0-based) of count blocks.
    void arrived(int block, int count);
    // A step found no difference beyond the current one; pressed again it goes round.
    void endReached(bool forward);

private:
    struct Arrival {
        bool forward = true;
        int stopPosition = 0;  // the row the move went to
        int leftPosition = 0;  // the difference position it left behind
    };
    int Origin(bool forward) const;
    bool Step(bool forward);
    std::shared_ptr<const kl::ShownRows> Shown() const;
    void GoTo(const kl::DifferenceStop& stop, int newDiffPosition);

    CKestrilaneDoc& doc_;
    CSplitterSnd& panes_;
    ViewState& state_;
    std::optional<Arrival> arrival_;  // the last move of the commands, to turn back from
    std::optional<bool> wrapArmed_;   // the direction whose next step goes round
    QPointer<QAction> next_;
    QPointer<QAction> previous_;
};
