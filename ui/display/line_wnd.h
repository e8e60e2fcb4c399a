#pragma once
// The selection of a text view: the anchor where the mouse was pressed, the free end that
// follows it, the caret position and the keyboard table. A plain object, one per view; the
// view hands it the mouse points and its current measures and applies what it answers.
//
// Positions are character boundaries: a row and a byte offset into the row's text. The
// selection stays where it was made when the view scrolls.
#include <QPoint>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "ui/display/painters.h"
#include "engine/display/shown_rows.h"

// The measures of the view at the moment of a call.
struct ViewMetrics {
    std::shared_ptr<const kl::ShownRows> shown;  // the rows the view shows; never null
    int lineHeight = 0;
    int charWidth = 0;
    int numberColumnWidth = 0;
    int tabPixels = 0;
    int scrollTop = 0;    // vertical scroll position, pixels
    int scrollLeft = 0;   // horizontal scroll position, pixels
    int lineStep = 0;     // one horizontal scroll step, pixels
    kl::TextMeasure* measure = nullptr;  // set to the view's font
};

// What a key asks the view to do.
struct KeyAction {
    bool handled = false;
    int verticalDelta = 0;    // pixels to scroll down (negative: up)
    int horizontalDelta = 0;  // pixels to scroll right (negative: left)
    QPoint caret;             // the new caret point (client coordinates)
};

class CLineWnd {
public:
    explicit CLineWnd(int side);
    virtual ~CLineWnd();

    // The mouse press at point (client coordinates): anchors the selection at the boundary
    // nearest to it in the row under it, with an empty selection. False, and nothing
    // changes, when the row height is 0 or there is no row there.
    bool SetAnchor(QPoint point, const ViewMetrics& metrics);
    // Moves the free end of the selection to the boundary nearest point (the row clamped
    // to the rows there are).
    void SelectTo(QPoint point, const ViewMetrics& metrics);
    // Draws the selected part of each selected row in the area again on SELBACK.
    void PaintSelection(kl::PaintContext& context, const ViewMetrics& metrics) const;
    // Client point where the caret stands for the mouse point: the boundary nearest to it,
    // at the top of its row.
    QPoint CaretPoint(QPoint point, const ViewMetrics& metrics) const;
    // Pixels from the text origin to byte n of the text, tabs expanded.
    static int PrefixWidth(std::string_view text, std::size_t n, const ViewMetrics& metrics);
    // Height of rowCount rows.
    static int ScrollExtent(int rowCount, const ViewMetrics& metrics);
    // The key table: Page Up/Down, Up, Down, Left, Right. caret is the current caret point.
    KeyAction HandleKey(int key, QPoint caret, const ViewMetrics& metrics) const;
    // The selected text: the selected part of each selected row in order, whole rows with
    // their own line ends. Filler rows hold no text of the document and are left out.
    std::string CollectSelection(const kl::ShownRows& shown) const;

    void ClearSelection();
    bool hasSelection() const;
    // Moves the selection from the rows of from onto the rows of to: each end onto the row
    // that shows its line (an end on a filler row onto the next line below it). False, and
    // the selection is cleared, unless to shows the same text and every selected line.
    bool CarrySelection(const kl::ShownRows& from, const kl::ShownRows& to);
    // Places the anchor again at its byte offset with the view's measures now.
    void Reanchor(const ViewMetrics& metrics);

    int anchorRow = -1;
    std::size_t anchorOffset = 0;  // byte offset of the anchor in its row
    int anchorX = 0;               // client-independent x of the anchor: numberColumnWidth + width + 3
    int endRow = -1;
    std::size_t endOffset = 0;
    int repaintFirst = -1;  // rows touched since the press; -1 when none
    int repaintLast = -1;

private:
    struct Row {
        bool exists = false;
        std::string_view text;    // with the line end
        bool filler = false;      // a filler row of the result: no text of the document
    };
    // The text of a filler row lives in this object until the next call.
    Row RowAt(int row, const kl::ShownRows& shown) const;
    // The row under client y, or -1 with no rows; clamped to the rows there are.
    int ClampedRow(int y, const ViewMetrics& metrics) const;
    // The selected bytes [from, to) of a row; empty when it is not selected.
    std::pair<std::size_t, std::size_t> SelectedPart(int row, std::string_view text) const;

    mutable std::string fillerText_;  // the message RowAt gave last
    const int side_;
};
