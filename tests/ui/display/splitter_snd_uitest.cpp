// The lower splitter: column widths kept in the settings file, the row position shared by
// both text views, the position kept over a display-mode switch, and the focus cycle.
#include <QApplication>
#include <QScrollBar>
#include <QSplitter>
#include <QWheelEvent>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "ui/display/over_view.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "ui/display/view_state.h"
#include "doc_fixture.h"
#include "result_rows.h"
#include "engine/platform/private_profile.h"
#include "ui/tree/left_view.h"

namespace {

std::string Lines(int count, const std::string& prefix)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += prefix + std::to_string(i) + "\r\n";
    return text;
}

class SplitterSndTest : public kltest::DocFixture {
protected:
    // The splitter's own settings file, apart from the program's.
    std::string WidthsIni() const { return dir.file("widths.ini"); }
    std::string StoredWidths() const
    {
        return kl::ReadIniString(WidthsIni(), "Settings", "underWndWidth1", "(none)", 60);
    }

    // Shows the splitter at a fixed size with both views updated from the document.
    std::unique_ptr<CSplitterSnd> ShownSplitter(QSize size)
    {
        auto splitter = std::make_unique<CSplitterSnd>(doc(), WidthsIni());
        splitter->resize(size);
        splitter->show();
        UpdateViews(*splitter);
        QApplication::processEvents();
        return splitter;
    }

    // Width of the three columns together, without the borders between them.
    static int ColumnSpace(const CSplitterSnd& splitter)
    {
        const QSplitter* columns = splitter.columns();
        return columns->width() - columns->handle(1)->width() - columns->handle(2)->width();
    }

    // Resizes the shown splitter so that its columns have space for exactly space pixels.
    static void FitColumns(CSplitterSnd& splitter, int space)
    {
        splitter.resize(splitter.width() + space - ColumnSpace(splitter), splitter.height());
        QApplication::processEvents();
        ASSERT_EQ(ColumnSpace(splitter), space);
    }

    static void UpdateViews(CSplitterSnd& splitter)
    {
        splitter.leftView()->OnUpdate();
        splitter.rightView()->OnUpdate();
    }

    static void SwitchMode(CSplitterSnd& splitter, int mode)
    {
        splitter.leftView()->setDisplayMode(mode);
        splitter.rightView()->setDisplayMode(mode);
        UpdateViews(splitter);
    }
};

