// The line windows in the program: which window a right-click opens and what it shows, the
// steppers, キャンセル against the main comparison, and windows that hide when the texts
// they show go. Part of the ThreadSanitizer stage.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>
#include <algorithm>

#include "engine/linedetail/line_pick.h"
#include "engine/document/text_loader.h"
#include "engine/platform/cp932.h"
#include "tests/ui/app/app_fixture.h"
#include "ui/app/command_ids.h"
#include "ui/display/frame_dlg.h"
#include "ui/display/text_view.h"
#include "ui/linedetail/line_diff_frm.h"
#include "ui/linedetail/line_info_frm.h"
#include "ui/linedetail/line_popups.h"
#include "ui/linedetail/twin_line_wnd.h"
#include "ui/linedetail/up_down.h"

namespace {

using kltest::RunGate;
using kltest::WaitUntil;

class LineWindows : public kltest::AppTest {
protected:
    void SetUp() override
    {
        app = MakeApp();
        ASSERT_TRUE(app->InitInstance(Words({kltest::kBefore, kltest::kAfter})));
        ASSERT_TRUE(WaitForRunEnd(*app));
    }

    CMainFrame& frame() { return *app->mainFrame(); }
    CTextView& view(int side)
    {
        return side == 0 ? static_cast<CTextView&>(*frame().leftView()) : *frame().rightView();
    }
    CLinePopups& popups(int side) { return *frame().linePopups(side); }
    CLineDiffFrm* diff(int side) { return popups(side).lineDiff(); }

    void Mouse(int side, QEvent::Type type, Qt::MouseButton button, int row)
    {
        CTextView& v = view(side);
        const QPoint point(60, row * v.lineHeight + v.lineHeight / 2 - v.scrollTop());
        QMouseEvent event(type, QPointF(point), v.viewport()->mapToGlobal(QPointF(point)), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(v.viewport(), &event);
    }
    void RightClick(int side, int row) { Mouse(side, QEvent::MouseButtonPress, Qt::RightButton, row); }

    bool WaitForLineRun(int side)
    {
        return WaitUntil([this, side] { return diff(side) && !diff(side)->comparing(); });
    }

    std::unique_ptr<CKestrilaneApp> app;
};

TEST(PlacePopup, StandsNearTheClickAndScrollsWideLines)
{
    struct Case {
        int row;
        int clickY;
        int textWidth;
        QPoint topLeft;
        int height;
        int scrollWidth;
    };
    // Rows 16 pixels high, number column 50 pixels wide, 80 pixels of height asked for.
    const Case cases[] = {
        {3, 56, 300, {52, 56 + 5 * 16}, 80, 0},   // near the top: below the click
        {5, 120, 300, {52, 120 - 6 * 16}, 80, 0}, // further down: above it
        {5, 40, 300, {52, 0}, 80, 0},             // but never above the view
        {9, 150, 801, {52, 150 - 6 * 16}, 100, 851},
        {9, 150, 800, {52, 150 - 6 * 16}, 80, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << " " << c.textWidth);
        const PopupPlacement placement = PlacePopup(c.row, c.clickY, 16, 50, c.textWidth, 80, 20);
        EXPECT_EQ(placement.topLeft, c.topLeft);
        EXPECT_EQ(placement.size, QSize(c.textWidth, c.height));
        EXPECT_EQ(placement.scrollWidth, c.scrollWidth);
    }
}

TEST_F(LineWindows, RightClickOpensTheWindowOfTheDetailMode)
{
    Trigger(*app, cmd::ID_VIEW_SOURCE);
    RightClick(0, 11);
    ASSERT_NE(diff(0), nullptr);
    EXPECT_TRUE(diff(0)->isVisible());
    EXPECT_EQ(diff(0)->windowTitle(), QStringLiteral("A:12, B:12"));
    // A tool window of the main window, which the window manager keeps above it; as wide as
    // its pane draws the lines.
    EXPECT_EQ(diff(0)->windowType(), Qt::Tool);
    EXPECT_EQ(diff(0)->windowHandle()->transientParent(), frame().windowHandle());
    CTwinLineWnd* twin = diff(0)->twin();
    EXPECT_GE(twin->width(), std::max(twin->LineWidth(twin->line(0)), twin->LineWidth(twin->line(1))));
    EXPECT_EQ(diff(0)->upDown(0)->position(), 11);
    EXPECT_EQ(diff(0)->upDown(1)->position(), 11);
    ASSERT_TRUE(WaitForLineRun(0));
    EXPECT_EQ(diff(0)->twin()->twinState(), CTwinLineWnd::TwinState::Done);
    EXPECT_FALSE(diff(0)->cancelButton()->isVisible());

    // A later click reuses the window.
    CLineDiffFrm* first = diff(0);
    RightClick(0, 3);
    EXPECT_EQ(diff(0), first);
    EXPECT_EQ(diff(0)->windowTitle(), QStringLiteral("A:4, B:4"));

    frame().dialogBar()->button(CFrameDlg::IDC_D2)->click();
    RightClick(1, 6);
    ASSERT_NE(popups(1).lineInfo(), nullptr);
    EXPECT_TRUE(popups(1).lineInfo()->isVisible());
    EXPECT_EQ(popups(1).lineInfo()->windowTitle(), QStringLiteral(u"B:7行の比較結果情報"));
    EXPECT_EQ(diff(1), nullptr);

    // A left press in a view hides its windows.
    Mouse(1, QEvent::MouseButtonPress, Qt::LeftButton, 2);
    EXPECT_FALSE(popups(1).lineInfo()->isVisible());

    // The context-menu key compares the line at the caret, in either mode.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5), view(1).viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view(1).viewport(), &key);
    ASSERT_NE(diff(1), nullptr);
    EXPECT_TRUE(diff(1)->isVisible());
    EXPECT_EQ(diff(1)->windowTitle(), QStringLiteral("B:1, A:1"));
}

// Lines too long for the full comparison are compared the cheaper way, and the window's
// title says so.
TEST(LongLineWindow, SaysTheLinesWereComparedTheCheaperWay)
{
    std::string line(200000, 'a');
    const auto text = [](const std::string& body) {
        return std::make_shared<const kl::Text>(kl::SplitLines(body + "\r\n", false));
    };
    const std::shared_ptr<const kl::Text> text1 = text(line);
    line[100000] = 'b';
    const std::shared_ptr<const kl::Text> text2 = text(line);
    CLineDiffFrm window(nullptr, nullptr);
    window.SetLine(0, {text1, 0});
    window.SetLine(1, {text2, 0});
    ASSERT_TRUE(window.StartLineCompare(0, false));
    ASSERT_TRUE(WaitUntil([&window] { return !window.comparing(); }));
    EXPECT_EQ(window.twin()->twinState(), CTwinLineWnd::TwinState::Done);
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral(u"（長い行のため簡易比較）"))) << window.windowTitle().toStdString();
}

