#pragma once
// The overview bar left of the two text views: a strip per text mapping the whole result
// in the colours of the row kinds, and between them a thumb marking the stretch the views
// show. A click scrolls the views to the clicked place. The picture itself is drawn by
// display/overview_painter.h.
#include <QWidget>
#include <cstdint>
#include <optional>

#include "ui/display/overview_painter.h"

class CKestrilaneDoc;
class QPainter;
class CSplitterSnd;
class ViewState;

class COverView : public QWidget {
    Q_OBJECT

public:
    explicit COverView(CKestrilaneDoc& doc, QWidget* parent = nullptr);

    // Connects the bar to the window around it: the splitter whose views it scrolls and
    // whose shared row position its thumb follows, and the view state: its detail mode (read
    // at each update; until given, the bar maps blocks), its paired display and its
    // difference position (set by a click).
    void Attach(CSplitterSnd& panes, ViewState& state);

    // The document changed: rebuilds both strips and the thumb's height, and keeps the row
    // count the bar maps when there is one (RowCount()).
    void OnUpdate();
    // Moves the thumb's top edge to y (client pixels) and repaints.
    void SetThumbTop(int top);
    // Moves the thumb to position p of a range of r (scroll pixels, or a row of RowCount()
    // rows); nothing happens unless 0 <= p < r.
    void SetThumbPosition(long long p, long long r);

    // The rows the bar mapped at the last update that had any; -1 until then. A document
    // without rows leaves the last count in place.
    int RowCount() const { return rowCount_; }

    const kl::OverviewBar& bar() const { return bar_; }
    const kl::OverviewStrips& strips() const { return strips_; }

    int thumbTop = 0;     // y of the thumb's top edge
    int thumbHeight = 0;  // 0 while there is no result to map

signals:
    // A click has scrolled the views and set diffPosition.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void FollowRowPosition();
    void ScrollToClick(int y);
    void PaintCurrentDifference(QPainter& painter);

    CKestrilaneDoc& doc_;
    CSplitterSnd* panes_ = nullptr;
    ViewState* state_ = nullptr;
    kl::OverviewBar bar_;
    kl::OverviewStrips strips_;
    // What strips_ were built from, when they show rows: an edit that moved no line keeps
    // the rows, and the strips need no new pass over them.
    struct StripsSource {
        std::uint64_t generation = 0;
        int top = 0, bottom = 0, left = 0, right = 0;
        int rowHeightSetting = 0;
        bool bothTexts = false;
        bool operator==(const StripsSource&) const = default;
    };
    std::optional<StripsSource> stripsSource_;
    int rowCount_ = -1;
};