TEST_F(SplitterSndTest, ColumnWidthsComeFromTheSettingsFile)
{
    const struct {
        const char* name;
        const char* ini;
        int overview, left, right;
    } cases[] = {
        {"no settings file", nullptr, 60, 300, 300},
        {"no key", "[Settings]\nother=1\n", 60, 300, 300},
        {"three fields", "[Settings]\nunderWndWidth1=\"        80       412       398\"\n", 80, 412, 398},
        {"leading zeros", "[Settings]\nunderWndWidth1=000000009000000005000000000200\n", 90, 500, 200},
        {"one field", "[Settings]\nunderWndWidth1=        45\n", 45, 300, 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(WidthsIni());
        if (c.ini)
            dir.write("widths.ini", c.ini);
        CSplitterSnd splitter(doc(), WidthsIni());
        const kl::SplitterWidths widths = splitter.columnWidths();
        EXPECT_EQ(widths.overview, c.overview);
        EXPECT_EQ(widths.left, c.left);
        EXPECT_EQ(widths.right, c.right);
    }
}

TEST_F(SplitterSndTest, ColumnWidthsAreStoredWhenTheSplitterGoes)
{
    int fittingWidth = 0;
    {
        auto splitter = ShownSplitter(QSize(1000, 300));
        FitColumns(*splitter, 890);
        fittingWidth = splitter->width();
        splitter->columns()->setSizes({80, 412, 398});  // the user drags the borders
    }
    EXPECT_EQ(StoredWidths(), "        80       412       398");

    // The same widths come back in a window of the same size.
    auto splitter = ShownSplitter(QSize(fittingWidth, 300));
    const kl::SplitterWidths widths = splitter->columnWidths();
    EXPECT_EQ(widths.overview, 80);
    EXPECT_EQ(widths.left, 412);
    EXPECT_EQ(widths.right, 398);
}

TEST_F(SplitterSndTest, ASplitterNeverShownStoresWhatItRead)
{
    dir.write("widths.ini", "[Settings]\nunderWndWidth1=000000007000000001000000000200\n");
    { CSplitterSnd splitter(doc(), WidthsIni()); }
    EXPECT_EQ(StoredWidths(), "        70       100       200");
}

TEST_F(SplitterSndTest, AWiderWindowWidensTheTextViewsOnly)
{
    dir.write("widths.ini", "[Settings]\nunderWndWidth1=        80       412       398\n");
    auto splitter = ShownSplitter(QSize(1200, 300));
    const int extra = ColumnSpace(*splitter) - 890;
    ASSERT_GT(extra, 100);
    kl::SplitterWidths widths = splitter->columnWidths();
    EXPECT_EQ(widths.overview, 80);
    EXPECT_EQ(widths.left, 412 + extra / 2);
    EXPECT_EQ(widths.right, 398 + extra - extra / 2);

    splitter->resize(1400, 300);
    QApplication::processEvents();
    widths = splitter->columnWidths();
    EXPECT_EQ(widths.overview, 80);
    EXPECT_NEAR(widths.left - 14, widths.right, 2);
}

TEST_F(SplitterSndTest, ANarrowerWindowShrinksTheTextViews)
{
    auto splitter = ShownSplitter(QSize(400, 300));
    const kl::SplitterWidths widths = splitter->columnWidths();
    EXPECT_EQ(widths.overview, 60);
    EXPECT_LT(widths.left, 300);
    EXPECT_NEAR(widths.left, widths.right, 1);
    EXPECT_EQ(widths.overview + widths.left + widths.right, ColumnSpace(*splitter));
}

TEST_F(SplitterSndTest, WithoutASettingsFileTheDefaultsApply)
{
    CSplitterSnd splitter(doc(), "");
    const kl::SplitterWidths widths = splitter.columnWidths();
    EXPECT_EQ(widths.overview, 60);
    EXPECT_EQ(widths.left, 300);
    EXPECT_EQ(widths.right, 300);
}

TEST_F(SplitterSndTest, BothTextViewsFollowTheSharedRowPosition)
{
    Load("a.txt", Lines(200, "line A ") + std::string(300, 'x') + "\r\n");
    Load("b.txt", Lines(100, "B"));
    auto splitter = ShownSplitter(QSize(900, 240));
    CTextView* left = splitter->leftView();
    CTextView* right = splitter->rightView();
    QScrollBar* rows = splitter->rowScrollBar();

    const int pitch = left->lineHeight;
    ASSERT_GT(pitch, 0);
    EXPECT_EQ(right->lineHeight, pitch);
    EXPECT_EQ(left->rowCount, 201);
    EXPECT_EQ(right->rowCount, 201);  // the longer side sets both
    // One row more for the "[EOF]" below the last line.
    EXPECT_EQ(left->totalHeight, 202 * pitch);
    EXPECT_EQ(rows->maximum(), 202 * pitch - left->viewport()->height());
    EXPECT_EQ(left->rowScrollBar(), rows);
    EXPECT_EQ(right->rowScrollBar(), rows);

    rows->setValue(20 * pitch);
    EXPECT_EQ(left->scrollTop(), 20 * pitch);
    EXPECT_EQ(right->scrollTop(), 20 * pitch);
    EXPECT_EQ(right->visibleBottom, 20 * pitch + right->viewport()->height());

    // The wheel over one view moves the row, three rows a notch.
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(right->viewport(), &wheel);
    EXPECT_EQ(rows->value(), 23 * pitch);
    EXPECT_EQ(left->scrollTop(), 23 * pitch);

    // The texts scroll sideways together, as far as the long line on the left needs.
    EXPECT_GT(left->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(right->horizontalScrollBar()->maximum(), left->horizontalScrollBar()->maximum());
    left->horizontalScrollBar()->setValue(50);
    EXPECT_EQ(right->horizontalScrollBar()->value(), 50);
    right->horizontalScrollBar()->setValue(20);
    EXPECT_EQ(left->horizontalScrollBar()->value(), 20);
    EXPECT_EQ(rows->value(), 23 * pitch);
}

TEST_F(SplitterSndTest, TheLastRowIsReachableInBothDisplayModes)
{
    Load("a.txt", Lines(201, "A"));
    Load("b.txt", Lines(100, "B"));
    std::vector<kl::DisplayRow> rowsA, rowsB;
    for (int i = 0; i < 201; ++i) {
        rowsA.push_back(kltest::Row(i, i < 100 ? kl::ROW_COMMON : kl::ROW_ONLY_A));
        rowsB.push_back(i < 100 ? kltest::Row(i, kl::ROW_COMMON) : kltest::Row(-1, kl::ROW_FILLER));
    }
    kltest::SetResultRows(doc().textDoc, rowsA, rowsB);
    auto splitter = ShownSplitter(QSize(700, 240));
    QScrollBar* rows = splitter->rowScrollBar();
    // Shown as loaded the "[EOF]" row of the longer text comes after its 201 lines.
    const struct {
        kl::DisplayMode mode;
        int lastRow;
    } cases[] = {{kl::DISPLAY_SOURCE, 201}, {kl::DISPLAY_RESULT, 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        for (CTextView* view : {static_cast<CTextView*>(splitter->leftView()), static_cast<CTextView*>(splitter->rightView())})
            view->setDisplayMode(c.mode);
        UpdateViews(*splitter);
        rows->setValue(rows->maximum());
        for (CTextView* view : {static_cast<CTextView*>(splitter->leftView()), static_cast<CTextView*>(splitter->rightView())})
            EXPECT_EQ(view->scrollTop() + view->viewport()->height(), (c.lastRow + 1) * view->lineHeight);
    }
}

TEST_F(SplitterSndTest, CtrlWheelSizesTheFontOfBothViewsForTheSession)
{
    Load("a.txt", Lines(200, "A"));
    Load("b.txt", Lines(200, "B"));
    auto splitter = ShownSplitter(QSize(700, 240));
    ViewState state;
    CTextView* left = splitter->leftView();
    CTextView* right = splitter->rightView();
    left->SetViewState(&state);
    right->SetViewState(&state);
    UpdateViews(*splitter);
    const int pixels = doc().leftFont.pixelSize();
    const int pitch = left->lineHeight;
    splitter->rowScrollBar()->setValue(20 * pitch);

    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 2 * 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(right->viewport(), &wheel);
    EXPECT_GT(left->ViewFont().pixelSize(), pixels);
    EXPECT_EQ(right->ViewFont().pixelSize(), left->ViewFont().pixelSize());
    EXPECT_GT(left->lineHeight, pitch);
    EXPECT_EQ(right->lineHeight, left->lineHeight);
    EXPECT_EQ(left->scrollTop(), 20 * left->lineHeight);  // the top row stays
    EXPECT_EQ(doc().leftFont.pixelSize(), pixels);        // the settings keep their size
}

TEST_F(SplitterSndTest, AWrappedRowIsAsTallInBothViews)
{
    doc().docSettings.fWrap = 1;
    Load("a.txt", std::string(500, 'a') + "\r\nshort\r\n");
    Load("b.txt", "short\r\n" + std::string(900, 'b') + "\r\n");
    auto splitter = ShownSplitter(QSize(700, 240));
    ViewState state;
    CTextView* left = splitter->leftView();
    CTextView* right = splitter->rightView();
    left->SetViewState(&state);
    right->SetViewState(&state);
    UpdateViews(*splitter);
    const int pitch = left->lineHeight;
    EXPECT_GT(left->RowTop(1), 2 * pitch);
    EXPECT_EQ(right->RowTop(1), left->RowTop(1));
    EXPECT_GT(right->RowTop(2) - right->RowTop(1), left->RowTop(1));
    EXPECT_EQ(left->RowTop(2), right->RowTop(2));
    EXPECT_EQ(left->totalHeight, right->totalHeight);
    EXPECT_EQ(left->totalHeight, right->RowTop(3));  // the "[EOF]" row included
}

TEST_F(SplitterSndTest, AnEmptyDocumentHasNothingToScroll)
{
    auto splitter = ShownSplitter(QSize(600, 200));
    EXPECT_EQ(splitter->leftView()->rowCount, 0);
    EXPECT_EQ(splitter->leftView()->scrollWidth, 0);
    EXPECT_EQ(splitter->rowScrollBar()->maximum(), 0);
}

TEST_F(SplitterSndTest, ADisplayModeSwitchKeepsTheTopLine)
{
    Load("a.txt", Lines(100, "A"));
    Load("b.txt", Lines(100, "B"));
    // Every line of DocA in row 2i, every line of DocB in row 2i + 1.
    std::vector<kl::DisplayRow> rowsA;
    std::vector<kl::DisplayRow> rowsB;
    for (int i = 0; i < 200; ++i) {
        const bool rowOfA = i % 2 == 0;
        rowsA.push_back(kltest::Row(rowOfA ? i / 2 : -1, rowOfA ? kl::ROW_ONLY_A : kl::ROW_FILLER));
        rowsB.push_back(kltest::Row(rowOfA ? -1 : i / 2, rowOfA ? kl::ROW_FILLER : kl::ROW_ONLY_B));
    }
    kltest::SetResultRows(doc().textDoc, std::move(rowsA), std::move(rowsB));
    auto splitter = ShownSplitter(QSize(600, 200));
    QScrollBar* rows = splitter->rowScrollBar();
    const int pitch = splitter->leftView()->lineHeight;

    rows->setValue(30 * pitch);  // line 30 at the top
    SwitchMode(*splitter, DISPLAY_RESULT);
    EXPECT_EQ(splitter->leftView()->rowCount, 200);
    EXPECT_EQ(rows->value(), 60 * pitch);
    EXPECT_EQ(splitter->rightView()->scrollTop(), 60 * pitch);

    rows->setValue(81 * pitch);  // a filler row of the left column: line 41 follows
    SwitchMode(*splitter, DISPLAY_SOURCE);
    EXPECT_EQ(rows->value(), 41 * pitch);

    // An update without a switch leaves the position alone.
    UpdateViews(*splitter);
    EXPECT_EQ(rows->value(), 41 * pitch);

    // The order in which the views are updated does not matter.
    splitter->leftView()->setDisplayMode(DISPLAY_RESULT);
    splitter->rightView()->setDisplayMode(DISPLAY_RESULT);
    splitter->rightView()->OnUpdate();
    splitter->leftView()->OnUpdate();
    EXPECT_EQ(rows->value(), 82 * pitch);
}

TEST_F(SplitterSndTest, FocusArrivalsVisitTheColumnsAndTheFileTree)
{
    QSplitter outer(Qt::Vertical);
    auto* tree = new CLeftView(&outer);
    auto* splitter = new CSplitterSnd(doc(), WidthsIni(), &outer);
    outer.addWidget(tree);
    outer.addWidget(splitter);
    outer.resize(700, 400);
    outer.show();
    QApplication::setActiveWindow(&outer);
    QApplication::processEvents();
    ASSERT_TRUE(outer.isActiveWindow());

    QWidget* const expected[] = {splitter->overView(), splitter->leftView(), splitter->rightView(), tree,
                                 splitter->overView(), splitter->leftView()};
    for (QWidget* pane : expected) {
        splitter->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), pane) << pane->metaObject()->className();
    }
}

}  // namespace
