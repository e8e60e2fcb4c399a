// A text view driven by mouse and keys: selection on SELBACK, copy to the clipboard, the
// click that clears a selection, drag scrolling and the key table.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "ui/display/text_view.h"
#include "ui/platform/font_resolver.h"
#include "doc_fixture.h"
#include "result_rows.h"

namespace {

const char* const kSelbackIni = "[COLOR]\nSELBACK=ff00\n";  // pure green
const QColor kSelback(0, 255, 0);

class TextViewTest : public kltest::DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        Restart(kSelbackIni);
    }

    CKestrilaneView& ShowView(QSize size = QSize(500, 200))
    {
        view = std::make_unique<CKestrilaneView>(doc());
        view->resize(size);
        view->show();
        view->OnUpdate();
        QApplication::processEvents();
        return *view;
    }

    // Client y of the middle of row k.
    int RowY(int k) const { return k * view->lineHeight + view->lineHeight / 2 - view->scrollTop(); }

    void Mouse(QEvent::Type type, QPoint point, Qt::MouseButtons buttons = Qt::LeftButton)
    {
        QWidget* target = view->viewport();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(point), target->mapToGlobal(QPointF(point)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    void Drag(QPoint from, QPoint to)
    {
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseMove, to);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    void Click(QPoint point) { Drag(point, point); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(view.get(), &event);
    }

    QString Copied()
    {
        QApplication::clipboard()->setText(QStringLiteral("(before)"));
        view->CopySelection();
        return QApplication::clipboard()->text();
    }
    bool ShowsSelection(int row)
    {
        const QImage image = view->viewport()->grab().toImage();
        const int top = row * view->lineHeight - view->scrollTop();
        for (int y = std::max(top, 0); y < std::min(top + view->lineHeight, image.height()); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == kSelback)
                    return true;
        return false;
    }
    QPoint Caret() { return view->CaretClientPoint(); }
    int TextLeft() const { return view->numberColumnWidth + 3; }

    std::unique_ptr<CKestrilaneView> view;
};

TEST_F(TextViewTest, ThreeWholeRowsCopyWithTheirOwnLineEnds)
{
    // The second line is 二行目 in code page 932.
    Load("a.txt", "one\r\n\x93\xf1\x8d\x73\x96\xda\nthree\r\nfour\r\n");
    ShowView();
    Drag(QPoint(2, RowY(0)), QPoint(2, RowY(3)));
    EXPECT_EQ(view->selectionState, 2);
    EXPECT_EQ(Copied(), QStringLiteral(u"one\r\n二行目\nthree\r\n"));
    EXPECT_TRUE(ShowsSelection(0));
    EXPECT_TRUE(ShowsSelection(2));
    EXPECT_FALSE(ShowsSelection(3));
}

TEST_F(TextViewTest, PartsOfRowsAndTheResultColumn)
{
    Load("a.txt", "abcdef\r\nxyz\r\n");
    auto& v = ShowView();
    const int cell = v.charWidth;
    {
        SCOPED_TRACE("within one row, from either end");
        Drag(QPoint(TextLeft() + 1 * cell, RowY(0)), QPoint(TextLeft() + 4 * cell, RowY(0)));
        EXPECT_EQ(Copied(), QStringLiteral("bcd"));
        Click(QPoint(10, RowY(0)));
        Drag(QPoint(TextLeft() + 4 * cell, RowY(0)), QPoint(TextLeft() + 1 * cell, RowY(0)));
        EXPECT_EQ(Copied(), QStringLiteral("bcd"));
        Click(QPoint(10, RowY(0)));
    }
    {
        SCOPED_TRACE("upward over two rows: the upper from its boundary, the lower up to it");
        Drag(QPoint(TextLeft() + 2 * cell, RowY(1)), QPoint(TextLeft() + 4 * cell, RowY(0)));
        EXPECT_EQ(Copied(), QStringLiteral("ef\r\nxy"));
        Click(QPoint(10, RowY(0)));
    }
    {
        SCOPED_TRACE("the result column leaves the filler messages out");
        Load("b.txt", "xyz\r\n");
        kl::TextDocument& text = doc().textDoc;
        kltest::SetResultRows(text,
                              {kltest::Row(0, kl::ROW_ONLY_A), kltest::Row(-1, kl::ROW_FILLER),
                               kltest::Row(1, kl::ROW_COMMON), kltest::Row(-1, kl::ROW_FILLER)},
                              {kltest::Row(-1, kl::ROW_FILLER), kltest::Row(0, kl::ROW_COMMON),
                               kltest::Row(0, kl::ROW_COMMON), kltest::Row(-1, kl::ROW_FILLER)},
                              "filler", "f");
        v.setDisplayMode(DISPLAY_RESULT);
        v.OnUpdate();
        Drag(QPoint(2, RowY(0)), QPoint(TextLeft() + 10 * cell, RowY(3)));
        EXPECT_EQ(Copied(), QStringLiteral("abcdef\r\nxyz\r\n"));
    }
}

TEST_F(TextViewTest, AClickOnACompleteSelectionClearsIt)
{
    Load("a.txt", "one\r\ntwo\r\nthree\r\n");
    ShowView();
    Drag(QPoint(2, RowY(0)), QPoint(2, RowY(2)));
    ASSERT_EQ(view->selectionState, 2);
    ASSERT_TRUE(ShowsSelection(1));

    // The click clears it and starts nothing new, even when the mouse moves while pressed.
    Drag(QPoint(TextLeft() + 1, RowY(1)), QPoint(TextLeft() + 40, RowY(2)));
    EXPECT_EQ(view->selectionState, 0);
    EXPECT_FALSE(ShowsSelection(1));
    EXPECT_EQ(Copied(), QStringLiteral("(before)"));

    // The next press selects again.
    Drag(QPoint(2, RowY(1)), QPoint(2, RowY(2)));
    EXPECT_EQ(Copied(), QStringLiteral("two\r\n"));
}

// A finished selection stays on its lines through updates (D1/D2, settings, a comparison
// that moves the lines to other rows) and ends only when its text is no longer shown.
TEST_F(TextViewTest, ASelectionStaysOnItsLinesAcrossUpdates)
{
    Load("a.txt", "one\r\ntwo\r\nthree\r\n");
    auto& v = ShowView();
    Drag(QPoint(2, RowY(1)), QPoint(2, RowY(2)));
    ASSERT_EQ(Copied(), QStringLiteral("two\r\n"));
    v.OnUpdate();
    EXPECT_EQ(Copied(), QStringLiteral("two\r\n"));

    Load("b.txt", "zero\r\n");
    kltest::SetResultRows(doc().textDoc,
                          {kltest::Row(-1, kl::ROW_FILLER), kltest::Row(0, kl::ROW_COMMON),
                           kltest::Row(1, kl::ROW_ONLY_A), kltest::Row(2, kl::ROW_ONLY_A)},
                          {kltest::Row(0, kl::ROW_ONLY_B), kltest::Row(0, kl::ROW_COMMON),
                           kltest::Row(-1, kl::ROW_FILLER), kltest::Row(-1, kl::ROW_FILLER)});
    v.setDisplayMode(DISPLAY_RESULT);
    v.OnUpdate();
    EXPECT_EQ(v.lineWnd().anchorRow, 2);
    EXPECT_EQ(Copied(), QStringLiteral("two\r\n"));
    EXPECT_TRUE(ShowsSelection(2));

    doc().textDoc.texts[kl::DOC_A] = std::make_shared<const kl::Text>(kl::TextFromLines({"one\r\n", "two\r\n"}));
    v.setDisplayMode(DISPLAY_SOURCE);
    v.OnUpdate();
    EXPECT_EQ(v.selectionState, 0);
    EXPECT_EQ(Copied(), QStringLiteral("(before)"));
}

TEST_F(TextViewTest, DraggingFarBelowTheViewScrollsTheRowsIn)
{
    std::string lines;
    for (int i = 0; i < 100; ++i)
        lines += "line " + std::to_string(i) + "\r\n";
    Load("a.txt", lines);
    ShowView();
    const int height = view->viewport()->height();
    Mouse(QEvent::MouseButtonPress, QPoint(2, RowY(0)));
    Mouse(QEvent::MouseMove, QPoint(2, height + 30));  // within the margin: no scrolling
    EXPECT_EQ(view->scrollTop(), 0);
    Mouse(QEvent::MouseMove, QPoint(2, height + 80));
    EXPECT_EQ(view->scrollTop(), 80);
    Mouse(QEvent::MouseMove, QPoint(2, -20));
    EXPECT_EQ(view->scrollTop(), 60);
    Mouse(QEvent::MouseButtonRelease, QPoint(2, -20), Qt::NoButton);
    EXPECT_EQ(view->selectionState, 2);
}

TEST_F(TextViewTest, KeysMoveTheCaretAndShiftSelects)
{
    // Row 0 is 日本x in code page 932; the text ends with a line end, so "[EOF]" has row 100.
    std::string lines = "\x93\xfa\x96\x7bx\r\nabcdef\r\n\r\nabcdefgh\r\n";
    for (int i = 4; i < 100; ++i)
        lines += "line " + std::to_string(i) + "\r\n";
    Load("a.txt", lines);
    auto& v = ShowView();
    const struct {
        const char* name;
        TextPosition from;
        int key;
        Qt::KeyboardModifiers modifiers;
        TextPosition caret;
        const char* selected;  // copied afterwards; "(before)" when nothing is selected
    } cases[] = {
        {"right over a double-byte character", {0, 0}, Qt::Key_Right, {}, {0, 2}, "(before)"},
        {"left over a double-byte character", {0, 4}, Qt::Key_Left, {}, {0, 2}, "(before)"},
        {"left at a row start goes to the end of the row above", {1, 0}, Qt::Key_Left, {}, {0, 5}, "(before)"},
        {"right at a row end goes to the next row", {0, 5}, Qt::Key_Right, {}, {1, 0}, "(before)"},
        {"up on the first row goes to its start", {0, 4}, Qt::Key_Up, {}, {0, 0}, "(before)"},
        {"down onto an empty row", {1, 3}, Qt::Key_Down, {}, {2, 0}, "(before)"},
        {"home", {1, 3}, Qt::Key_Home, {}, {1, 0}, "(before)"},
        {"end", {1, 3}, Qt::Key_End, {}, {1, 6}, "(before)"},
        {"ctrl+home", {50, 3}, Qt::Key_Home, Qt::ControlModifier, {0, 0}, "(before)"},
        {"ctrl+end reaches the [EOF] row", {3, 3}, Qt::Key_End, Qt::ControlModifier, {100, 0}, "(before)"},
        {"down on the last row goes to its end", {100, 0}, Qt::Key_Down, {}, {100, 0}, "(before)"},
        {"shift+end", {1, 1}, Qt::Key_End, Qt::ShiftModifier, {1, 6}, "bcdef"},
        {"shift+left", {1, 1}, Qt::Key_Left, Qt::ShiftModifier, {1, 0}, "a"},
        {"shift+down takes the line end", {1, 2}, Qt::Key_Down, Qt::ShiftModifier, {2, 0}, "cdef\r\n"},
        {"shift+ctrl+home", {1, 2}, Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier, {0, 0},
         "\u65e5\u672cx\r\nab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        v.setCaretPosition(c.from);
        Key(c.key, c.modifiers);
        EXPECT_EQ(v.caretPosition(), c.caret);
        EXPECT_EQ(Copied(), QString::fromUtf8(c.selected));
        // The caret's row is in view.
        EXPECT_LE(v.scrollTop(), c.caret.row * v.lineHeight);
        EXPECT_GE(v.scrollTop() + v.viewport()->height(), (c.caret.row + 1) * v.lineHeight);
    }

    SCOPED_TRACE("up and down keep the column across a shorter row");
    v.setCaretPosition({1, 5});
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(v.caretPosition(), (TextPosition{3, 5}));

    SCOPED_TRACE("a selection grows key by key, and a move without shift ends it");
    v.setCaretPosition({1, 0});
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Copied(), QStringLiteral("ab"));
    Key(Qt::Key_Right);
    EXPECT_EQ(Copied(), QStringLiteral("(before)"));

    SCOPED_TRACE("a page moves the caret and the rows together");
    const int page = v.PageRows();
    v.setCaretPosition({1, 0});
    Key(Qt::Key_PageDown);
    EXPECT_EQ(v.caretPosition().row, 1 + page);
    EXPECT_EQ(v.scrollTop(), page * v.lineHeight);
    Key(Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(v.caretPosition().row, 1);
    EXPECT_EQ(v.scrollTop(), 0);
    EXPECT_EQ(Copied().count(QStringLiteral("\r\n")), page);

    SCOPED_TRACE("ctrl+a selects the whole text");
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Copied(), QString::fromLatin1(lines.substr(4).c_str()).prepend(QStringLiteral(u"日本")));
}

TEST_F(TextViewTest, TheCaretFollowsTheMouseAndScrollsSidewaysIntoView)
{
    Load("a.txt", "abc\r\n" + std::string(400, 'w') + "\r\n");
    auto& v = ShowView();
    int moves = 0;
    QObject::connect(&v, &CTextView::caretMoved, [&] { ++moves; });
    Click(QPoint(TextLeft() + 2 * v.charWidth, RowY(0)));
    EXPECT_EQ(v.caretPosition(), (TextPosition{0, 2}));
    EXPECT_EQ(moves, 1);
    Drag(QPoint(TextLeft(), RowY(0)), QPoint(TextLeft() + v.charWidth, RowY(1)));
    EXPECT_EQ(v.caretPosition(), (TextPosition{1, 1}));
    EXPECT_EQ(Copied(), QStringLiteral("abc\r\nw"));

    QScrollBar* sideways = v.horizontalScrollBar();
    v.setCaretPosition({1, 0});
    Key(Qt::Key_End);
    EXPECT_GT(sideways->value(), 0);
    EXPECT_LE(Caret().x() + 2, v.viewport()->width());
    EXPECT_GE(Caret().x(), TextLeft());
    Key(Qt::Key_Home);
    EXPECT_EQ(sideways->value(), 0);
}

TEST_F(TextViewTest, TheLineNumbersStayWhileTheTextScrollsSideways)
{
    Load("a.txt", "first " + std::string(400, 'w') + "\r\nsecond\r\n");
    auto& v = ShowView();
    const QRect numbers(0, 0, v.numberColumnWidth, 2 * v.lineHeight);
    const QRect text(TextLeft(), 0, 10 * v.charWidth, v.lineHeight);
    const QImage before = v.viewport()->grab().toImage();
    v.horizontalScrollBar()->setValue(8 * v.charWidth);
    QApplication::processEvents();
    const QImage after = v.viewport()->grab().toImage();
    EXPECT_EQ(after.copy(numbers), before.copy(numbers));
    EXPECT_NE(after.copy(text), before.copy(text));
}

TEST_F(TextViewTest, WrappedRowsTakeTheCaretAndTheMouseOnTheirLines)
{
    doc().docSettings.fWrap = 1;
    Load("a.txt", std::string(300, 'x') + "\r\nabc\r\n");
    auto& v = ShowView(QSize(300, 200));
    ASSERT_GT(v.WrapWidth(), 0);
    const int lines = static_cast<int>(v.RowTop(1) / v.lineHeight);
    EXPECT_GT(lines, 2);
    EXPECT_EQ(v.horizontalScrollBar()->maximum(), 0);

    // Down goes through the lines of the wrapped row before it reaches the next row.
    v.setCaretPosition({0, 0});
    Key(Qt::Key_Down);
    const std::size_t perLine = v.caretPosition().offset;
    EXPECT_EQ(v.caretPosition().row, 0);
    EXPECT_GT(perLine, 0u);
    EXPECT_EQ(Caret(), QPoint(TextLeft(), v.lineHeight));
    for (int i = 1; i < lines; ++i)
        Key(Qt::Key_Down);
    EXPECT_EQ(v.caretPosition(), (TextPosition{1, 0}));
    Key(Qt::Key_Up);
    EXPECT_EQ(v.caretPosition().row, 0);
    EXPECT_EQ(v.caretPosition().offset, (lines - 1) * perLine);

    // The mouse finds the characters on the line it points at.
    Click(QPoint(TextLeft() + 2 * v.charWidth, v.lineHeight + v.lineHeight / 2));
    EXPECT_EQ(v.caretPosition(), (TextPosition{0, perLine + 2}));
    Drag(QPoint(TextLeft(), v.lineHeight / 2), QPoint(TextLeft() + v.charWidth, v.lineHeight + v.lineHeight / 2));
    EXPECT_EQ(Copied().size(), static_cast<qsizetype>(perLine + 1));
}

TEST_F(TextViewTest, TheCaretShowsWhileTheViewHasTheFocus)
{
    Load("a.txt", "abc\r\ndef\r\n");
    auto& v = ShowView();
    QApplication::setActiveWindow(&v);
    v.setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(v.hasFocus());
    Click(QPoint(TextLeft() + 2 * v.charWidth, RowY(1)));
    const QPoint caret = Caret();
    EXPECT_EQ(caret, QPoint(TextLeft() + 2 * v.charWidth, v.lineHeight));

    const QImage shown = v.viewport()->grab().toImage();
    EXPECT_EQ(v.caretState, 2);
    EXPECT_EQ(shown.pixelColor(caret + QPoint(0, v.lineHeight / 2)), v.palette().color(QPalette::Text));

    v.clearFocus();
    QApplication::processEvents();
    EXPECT_EQ(v.caretState, 0);
    const QImage hidden = v.viewport()->grab().toImage();
    EXPECT_NE(hidden.pixelColor(caret + QPoint(0, v.lineHeight / 2)), v.palette().color(QPalette::Text));
}

TEST_F(TextViewTest, FontsComeFromTheViewKeys)
{
    const struct {
        const char* name;
        const char* view;
        int leftPixels, rightPixels;
    } cases[] = {
        {"one font for both", "[VIEW]\nFONTNAME=No Such Face\nFONTSIZE=0:-20\n", 20, 20},
        {"individual fonts", "[VIEW]\nFONTNAME=No Such Face\nFONTNAME2=Another Missing Face\nFONTSIZE=0:-14\n"
                             "FONTINDIV=1\n", 14, 14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Restart(std::string(kSelbackIni) + c.view);
        CKestrilaneView left(doc());
        CKestrilane2View right(doc());
        left.OnUpdate();
        right.OnUpdate();
        // A face that is not installed becomes the Japanese monospace font.
        EXPECT_EQ(left.ViewFont().family(), kl::JapaneseMonospaceFamily());
        EXPECT_EQ(right.ViewFont().family(), kl::JapaneseMonospaceFamily());
        EXPECT_EQ(left.ViewFont().pixelSize(), c.leftPixels);
        EXPECT_EQ(right.ViewFont().pixelSize(), c.rightPixels);
        EXPECT_EQ(right.ViewFont(), doc().fontSettings.individual ? doc().rightFont : doc().leftFont);
        // Rows stand side by side: one row pitch for both views, tall enough for the font.
        EXPECT_EQ(left.lineHeight, right.lineHeight);
        EXPECT_GE(left.lineHeight, c.leftPixels);
    }
}

}  // namespace