TEST_F(LineWindows, AStepperPicksAnotherLineAndComparesAgain)
{
    Trigger(*app, cmd::ID_VIEW_SOURCE);
    RightClick(0, 11);
    ASSERT_TRUE(WaitForLineRun(0));
    const auto before = diff(0)->twin()->line(0);

    int finished = 0;
    QObject::connect(diff(0), &CLineDiffFrm::compareFinished, [&finished] { ++finished; });
    diff(0)->upDown(0)->downButton()->click();
    EXPECT_EQ(diff(0)->windowTitle(), QStringLiteral("A:13, B:12"));
    EXPECT_EQ(diff(0)->twin()->line(0).index, 12);
    EXPECT_EQ(diff(0)->twin()->line(0).text, before.text);
    ASSERT_TRUE(WaitForLineRun(0));
    EXPECT_EQ(finished, 1);
}

TEST_F(LineWindows, CancelStopsOnlyTheLineComparisonAndAStopOfTheMainRunStays)
{
    RunGate mainGate([](int) { return true; });
    frame().compareProgressHook = mainGate.Hook();
    const auto shownResult = app->document()->result();
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(mainGate.WaitUntilHeld());

    RunGate lineGate([](int stage) { return stage == 2; });
    popups(0).stageHook = lineGate.Hook();
    RightClick(0, 1);
    ASSERT_TRUE(lineGate.WaitUntilHeld());
    EXPECT_TRUE(diff(0)->cancelButton()->isVisibleTo(diff(0)));
    EXPECT_FALSE(diff(0)->upDown(0)->isEnabled());

    diff(0)->cancelButton()->click();
    EXPECT_TRUE(lineGate.StopSeen());
    ASSERT_TRUE(WaitForLineRun(0));
    EXPECT_EQ(diff(0)->twin()->twinState(), CTwinLineWnd::TwinState::Done);
    EXPECT_TRUE(diff(0)->upDown(0)->isEnabled());
    EXPECT_TRUE(frame().compareActive());

    // The user stops the main run; a right-click meanwhile starts a line comparison of its own.
    popups(0).stageHook = {};
    Trigger(*app, cmd::ID_COMPARE_STOP);
    RightClick(0, 2);
    EXPECT_TRUE(mainGate.StopSeen());
    ASSERT_TRUE(WaitForRunEnd(*app));
    EXPECT_EQ(app->document()->result(), shownResult);
    ASSERT_TRUE(WaitForLineRun(0));
}

