// What the text views do for the wheel and for long texts.
#include <QApplication>
#include <QStatusBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "ui/app/command_ids.h"
#include "ui/display/text_view.h"
#include "tests/support/temp_dir.h"

namespace {

class ViewKeys : public kltest::AppTest {};

TEST_F(ViewKeys, OneWheelNotchScrollsTheDesktopsLinesAndLineNumbersWidenPastFiveDigits)
{
    kltest::TempDir dir;
    std::string many;
    for (int i = 0; i < 150000; ++i)
        many += "line " + std::to_string(i) + "\n";
    const std::string a = dir.write("a.txt", many);
    const std::string b = dir.write("b.txt", many + "end\n");
    auto app = MakeApp("[FLAG]\nFPARAMDO=0\n");
    ASSERT_TRUE(app->InitInstance(Words({a, b})));
    CTextView* view = app->mainFrame()->leftView();
    app->mainFrame()->resize(800, 600);
    QApplication::processEvents();
    ASSERT_GT(view->lineHeight, 0);

    // Six digits (150,001 lines) and one to spare, as five had "000000".
    EXPECT_EQ(view->numberColumnWidth, QFontMetrics(view->ViewFont()).horizontalAdvance(QStringLiteral("0000000")));

    const int before = view->scrollTop();
    const QPointF at(50, 50);
    QWheelEvent notch(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &notch);
    EXPECT_EQ(view->scrollTop() - before, QApplication::wheelScrollLines() * view->lineHeight);
}

TEST_F(ViewKeys, TheStatusBarCountsTheDifferences)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kltest::kBefore, kltest::kAfter})));
    ASSERT_TRUE(WaitForRunEnd(*app));
    QApplication::processEvents();
    const int blocks = app->mainFrame()->leftView()->Shown()->BlockCount();
    ASSERT_GT(blocks, 2);
    Trigger(*app, cmd::ID_NEXT_DIFF);
    Trigger(*app, cmd::ID_NEXT_DIFF);
    EXPECT_EQ(app->mainFrame()->statusBar()->currentMessage(), QStringLiteral(u"相違 2 / %1").arg(blocks));
    Trigger(*app, cmd::ID_PREV_DIFF);
    EXPECT_EQ(app->mainFrame()->statusBar()->currentMessage(), QStringLiteral(u"相違 1 / %1").arg(blocks));
}

}  // namespace
