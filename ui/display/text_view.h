#pragma once
// The two text views: CKestrilaneView shows DocA (left, side 0) and CKestrilane2View DocB
// (right, side 1), either the texts as loaded (DISPLAY_SOURCE) or their column of the
// aligned result (DISPLAY_RESULT). Both are one class with a side index.
//
// The vertical position is the row position shared by the whole splitter row: the view
// reads and moves it through its row scroll bar, which the splitter replaces with its
// shared bar. Each view has a horizontal bar of its own, which the splitter keeps level with
// the other one; the line numbers stay at the left edge while the text scrolls sideways.
// Where each row stands vertically (several lines high when long lines wrap) comes from the
// row geometry of the view state, which both views share.
//
// The view paints through the painters, and selects with the mouse through its CLineWnd:
// press and drag select, a click on a complete selection clears it. The caret (a row and a
// byte offset) stands where the mouse was released or where the keys moved it; Shift with
// the keys extends the selection from it.
#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>
#include <utility>

#include "engine/display/display_options.h"
#include "ui/display/line_wnd.h"
#include "ui/display/newline_mark.h"
#include "ui/display/painters.h"
#include "ui/display/text_editing.h"
#include "ui/display/view_state.h"

class CKestrilaneDoc;
class QScrollBar;

class CTextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    CTextView(CKestrilaneDoc& doc, int side, QWidget* parent = nullptr);

    int side() const { return side_; }

    // The view state both views read (the main window's); until given, one of the view's
    // own.
    void SetViewState(ViewState* state);
    // DISPLAY_SOURCE or DISPLAY_RESULT, as the view state has it; the frame switches both
    // views through it, then updates them.
    int displayMode() const { return state_->displayMode(); }
    void setDisplayMode(int mode) { state_->setDisplayMode(static_cast<kl::DisplayMode>(mode)); }
    // What the view shows: its display mode, with changed lines paired as the settings say.
    kl::DisplayOptions Options() const;
    // The rows it shows now.
    std::shared_ptr<const kl::ShownRows> Shown() const;

    // The document changed (loading, a comparison, a display-mode switch, settings): takes
    // the row count, row height and scroll extent anew. After a display-mode switch the
    // left view brings the line that was at the top back to the top (this is what the
    // frame's keepTopOnUpdate asks for; the switch is recognised by displayMode differing
    // from the mode of the previous update), and the right view follows through the shared
    // row position. A complete selection moves with its lines while the rows still show
    // them (the same text); otherwise it ends.
    void OnUpdate();

    // Ends a selection in progress (the document is about to release the texts).
    void CancelSelection();
    // Puts the selected text on the clipboard, decoded to Unicode; nothing when there is no
    // selection.
    void CopySelection();

    CLineWnd& lineWnd() { return lineWnd_; }
    // The view's measures now, for its CLineWnd.
    ViewMetrics Metrics();
    // The font this view paints with: the left font, or the right view's font, in the size
    // the session's zoom gives it.
    const QFont& ViewFont() const;
    // The font of a side's view.
    QFont SideFont(int side) const;
    // Pixel width of a tab cell (TABSIZE spaces of the left font); 0 until first measured.
    int TabPixels() const { return tabPixels_; }

    // The bar that holds the row position; the view's own hidden bar until the splitter
    // gives it the shared one.
    void SetRowScrollBar(QScrollBar* bar);
    QScrollBar* rowScrollBar() const { return rowBar_; }
    // How the texts this view shows now are read.
    kl::TextEncoding SideEncoding() const;
    // Vertical scroll position in pixels, and its largest value for this view.
    int scrollTop() const;
    int maxScrollTop() const;
    // The largest horizontal position this view's own text needs.
    int maxScrollLeft() const;

    int charWidth = 0;        // pixel width of a character cell
    int lineHeight = 0;       // row pitch: the taller of both views' fonts; 0 until the first update
    int rowCount = 0;         // rows of the longer side in the current mode
    int longestLine = 0;      // this side's longest line, which sets the scroll width
    int scrollWidth = 0;      // pixels
    int totalHeight = 0;      // lineHeight x rowCount
    int visibleBottom = 0;    // scroll position + client height
    int numberColumnWidth = 0;
    int caretState = 0;       // 0 none, 1 created and hidden, 2 shown
    int selectionState = 0;   // 0 none, 1 dragging, 2 complete
    bool selectionArmed = true;
    QPoint dragPoint{-1, -1};  // last mouse point or caret move, client coordinates

    // The caret: where it stands, and moving it there. With extend the selection runs from
    // its anchor (or the old caret, when there is none) to the new place; otherwise a
    // selection ends. The view scrolls to show the caret; caretMoved follows.
    TextPosition caretPosition() const { return lineWnd_.caret; }
    void setCaretPosition(TextPosition position, bool extend = false);
    // The selected range, start before end; nothing without a selection.
    std::optional<std::pair<TextPosition, TextPosition>> selectedRange() const;
    // Selects the whole column of this view, "[EOF]" row included.
    void SelectAll();
    // Client point of the caret's top.
    QPoint CaretClientPoint();
    // Rows of one page: the rows the view shows whole, at least one.
    int PageRows() const;

    // Pixels from the top of the first row to the top of row, and the row at y, as the rows
    // stand now (wrapped or not).
    long long RowTop(int row) const;
    int RowAtY(long long y) const;
    // The width this view's rows wrap at now; 0 when they do not wrap.
    int WrapWidth() const;

    // Selects the whole row (the rows of the current mode) and scrolls it into the middle.
    void SelectRow(int row);
    // Selects bytes [begin, end) of row's text and scrolls the row to pixelsAbove below the top
    // (and sideways where the range is out of sight).
    void SelectRange(int row, std::size_t begin, std::size_t end, int pixelsAbove);

    // Typing into this view's text; what the input method asks about the caret's place.
    CTextEditing& editing() { return editing_; }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    // The caret stands somewhere else (keys, mouse, a selection made for the user).
    void caretMoved();
    // totalHeight or the client height changed, and with them maxScrollTop().
    void extentChanged();
    // The right button went down at point (viewport coordinates); the line windows open.
    void rightPressed(QPoint point);
    // The context-menu key was pressed; point is where the caret stands.
    void contextKeyPressed(QPoint point);
    // The left button went down: the line windows hide.
    void leftPressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    // Typing: the input method's composition, and Tab kept for the text.
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void Anchor(TextPosition from, const ViewMetrics& metrics);
    void ExtendTo(TextPosition position);
    int MeasureScrollWidth();
    void MeasureFonts();
    void MeasureTabCell();
    void UpdateScrollRanges();
    // Lays the rows out for the width and the fonts now (anew when rowsChanged, else only
    // when the wrap width or the rows differ from the last layout), then takes the extent.
    void LayOutRows(bool rowsChanged);
    // The rows of either view were laid out: the extent and the picture follow.
    void FollowGeometry();
    void OnRowScrolled();
    void UpdateRows(int first, int last);
    void PlaceCaret(TextPosition position);
    void ScrollToCaret();
    int LineStep() const;

    CKestrilaneDoc& doc_;
    CTextEditing editing_{*this, doc_};
    const int side_;
    ViewState ownState_;
    ViewState* state_ = &ownState_;
    std::shared_ptr<const kl::ShownRows> laidOut_;  // the rows of the previous update
    std::shared_ptr<const kl::ShownRows> wrappedRows_;  // the rows the geometry was built from
    QFont wrappedFont_;                                 // and the font and tab cell it measured
    int wrappedTab_ = 0;
    int tabPixels_ = 0;
    int wheelRemainder_ = 0;            // wheel delta short of a whole notch
    int numberDigits_ = 5;              // line-number digits: enough for the longer text                 // see TabPixels()
    QScrollBar* rowBar_ = nullptr;

    CLineWnd lineWnd_;
    bool capturing_ = false;  // the left button went down here and selects while it is held
    bool swallowRelease_ = false;  // the release of a double click that made a selection
    kl::TextMeasure measure_;
    QString scratch_;          // the painters' segment buffer
    QPixmap newlineMark_;
    kl::LineEndMarks lineEndMarks_;
    QColor newlineMarkBackground_;
    QPixmap markBitmap_;       // the boxed side letter in the corner
    QBasicTimer caretTimer_;
    QBasicTimer relayoutTimer_;  // a resize of a long text that waits to wrap the rows anew
    bool caretOn_ = true;      // blink phase
    QRect caretRect_;          // where the caret was last drawn
    mutable QFont viewFont_;   // see ViewFont()
    int goalX_ = -1;           // pixels from the text origin Up and Down keep to; -1 none
};

class CKestrilaneView : public CTextView {
    Q_OBJECT

public:
    explicit CKestrilaneView(CKestrilaneDoc& doc, QWidget* parent = nullptr);
};

class CKestrilane2View : public CTextView {
    Q_OBJECT

public:
    explicit CKestrilane2View(CKestrilaneDoc& doc, QWidget* parent = nullptr);
};
