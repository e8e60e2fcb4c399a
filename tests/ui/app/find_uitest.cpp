// Find and go to line in the main window.
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QProgressBar>
#include <QStatusBar>
#include <QLineEdit>
#include <set>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "engine/platform/cp932.h"
#include "ui/app/command_ids.h"
#include "ui/display/line_wnd.h"
#include "ui/display/painters.h"
#include "ui/display/text_view.h"
#include "ui/find/find_bar.h"
#include "ui/find/go_to_line_dlg.h"

namespace {

class FindUi : public kltest::AppTest {
protected:
    // The selected bytes of a view's selection row, as UTF-8.
    static std::string Selected(CTextView& view)
    {
        std::string scratch;
        const std::string_view row = view.Shown()->TextAt(view.side(), view.lineWnd().anchorRow, scratch);
        const std::string_view bytes = row.substr(view.lineWnd().anchorOffset,
                                                  view.lineWnd().endOffset - view.lineWnd().anchorOffset);
        return kl::DecodeToUtf8(view.SideEncoding(), bytes);
    }
};

TEST_F(FindUi, NextAndPreviousMatchGoRoundThePairInRowOrder)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kltest::kBefore, kltest::kAfter})));
    ASSERT_TRUE(WaitForRunEnd(*app));
    CMainFrame& frame = *app->mainFrame();
    Trigger(*app, cmd::ID_EDIT_FIND);
    frame.findBar()->patternEdit()->setText(QStringLiteral(u"会議"));
    Trigger(*app, cmd::ID_EDIT_FIND_NEXT);  // before the matches are in: taken once they are
    ASSERT_TRUE(kltest::WaitUntil([&frame] { return frame.searchResult() != nullptr; }));
    EXPECT_EQ(frame.searchResult()->count(), 9u);  // 4 lines in DocA, 5 in DocB, one match each

    std::vector<std::pair<int, int>> visited;  // (row, side)
    for (int i = 0; i < 10; ++i) {
        if (i > 0)
            Trigger(*app, cmd::ID_EDIT_FIND_NEXT);
        CTextView* left = frame.leftView();
        CTextView* right = frame.rightView();
        CTextView& view = left->selectionState == 2 ? *left : *right;
        ASSERT_EQ(view.selectionState, 2);
        EXPECT_EQ(Selected(view), "会議");
        visited.emplace_back(view.lineWnd().anchorRow, view.side());
    }
    // Nine matches in row order, then round to the first.
    for (std::size_t i = 1; i < 9; ++i)
        EXPECT_LT(visited[i - 1], visited[i]);
    EXPECT_EQ(visited[9], visited[0]);
    Trigger(*app, cmd::ID_EDIT_FIND_PREV);
    CTextView* left = frame.leftView();
    CTextView& back = left->selectionState == 2 ? *left : *static_cast<CTextView*>(frame.rightView());
    EXPECT_EQ(std::make_pair(back.lineWnd().anchorRow, back.side()), visited[8]);
}

// Rows of the left view that show a pixel of colour.
std::set<int> RowsWithColour(CTextView& view, const QColor& colour)
{
    const QImage image = view.viewport()->grab().toImage();
    std::set<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                rows.insert((y + view.scrollTop()) / view.lineHeight);
                break;
            }
        }
    }
    return rows;
}

