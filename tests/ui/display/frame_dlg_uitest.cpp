// The dialog bar: the display switch asks the frame to switch, the View menu moves the
// radio buttons without asking, and D1/D2 write the frame's detailMode.
#include <QAbstractButton>
#include <gtest/gtest.h>
#include <vector>

#include "engine/display/display_options.h"
#include "ui/display/frame_dlg.h"
#include "ui/display/view_state.h"

namespace {

class FrameDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QObject::connect(&bar, &CFrameDlg::showSourceRequested, [this] { requests.push_back(DISPLAY_SOURCE); });
        QObject::connect(&bar, &CFrameDlg::showResultRequested, [this] { requests.push_back(DISPLAY_RESULT); });
        QObject::connect(&bar, &CFrameDlg::detailModeChanged, [this](int mode) { detailChanges.push_back(mode); });
    }

    bool Checked(int id) const { return bar.button(id)->isChecked(); }

    CFrameDlg bar;
    ViewState state;
    std::vector<int> requests;
    std::vector<int> detailChanges;
};

TEST_F(FrameDlgTest, ShowsItsFourRadioButtonsInTheirStartingState)
{
    const struct {
        int id;
        const char16_t* caption;
        bool checked;
    } buttons[] = {
        {CFrameDlg::IDC_SOURCE, u"元データ", true},
        {CFrameDlg::IDC_RESULT, u"比較表示", false},
        {CFrameDlg::IDC_D1, u"D1", true},
        {CFrameDlg::IDC_D2, u"D2", false},
    };
    for (const auto& b : buttons) {
        ASSERT_NE(bar.button(b.id), nullptr) << b.id;
        EXPECT_EQ(bar.button(b.id)->text(), QString::fromUtf16(b.caption));
        EXPECT_EQ(bar.button(b.id)->isChecked(), b.checked) << b.id;
    }
    EXPECT_EQ(bar.button(1002), nullptr);
    EXPECT_EQ(bar.displaySwitch, 0);
    EXPECT_EQ(bar.detailSwitch, 0);
}

TEST_F(FrameDlgTest, DisplayButtonsAskTheFrameToSwitch)
{
    bar.button(CFrameDlg::IDC_RESULT)->click();
    EXPECT_TRUE(Checked(CFrameDlg::IDC_RESULT));
    EXPECT_FALSE(Checked(CFrameDlg::IDC_SOURCE));
    bar.button(CFrameDlg::IDC_SOURCE)->click();
    bar.button(CFrameDlg::IDC_SOURCE)->click();  // again: the frame shows the source again
    EXPECT_EQ(requests, (std::vector<int>{DISPLAY_RESULT, DISPLAY_SOURCE, DISPLAY_SOURCE}));
    EXPECT_EQ(bar.displaySwitch, 0);
    EXPECT_TRUE(detailChanges.empty());
}

TEST_F(FrameDlgTest, TheMenuMovesTheDisplayRadioSilently)
{
    bar.SetDisplayRadio(DISPLAY_RESULT);
    EXPECT_TRUE(Checked(CFrameDlg::IDC_RESULT));
    EXPECT_EQ(bar.displaySwitch, 1);
    bar.SetDisplayRadio(DISPLAY_SOURCE);
    EXPECT_TRUE(Checked(CFrameDlg::IDC_SOURCE));
    EXPECT_EQ(bar.displaySwitch, 0);
    EXPECT_TRUE(requests.empty());
}

TEST_F(FrameDlgTest, DetailButtonsWriteDetailModeAndAnnounceIt)
{
    bar.SetViewState(&state);
    bar.button(CFrameDlg::IDC_D2)->click();
    EXPECT_EQ(state.detailMode(), 1);
    EXPECT_EQ(bar.detailSwitch, 1);
    EXPECT_TRUE(Checked(CFrameDlg::IDC_D2));
    bar.button(CFrameDlg::IDC_D1)->click();
    EXPECT_EQ(state.detailMode(), 0);
    EXPECT_TRUE(Checked(CFrameDlg::IDC_D1));
    EXPECT_EQ(detailChanges, (std::vector<int>{1, 0}));
    EXPECT_TRUE(requests.empty());
}

TEST_F(FrameDlgTest, WithoutATargetDetailButtonsOnlyMoveTheRadio)
{
    bar.button(CFrameDlg::IDC_D2)->click();
    EXPECT_EQ(bar.detailSwitch, 1);
    EXPECT_TRUE(Checked(CFrameDlg::IDC_D2));
    EXPECT_TRUE(detailChanges.empty());
}

TEST_F(FrameDlgTest, D2StaysCheckedThroughTheViewMenu)
{
    bar.SetViewState(&state);
    bar.button(CFrameDlg::IDC_D2)->click();
    // What the frame does for "比較結果の表示(&R)".
    bar.SetDisplayRadio(DISPLAY_RESULT);
    bar.Refresh();
    EXPECT_TRUE(Checked(CFrameDlg::IDC_RESULT));
    EXPECT_TRUE(Checked(CFrameDlg::IDC_D2));
    EXPECT_EQ(state.detailMode(), 1);
}

TEST_F(FrameDlgTest, RefreshShowsDetailModeAsTheFrameHasIt)
{
    bar.SetViewState(&state);
    state.setDetailMode(1);
    bar.Refresh();
    EXPECT_TRUE(Checked(CFrameDlg::IDC_D2));
    EXPECT_EQ(bar.detailSwitch, 1);
    state.setDetailMode(0);
    bar.Refresh();
    EXPECT_TRUE(Checked(CFrameDlg::IDC_D1));
    EXPECT_TRUE(detailChanges.empty());
}

}  // namespace
