#pragma once
// The selection of a text view: the anchor where the mouse was pressed, the free end that
// follows it, the caret position and the keyboard table. A plain object, one per view; the
// view hands it the mouse points and its current measures and applies what it answers.
//
// Positions are character boundaries: a row and a byte offset into the row's text. The
// selection stays where it was made when the view scrolls.
#include <QPoint>
#include <algorithm>
#include <climits>
#include <Qt>
#include <compare>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "ui/display/painters.h"
#include "ui/display/row_geometry.h"
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
    const kl::RowGeometry* geometry = nullptr;  // where the rows stand; null: one line each
    int wrapWidth = 0;    // the width this side's rows wrap at; 0 none

    long long RowTop(int row) const
    {
        return geometry ? geometry->Top(row) : static_cast<long long>(row) * lineHeight;
    }
    int RowAt(long long y) const
    {
        if (geometry)
            return geometry->RowAt(y);
        return lineHeight > 0 ? static_cast<int>(std::clamp<long long>(y / lineHeight, 0, INT_MAX)) : 0;
    }
};

// A place between two characters of a view: a row of the rows shown and a byte offset into
// the row's text (a character boundary, at most the content length).
struct TextPosition {
    int row = 0;
    std::size_t offset = 0;
    friend auto operator<=>(const TextPosition&, const TextPosition&) = default;
};

// The caret moves of the keys.
enum class CaretMove { None, Left, Right, Up, Down, LineStart, LineEnd, First, Last, PageUp, PageDown };

// The move a key asks for (Shift aside, which extends the selection); None for other keys.
CaretMove CaretMoveOf(int key, Qt::KeyboardModifiers modifiers);

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
    // Pixels from the text origin to byte n of the text, tabs expanded.
    static int PrefixWidth(std::string_view text, std::size_t n, const ViewMetrics& metrics);
    // Height of rowCount rows.
    static int ScrollExtent(int rowCount, const ViewMetrics& metrics);
    // Where the caret lands from `from` after move; pageRows is the rows of a page.
    // Up and Down keep the caret near goalX (pixels from the text origin), which a sideways
    // move sets to -1 and a vertical move takes from the caret when it is -1.
    TextPosition CaretTarget(TextPosition from, CaretMove move, int pageRows, const ViewMetrics& metrics,
                             int& goalX) const;
    // The last row the caret can stand on: shown as loaded the row of "[EOF]", else the
    // column's last row.
    int LastCaretRow(const kl::ShownRows& shown) const;
    // The position made valid for the rows: the row clamped, the offset at most the content
    // length, on a character boundary, 0 on a filler row.
    TextPosition Clamped(TextPosition position, const ViewMetrics& metrics) const;
    // The position nearest to a client point (the row clamped to the caret's rows).
    TextPosition PositionAt(QPoint point, const ViewMetrics& metrics) const;
    // The client point of the top of the caret standing at position.
    QPoint ClientPointOf(TextPosition position, const ViewMetrics& metrics) const;
    // Content length of row for the caret (0 for a filler row or a row with no text).
    std::size_t CaretRowLength(int row, const kl::ShownRows& shown) const;
    // The selected text: the selected part of each selected row in order, whole rows with
    // their own line ends. Filler rows hold no text of the document and are left out.
    std::string CollectSelection(const kl::ShownRows& shown) const;

    void ClearSelection();
    bool hasSelection() const;
    // Moves the selection from the rows of from onto the rows of to: each end onto the row
    // that shows its line (an end on a filler row onto the next line below it). False, and
    // the selection is cleared, unless to shows the same text and every selected line.
    bool CarrySelection(const kl::ShownRows& from, const kl::ShownRows& to);
    // Moves the caret from the rows of from onto the row of to that shows its line, when both
    // show the same text; otherwise it stays on its row.
    void CarryCaret(const kl::ShownRows& from, const kl::ShownRows& to);
    // Places the anchor again at its byte offset with the view's measures now.
    void Reanchor(const ViewMetrics& metrics);

    int anchorRow = -1;
    std::size_t anchorOffset = 0;  // byte offset of the anchor in its row
    int anchorX = 0;               // client-independent x of the anchor: numberColumnWidth + width + 3
    int endRow = -1;
    std::size_t endOffset = 0;
    int repaintFirst = -1;  // rows touched since the press; -1 when none
    int repaintLast = -1;
    TextPosition caret;     // where the caret stands

private:
    struct Row {
        bool exists = false;
        std::string_view text;    // with the line end
        bool filler = false;      // a filler row of the result: no text of the document
    };
    // The text of a filler row lives in this object until the next call.
    Row RowAt(int row, const kl::ShownRows& shown) const;
    // The row under client y, clamped to the rows up to lastRow, and the line of it there.
    std::pair<int, int> RowAndLine(int y, int lastRow, const ViewMetrics& metrics) const;
    // Where the position stands in its row: its line and x from the text origin.
    kl::WrappedPoint PointOf(TextPosition position, const ViewMetrics& metrics) const;
    // Lines the side's own text takes on row.
    int OwnLines(int row, const ViewMetrics& metrics) const;
    // The selected bytes [from, to) of a row; empty when it is not selected.
    std::pair<std::size_t, std::size_t> SelectedPart(int row, std::string_view text) const;

    mutable std::string fillerText_;  // the message RowAt gave last
    const int side_;
};
