#pragma once
// What the window shows, in one place that everything reads and that tells when it changes:
// the display mode of both text views, D1 or D2 (the overview bar's scaling and the window
// a right-click opens), the position the difference navigation goes on from, and whether
// changed lines stand side by side, the session's font zoom and where the rows stand. The
// main window owns one.
#include <QObject>

#include "engine/display/display_options.h"
#include "ui/display/row_geometry.h"
#include "engine/display/match_places.h"

// The difference the navigation stands on: rows [firstRow, lastRow] of the shown rows, in
// the view of side, or in both views when side is -1; [barFirstRow, barLastRow] are its rows
// of the result, which the overview bar maps. None while firstRow is negative.
struct CurrentDifference {
    int side = -1;
    int firstRow = -1;
    int lastRow = -1;
    int barFirstRow = -1;
    int barLastRow = -1;

    bool operator==(const CurrentDifference&) const = default;
};

class ViewState : public QObject {
    Q_OBJECT

public:
    explicit ViewState(QObject* parent = nullptr);

    kl::DisplayMode displayMode() const { return displayMode_; }
    void setDisplayMode(kl::DisplayMode mode);
    // 0 D1 (rows), 1 D2 (blocks): the overview bar's OVERVIEW_ROWS / OVERVIEW_BLOCKS.
    int detailMode() const { return detailMode_; }
    void setDetailMode(int mode);
    // The row (or line, shown as loaded) after which the next difference is looked for;
    // -1 before the first row.
    int diffPosition() const { return diffPosition_; }
    void setDiffPosition(int position);
    // Changed lines side by side in the result.
    bool paired() const { return paired_; }
    void setPaired(bool paired);

    // Font size steps of both text views for this session (0: the set size; not saved).
    int zoom() const { return zoom_; }
    void setZoom(int steps);

    // Where the rows of both text views stand; a view that changes it calls
    // announceGeometry() so that the other one follows.
    kl::RowGeometry& geometry() { return geometry_; }
    const kl::RowGeometry& geometry() const { return geometry_; }
    void announceGeometry() { emit geometryChanged(); }

    kl::DisplayOptions options() const { return {displayMode_, paired_}; }

    // The matches of the find bar that the views highlight (none without a result).
    const kl::FoundMatches& found() const { return found_; }
    void setFound(std::shared_ptr<const kl::SearchResult> result);
    // The match the views show as current; side -1 for none.
    void setCurrentMatch(int side, const kl::TextMatch& match);
    // The difference the views and the overview bar outline.
    const CurrentDifference& currentDifference() const { return currentDifference_; }
    void setCurrentDifference(const CurrentDifference& difference);

signals:
    void displayModeChanged(kl::DisplayMode mode);
    void detailModeChanged(int mode);
    void diffPositionChanged(int position);
    void pairedChanged(bool paired);
    void zoomChanged(int steps);
    void geometryChanged();
    void foundChanged();
    void currentDifferenceChanged();

private:
    kl::DisplayMode displayMode_ = kl::DISPLAY_SOURCE;
    int detailMode_ = 0;
    int diffPosition_ = -1;
    bool paired_ = false;
    int zoom_ = 0;
    kl::RowGeometry geometry_;
    kl::FoundMatches found_;
    CurrentDifference currentDifference_;
};
