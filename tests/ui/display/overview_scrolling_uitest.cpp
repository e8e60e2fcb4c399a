// The overview bar and the difference navigation over a real comparison in the splitter:
// a click in the bar scrolls the views and sets the navigation's position; Next and
// Previous scroll to the differences, move the thumb and keep their commands' enabled
// state; the thumb follows the shared row position.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/compare/compare.h"
#include "engine/document/document_ops.h"
#include "ui/display/difference_navigator.h"
#include "ui/display/over_view.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "doc_fixture.h"

namespace {

std::string Lines(int from, int to)
{
    std::string text;
    for (int i = from; i < to; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

// DocA: lines 0..299. DocB: two new lines after line 99, and DocA's line 200 left out.
// Result rows: 100 and 101 only in DocB, 202 only in DocA; 302 rows.
const std::string kTextA = Lines(0, 300);
const std::string kTextB = Lines(0, 100) + "new 1\r\nnew 2\r\n" + Lines(100, 200) + Lines(201, 300);
constexpr int kRows = 302;

class OverviewScrollingTest : public kltest::DocFixture {
protected:
    // Loads the two texts and compares them as a run does (the run's thread is the business
    // of the comparison-run tests).
    void Compare(const std::string& a, const std::string& b)
    {
        Load("a.txt", a);
        Load("b.txt", b);
        doc().LoadColorSettings(kl::Rgb(255, 255, 255));
        kl::CompareRequest request;
        request.messages.left = doc().leftMessage;
        request.messages.right = doc().rightMessage;
        const auto result = std::make_shared<const kl::CompareResult>(kl::Compare(doc().textDoc.texts, request));
        ASSERT_TRUE(result && result->outcome == kl::RunOutcome::Completed);
        doc().SetResult(result);
        ASSERT_EQ(result->Rows(kl::DOC_A).size(), result->Rows(kl::DOC_B).size());
    }

    // The splitter showing the result, the overview bar attached as the frame attaches it.
    void Show(int mode = DISPLAY_RESULT, QSize size = QSize(700, 404))
    {
        splitter = std::make_unique<CSplitterSnd>(doc(), "");
        splitter->resize(size);
        splitter->show();
        splitter->leftView()->SetViewState(&state);
        splitter->rightView()->SetViewState(&state);
        state.setDisplayMode(static_cast<kl::DisplayMode>(mode));
        overview()->Attach(*splitter, state);
        UpdateAll();
        navigator = std::make_unique<CDifferenceNavigator>(doc(), *splitter, state);
        navigator->TrackActions(&nextAction, &previousAction);
    }

    void UpdateAll()
    {
        overview()->OnUpdate();
        splitter->leftView()->OnUpdate();
        splitter->rightView()->OnUpdate();
        QApplication::processEvents();
    }

    COverView* overview() const { return splitter->overView(); }
    QScrollBar* rows() const { return splitter->rowScrollBar(); }

    void Click(int y, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPointF at(overview()->width() / 2, y);
        QMouseEvent press(QEvent::MouseButtonPress, at, overview()->mapToGlobal(at), button, button, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, overview()->mapToGlobal(at), button, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(overview(), &press);
        QApplication::sendEvent(overview(), &release);
    }

    // Where Next/Previous put the shared row position for a block at position.
    int ScrollFor(int position) const
    {
        return std::max(0, (position - 3) * splitter->rightView()->lineHeight);
    }

    ViewState state;
    QAction nextAction;
    QAction previousAction;
    std::unique_ptr<CSplitterSnd> splitter;
    std::unique_ptr<CDifferenceNavigator> navigator;
};

TEST_F(OverviewScrollingTest, UpdateMapsTheRowsAndStoresTheRowCount)
{
    Compare(kTextA, kTextB);
    Show();
    EXPECT_EQ(overview()->RowCount(), kRows);
    EXPECT_GT(overview()->thumbHeight, 0);
    EXPECT_EQ(overview()->thumbHeight, overview()->strips().thumbHeight);
    // D2 maps the blocks: the larger text, DocB, has 301 lines.
    state.setDetailMode(1);
    overview()->OnUpdate();
    EXPECT_EQ(overview()->RowCount(), 301);
    EXPECT_NE(overview()->strips().a.size(), 0u);
}

TEST_F(OverviewScrollingTest, ClickScrollsTheViewsAndSetsTheDifferencePosition)
{
    Compare(kTextA, kTextB);
    Show();
    const kl::OverviewBar bar = overview()->bar();
    const int d = bar.height();
    ASSERT_GT(d, 100);
    const int y = 150;
    const double g = static_cast<double>(y) / d;
    const int total = splitter->rightView()->totalHeight;
    ASSERT_EQ(total, kRows * splitter->rightView()->lineHeight);

    Click(y);
    EXPECT_EQ(state.diffPosition(), static_cast<int>(g * kRows));
    EXPECT_EQ(rows()->value(), static_cast<int>(g * total - d / 2));
    EXPECT_EQ(splitter->leftView()->scrollTop(), rows()->value());
    EXPECT_EQ(overview()->thumbTop, static_cast<int>(g * (d - overview()->thumbHeight / 2)));

    // Next continues from the clicked place.
    ASSERT_TRUE(navigator->Next());
    EXPECT_EQ(state.diffPosition(), 203);
}

TEST_F(OverviewScrollingTest, ClickInSourceModeCountsDocALines)
{
    Compare(kTextA, kTextB);
    Show(DISPLAY_SOURCE);
    const int d = overview()->bar().height();
    Click(200);
    EXPECT_EQ(state.diffPosition(), static_cast<int>(200.0 / d * 300));
}

TEST_F(OverviewScrollingTest, ClicksBelowTheBarOrWithTheRightButtonDoNothing)
{
    Compare(kTextA, kTextB);
    Show();
    state.setDiffPosition(7);
    rows()->setValue(40);
    const int thumbTop = overview()->thumbTop;
    Click(overview()->bar().height());
    Click(overview()->height() - 1);
    Click(100, Qt::RightButton);
    EXPECT_EQ(state.diffPosition(), 7);
    EXPECT_EQ(rows()->value(), 40);
    EXPECT_EQ(overview()->thumbTop, thumbTop);
}

TEST_F(OverviewScrollingTest, ThumbFollowsTheSharedRowPosition)
{
    Compare(kTextA, kTextB);
    Show();
    const kl::OverviewBar bar = overview()->bar();
    const long long whole = static_cast<long long>(rows()->maximum()) + rows()->pageStep();
    for (const int value : {0, 500, rows()->maximum()}) {
        rows()->setValue(value);
        EXPECT_EQ(overview()->thumbTop, kl::OverviewThumbTop(value, whole, bar.height(), overview()->thumbHeight))
            << value;
    }
    EXPECT_GT(overview()->thumbTop, bar.height() / 2);
}

TEST_F(OverviewScrollingTest, NextAndPreviousWalkTheDifferencesAndGoRoundTheEnds)
{
    // Each step: its direction, the row it lands on (-1: it stays and says it is at the end).
    struct Step {
        bool forward;
        int row;
    };
    struct Case {
        const char* name;
        std::string a, b;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        // Blocks at rows 100 (DocB, two rows) and 202 (DocA). Previous right after next goes
        // back one difference; at either end the first press stays, the second goes round.
        {"two blocks", kTextA, kTextB,
         {{true, 100}, {true, 202}, {true, -1}, {true, 100}, {false, -1}, {false, 202}, {false, 100}, {true, 202}}},
        // A difference on the very first row is the first Next's target.
        {"first row", kTextA, "new 0\r\n" + kTextA, {{true, 0}, {true, -1}, {false, -1}, {false, 0}}},
        {"previous first", kTextA, kTextB, {{false, -1}, {false, 202}, {false, 100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        navigator.reset();
        splitter.reset();
        kl::ClearDocument(doc().textDoc);
        state.setDiffPosition(-1);  // as the window does when texts are loaded
        Compare(c.a, c.b);
        Show();
        EXPECT_TRUE(nextAction.isEnabled());
        EXPECT_TRUE(previousAction.isEnabled());
        int ends = 0;
        QObject::connect(navigator.get(), &CDifferenceNavigator::endReached, [&ends] { ++ends; });
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(i);
            const Step& step = c.steps[i];
            const int scrolled = rows()->value();
            const int endsBefore = ends;
            EXPECT_EQ(step.forward ? navigator->Next() : navigator->Previous(), step.row >= 0);
            if (step.row < 0) {
                EXPECT_EQ(ends, endsBefore + 1);
                EXPECT_EQ(rows()->value(), scrolled);
                continue;
            }
            EXPECT_EQ(ends, endsBefore);
            EXPECT_EQ(rows()->value(), ScrollFor(step.row));
            EXPECT_EQ(overview()->thumbTop, kl::OverviewThumbTop(step.row, overview()->RowCount(), overview()->bar().height(),
                                                                 overview()->thumbHeight));
            // The block is the current difference, outlined in both views.
            EXPECT_EQ(state.currentDifference().side, -1);
            EXPECT_EQ(state.currentDifference().firstRow, step.row);
        }
    }
}

TEST_F(OverviewScrollingTest, SourceModeGoesToTheBlocksFirstLines)
{
    Compare(kTextA, kTextB);
    Show(DISPLAY_SOURCE);
    ASSERT_TRUE(navigator->Next());  // DocB's line 100, "new 1"
    EXPECT_EQ(state.diffPosition(), 101);
    EXPECT_EQ(rows()->value(), ScrollFor(100));
    ASSERT_TRUE(navigator->Next());  // DocA's line 200
    EXPECT_EQ(state.diffPosition(), 201);
    EXPECT_EQ(rows()->value(), ScrollFor(200));
    // Outlined in DocA's view only: shown as loaded the rows are each text's own lines.
    EXPECT_EQ(state.currentDifference().side, kl::DOC_A);
    EXPECT_EQ(state.currentDifference().firstRow, 200);
    EXPECT_FALSE(navigator->Next());  // the last one: the next press goes round
}

TEST_F(OverviewScrollingTest, NoDifferencesDisableBothCommands)
{
    Compare(kTextA, kTextA);
    Show();
    rows()->setValue(30);
    EXPECT_FALSE(nextAction.isEnabled());
    EXPECT_FALSE(previousAction.isEnabled());
    EXPECT_FALSE(navigator->Next());
    EXPECT_FALSE(navigator->Previous());
    EXPECT_EQ(state.diffPosition(), -1);
    EXPECT_EQ(rows()->value(), 30);
}

TEST_F(OverviewScrollingTest, AClickRefreshesTheCommandsState)
{
    Compare(kTextA, kTextB);
    Show();
    Click(overview()->bar().height() - 1);  // past the last difference: Next goes round
    EXPECT_TRUE(nextAction.isEnabled());
    EXPECT_TRUE(previousAction.isEnabled());
}

// The sample pair compared and shown in the splitter. With KESTRILANE_SCREENSHOT_DIR set
// the picture is written there as overview_samples.png, to be looked at.
TEST_F(OverviewScrollingTest, SamplePairShowsBandsInTheBar)
{
    const std::string samples = std::string(KESTRILANE_SOURCE_DIR) + "/samples/";
    Compare(kltest::ReadFileBytes(samples + "before.txt"), kltest::ReadFileBytes(samples + "after.txt"));
    Show(DISPLAY_RESULT, QSize(900, 600));
    navigator->Next();
    QApplication::processEvents();
    const QImage image = splitter->grab().toImage();

    // Both strips carry colours other than the window's: the differences of the samples.
    const kl::OverviewBar bar = overview()->bar();
    const QPoint origin = overview()->mapTo(splitter.get(), QPoint(0, 0));
    const int third = bar.width() / 3;
    const QColor window(255, 255, 255);
    int colouredA = 0;
    int colouredB = 0;
    for (int y = bar.top + 1; y < bar.bottom - 1; ++y) {
        colouredA += image.pixelColor(origin + QPoint(bar.left + 2, y)) != window;
        colouredB += image.pixelColor(origin + QPoint(bar.left + 2 * third + 2, y)) != window;
    }
    EXPECT_GT(colouredA, 0);
    EXPECT_GT(colouredB, 0);

    const QByteArray out = qgetenv("KESTRILANE_SCREENSHOT_DIR");
    if (!out.isEmpty()) {
        EXPECT_TRUE(image.save(QString::fromLocal8Bit(out) + "/overview_samples.png"));
    }
}

}  // namespace
