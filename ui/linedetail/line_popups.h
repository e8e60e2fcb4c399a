#pragma once
// The line windows of one text view: a right-click on a row opens the line difference
// window (D1) or the line information window (D2) near the row, the context-menu key the
// line difference window at the caret. Each is made at its first use and reused. A left
// press in the view hides both; so does any change of the texts or of the result they show.
#include <QObject>
#include <QPoint>
#include <QSize>
#include <memory>

#include <optional>

#include "engine/compare/compare_result.h"
#include "engine/linedetail/line_pick.h"
#include "ui/display/line_wnd.h"
#include "ui/linedetail/line_compare_worker.h"

class CKestrilaneDoc;
class CLineDiffFrm;
class CLineInfoFrm;
class CTextView;
class ViewState;

// Where a line window goes and how large it is, in the view's client coordinates.
struct PopupPlacement {
    QPoint topLeft;
    QSize size;
    int scrollWidth = 0;  // content width for a horizontal scroll bar; 0 for none
};

// A window for a click at clickY on row: 6 rows above the click from row 5 on, 5 rows
// below it before, never above the view; at x numberColumnWidth + 2. A text width over 800
// gets a horizontal scroll bar (range textWidth + 50) and extraHeight more height.
PopupPlacement PlacePopup(int row, int clickY, int lineHeight, int numberColumnWidth, int textWidth, int height,
                          int extraHeight);

// A right-click or context key on a row: the row and the lines it picks.
struct PopupClick {
    int row = -1;
    kl::LinePick pick;
    ViewMetrics metrics;  // the view's, at the click
};

class CLinePopups : public QObject {
    Q_OBJECT

public:
    // detailMode: the frame's D1/D2 choice (0 D1, 1 D2).
    CLinePopups(CTextView& view, CKestrilaneDoc& doc, const ViewState* state);
    ~CLinePopups() override;

    // The right button went down at point (viewport coordinates).
    void OnRightPress(QPoint point);
    // The context-menu key; point is where the caret stands.
    void OnContextKey(QPoint point);
    // Open the window for the row at point; false when the point picks no lines.
    bool ShowLineDiff(QPoint point);
    bool ShowLineInfo(QPoint point);
    void HidePopups();

    CLineDiffFrm* lineDiff() const { return lineDiff_; }
    CLineInfoFrm* lineInfo() const { return lineInfo_; }

    // Given to the line difference window's runs.
    LineCompareWorker::StageHook stageHook;

private:
    // The document's texts or result changed: a window that shows what is gone hides.
    void OnDocumentChanged();
    QRect ScreenRect(const PopupPlacement& placement) const;
    // The click at point, with window (made by create on first use) given the current
    // style; nothing when the point picks no lines.
    template <typename Window, typename Create>
    std::optional<PopupClick> Prepare(Window*& window, QPoint point, const Create& create);
    // Moves window to placement, kept on the screen, and shows it in front.
    template <typename Window>
    void Present(Window& window, const PopupPlacement& placement);

    CTextView& view_;
    CKestrilaneDoc& doc_;
    const ViewState* state_;
    CLineDiffFrm* lineDiff_ = nullptr;
    CLineInfoFrm* lineInfo_ = nullptr;
    // The result shown when the line difference window was opened.
    std::weak_ptr<const kl::CompareResult> diffResult_;
};
