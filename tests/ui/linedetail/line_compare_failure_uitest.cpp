// A character comparison that throws is reported in its line window, which stays usable.
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

#include <new>

#include "tests/ui/app/app_fixture.h"
#include "ui/app/command_ids.h"
#include "ui/display/text_view.h"
#include "ui/linedetail/line_diff_frm.h"
#include "ui/linedetail/line_popups.h"
#include "ui/linedetail/twin_line_wnd.h"
#include "ui/linedetail/up_down.h"

namespace {

class LineCompareFailure : public kltest::AppTest {
protected:
    void RightClick(CMainFrame& frame, int row)
    {
        CTextView& view = *frame.leftView();
        const QPoint point(60, row * view.lineHeight + view.lineHeight / 2 - view.scrollTop());
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(point), view.viewport()->mapToGlobal(QPointF(point)),
                          Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }
};

TEST_F(LineCompareFailure, AThrowingRunShowsWhyAndTheNextRunWorks)
{
    auto app = MakeApp();
    ASSERT_TRUE(app->InitInstance(Words({kltest::kBefore, kltest::kAfter})));
    ASSERT_TRUE(WaitForRunEnd(*app));
    CMainFrame& frame = *app->mainFrame();
    Trigger(*app, cmd::ID_VIEW_SOURCE);
    CLinePopups& popups = *frame.linePopups(0);

    popups.stageHook = [](int stage, const std::stop_token&) {
        if (stage == 2)
            throw std::bad_alloc();
    };
    RightClick(frame, 11);
    CLineDiffFrm* diff = popups.lineDiff();
    ASSERT_NE(diff, nullptr);
    ASSERT_TRUE(kltest::WaitUntil([diff] { return !diff->comparing(); }));
    EXPECT_EQ(diff->twin()->twinState(), CTwinLineWnd::TwinState::Failed);
    EXPECT_EQ(diff->twin()->progressText(), QStringLiteral(u"メモリが足りないため、比較できませんでした。"));
    EXPECT_FALSE(diff->cancelButton()->isVisibleTo(diff));
    EXPECT_TRUE(diff->upDown(0)->isEnabled());

    popups.stageHook = {};
    RightClick(frame, 11);
    ASSERT_TRUE(kltest::WaitUntil([diff] { return !diff->comparing(); }));
    EXPECT_EQ(diff->twin()->twinState(), CTwinLineWnd::TwinState::Done);
}

}  // namespace