TEST_F(FindUi, MatchesOnScreenAreHighlightedTheCurrentOneApart)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kltest::kBefore, kltest::kAfter})));
    ASSERT_TRUE(WaitForRunEnd(*app));
    CMainFrame& frame = *app->mainFrame();
    CKestrilaneDoc& doc = *app->document();
    // Matches are tinted into the row colours: on white they show the colour itself.
    for (int index : {kl::COLOR_WINDOW, kl::COLOR_SAME, kl::COLOR_DOC1, kl::COLOR_DOC2, kl::COLOR_OTHER})
        doc.colors[static_cast<std::size_t>(index)] = kl::Rgb(255, 255, 255);
    doc.colors[kl::COLOR_FOUND] = kl::Rgb(1, 250, 3);  // a colour nothing else uses
    doc.colors[kl::COLOR_SELBACK] = kl::Rgb(2, 3, 251);
    const QColor found = kl::ColorFromRef(doc.colors[kl::COLOR_FOUND]);
    const QColor current = kl::ColorFromRef(doc.colors[kl::COLOR_SELBACK]);
    Trigger(*app, cmd::ID_EDIT_FIND);
    frame.findBar()->patternEdit()->setText(QStringLiteral(u"会議"));
    Trigger(*app, cmd::ID_EDIT_FIND_NEXT);
    ASSERT_TRUE(kltest::WaitUntil([&frame] { return frame.searchResult() != nullptr; }));
    for (CTextView* view : {static_cast<CTextView*>(frame.leftView()), static_cast<CTextView*>(frame.rightView())}) {
        std::set<int> expected;
        const auto shown = view->Shown();
        for (const kl::TextMatch& match : frame.searchResult()->matches[static_cast<std::size_t>(view->side())]) {
            for (int row = 0; row < shown->ColumnRowCount(view->side()); ++row) {
                const bool inView = (row + 1) * view->lineHeight > view->scrollTop() &&
                                    row * view->lineHeight < view->scrollTop() + view->viewport()->height();
                if (inView && shown->LineAt(view->side(), row) == match.line)
                    expected.insert(row);
            }
        }
        ASSERT_FALSE(expected.empty());
        const int currentRow = view->selectionState == 2 ? view->lineWnd().anchorRow : -1;
        std::set<int> highlighted = RowsWithColour(*view, found);
        if (currentRow >= 0) {
            EXPECT_EQ(RowsWithColour(*view, current), std::set<int>{currentRow});
            highlighted.insert(currentRow);
        }
        EXPECT_EQ(highlighted, expected) << view->side();
    }
    // Closing the bar takes the highlights away.
    emit frame.findBar()->closed();
    EXPECT_TRUE(RowsWithColour(*frame.leftView(), found).empty());
}

TEST_F(FindUi, EscStopsARunningSearchAndTheBarSaysSo)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kltest::kBefore, kltest::kAfter})));
    ASSERT_TRUE(WaitForRunEnd(*app));
    CMainFrame& frame = *app->mainFrame();
    kltest::RunGate gate([](int) { return true; });
    frame.searchProgressHook = gate.Hook();
    Trigger(*app, cmd::ID_EDIT_FIND);
    frame.findBar()->patternEdit()->setText(QStringLiteral(u"会議"));
    emit frame.findBar()->queryChanged();
    ASSERT_TRUE(gate.WaitUntilHeld());
    EXPECT_TRUE(frame.progressBar()->isVisibleTo(&frame));

    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(frame.findBar()->patternEdit(), &esc);
    EXPECT_TRUE(gate.StopSeen());
    ASSERT_TRUE(kltest::WaitUntil([&frame] { return !frame.findBar()->searching(); }));
    EXPECT_TRUE(frame.findBar()->isVisibleTo(&frame));  // the first Esc stops, it does not close
    EXPECT_EQ(frame.searchResult(), nullptr);
    EXPECT_TRUE(frame.statusBar()->currentMessage().contains(QStringLiteral(u"中止")));
    EXPECT_FALSE(frame.progressBar()->isVisibleTo(&frame));
    QApplication::sendEvent(frame.findBar()->patternEdit(), &esc);
    EXPECT_FALSE(frame.findBar()->isVisibleTo(&frame));
}

TEST(GoToLine, LinesBeyondTheEndAreNamed)
{
    EXPECT_TRUE(LineOutOfRangeMessage(1, 37, 37).isEmpty());
    EXPECT_EQ(LineOutOfRangeMessage(1, 38, 37), QStringLiteral(u"38行目はありません。DocBは37行までです。"));
    EXPECT_FALSE(LineOutOfRangeMessage(0, 1, 0).isEmpty());
}

}  // namespace