TEST_F(LineWindows, ManyRightClicksWhileComparisonsRun)
{
    const int rows = view(0).rowCount;
    ASSERT_GT(rows, 10);
    for (int i = 0; i < 200; ++i) {
        if (!frame().compareActive())
            Trigger(*app, i % 3 == 0 ? cmd::ID_COMPARE_DETAILED : cmd::ID_COMPARE);
        RightClick(i % 2, (i * 7) % rows);
        if (i % 5 == 0)
            QCoreApplication::processEvents();
    }
    ASSERT_TRUE(WaitForRunEnd(*app));
    for (int side : {0, 1}) {
        if (diff(side) && diff(side)->isVisible()) {
            ASSERT_TRUE(WaitForLineRun(side));
        }
    }
}

TEST_F(LineWindows, WindowsHideAndLetGoWhenTheirTextsOrResultGo)
{
    RightClick(0, 1);
    frame().dialogBar()->button(CFrameDlg::IDC_D2)->click();
    RightClick(1, 1);
    ASSERT_TRUE(diff(0) && diff(0)->isVisible());
    CLineInfoFrm* info = popups(1).lineInfo();
    ASSERT_TRUE(info && info->isVisible());

    // A new result hides them.
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(WaitForRunEnd(*app));
    EXPECT_FALSE(diff(0)->isVisible());
    EXPECT_FALSE(info->isVisible());

    // So does clearing the document, while a line comparison runs; what they held is let go.
    frame().dialogBar()->button(CFrameDlg::IDC_D1)->click();
    RightClick(0, 1);
    std::weak_ptr<const kl::Text> text = diff(0)->twin()->line(0).text;
    ASSERT_FALSE(text.expired());
    Trigger(*app, cmd::ID_FILE_NEW);
    EXPECT_FALSE(diff(0)->isVisible());
    EXPECT_FALSE(diff(0)->comparing());
    // (A finished main run's worker may still wait for its deferred deletion.)
    EXPECT_TRUE(WaitUntil([&text] { return text.expired(); }, 5000));
    // Painting afterwards reads nothing that is gone.
    diff(0)->twin()->grab();
    info->grab();
}

TEST_F(LineWindows, EscHidesAndCtrlCCopiesBothLines)
{
    Trigger(*app, cmd::ID_VIEW_SOURCE);
    RightClick(1, 0);
    ASSERT_TRUE(WaitForLineRun(1));
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(diff(1), &copy);
    const std::string line = kl::Utf16ToCp932(QApplication::clipboard()->text().toStdU16String());
    const auto& texts = app->document()->textDoc.texts;
    const std::string_view b = texts[1]->text(0);
    const std::string_view a = texts[0]->text(0);
    EXPECT_EQ(line, std::string(b.substr(0, b.find_first_of("\r\n"))) + "\n" +
                        std::string(a.substr(0, a.find_first_of("\r\n"))) + "\n");

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(diff(1), &escape);
    EXPECT_FALSE(diff(1)->isVisible());
}

TEST_F(LineWindows, DoubleClickOnAMovedLineMessageSelectsTheLineItNames)
{
    ASSERT_EQ(view(1).displayMode(), DISPLAY_RESULT);
    const kl::CompareResult& result = *app->document()->result();
    int messageRow = -1;
    for (int row = 0; row < result.RowCount() && messageRow < 0; ++row) {
        if (kl::MovedLinePartner(result.Rows(1), row))
            messageRow = row;
    }
    ASSERT_GE(messageRow, 0);
    const int target = kl::MovedLinePartner(result.Rows(1), messageRow)->row;
    Mouse(1, QEvent::MouseButtonDblClick, Qt::LeftButton, messageRow);
    Mouse(1, QEvent::MouseButtonRelease, Qt::LeftButton, messageRow);
    EXPECT_EQ(view(1).selectionState, 2);
    EXPECT_EQ(view(1).lineWnd().anchorRow, target);
    EXPECT_EQ(view(1).lineWnd().endRow, target);
    const std::string_view line = result.TextOf(1)->text(kl::MovedLinePartner(result.Rows(1), messageRow)->line);
    EXPECT_EQ(view(1).lineWnd().endOffset, line.find_first_of("\r\n"));
}

}  // namespace
