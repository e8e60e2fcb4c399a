// Editing from the main window: copying differences across, undo and redo, and the
// comparison that follows the edits (its runs make these thread tests).
#include <QAction>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "ui/app/command_ids.h"
#include "ui/display/splitter_snd.h"
#include "ui/display/text_view.h"
#include "ui/tree/left_view.h"

namespace {


class EditUi : public kltest::AppTest {
protected:
    // The pair loaded and compared, shown as the result.
    std::unique_ptr<CKestrilaneApp> Compared(const std::string& a, const std::string& b)
    {
        auto app = MakeApp(kltest::kNoAutoCompare);
        EXPECT_TRUE(app->InitInstance(Words({dir.write("a.txt", a), dir.write("b.txt", b)})));
        app->mainFrame()->recompareDelay = 20;
        Trigger(*app, cmd::ID_COMPARE);
        EXPECT_TRUE(WaitForRunEnd(*app));
        Trigger(*app, cmd::ID_VIEW_RESULT);
        return app;
    }

    static std::string Bytes(const CKestrilaneApp& app, int side)
    {
        return std::string(app.document()->textDoc.texts[static_cast<std::size_t>(side)]->bytes());
    }

    // Waits for the comparison of the texts as they are now.
    static bool WaitForFollowingRun(const CKestrilaneApp& app)
    {
        const kl::TextDocument& doc = app.document()->textDoc;
        return kltest::WaitUntil([&] {
            return doc.result->outcome == kl::RunOutcome::Completed && doc.result->texts == doc.texts;
        });
    }

    static int Blocks(const CKestrilaneApp& app)
    {
        return app.document()->Shown({kl::DISPLAY_RESULT, false})->BlockCount();
    }
};

TEST_F(EditUi, CopiesTheReachedDifferenceEachWayAndUndoesIt)
{
    const std::string a = "one\r\ntwo\r\nthree\r\nfour\r\n";
    const std::string b = "one\r\n2\r\nthree\r\nfour\r\nfive\r\n";
    auto app = Compared(a, b);
    Trigger(*app, cmd::ID_NEXT_DIFF);
    Trigger(*app, cmd::ID_COPY_TO_B);
    EXPECT_EQ(Bytes(*app, kl::DOC_B), "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n");
    EXPECT_TRUE(app->document()->textDoc.edited[kl::DOC_B]);
    EXPECT_FALSE(app->document()->textDoc.edited[kl::DOC_A]);
    ASSERT_TRUE(WaitForFollowingRun(*app));

    // The only difference left is DocB's last line; DocA takes it.
    Trigger(*app, cmd::ID_NEXT_DIFF);
    Trigger(*app, cmd::ID_COPY_TO_A);
    EXPECT_EQ(Bytes(*app, kl::DOC_A), Bytes(*app, kl::DOC_B));
    ASSERT_TRUE(WaitForFollowingRun(*app));
    EXPECT_EQ(Blocks(*app), 0);

    Trigger(*app, cmd::ID_EDIT_UNDO);
    EXPECT_EQ(Bytes(*app, kl::DOC_A), a);
    EXPECT_FALSE(app->document()->textDoc.edited[kl::DOC_A]);  // back to the file's version
    Trigger(*app, cmd::ID_EDIT_REDO);
    EXPECT_EQ(Bytes(*app, kl::DOC_A), Bytes(*app, kl::DOC_B));
    EXPECT_TRUE(app->document()->textDoc.edited[kl::DOC_A]);
}

TEST_F(EditUi, CopiesEveryDifferenceAsOneStepMovedLinesIncluded)
{
    const std::string a = "moved line\nalpha\nbeta\ngamma\ndelta\n";
    const std::string b = "alpha\nBETA\ngamma\ndelta\nmoved line\nepsilon";
    auto app = Compared(a, b);
    Trigger(*app, cmd::ID_COPY_ALL_TO_B);
    EXPECT_EQ(Bytes(*app, kl::DOC_B), a);
    ASSERT_TRUE(WaitForFollowingRun(*app));
    EXPECT_EQ(Blocks(*app), 0);
    Trigger(*app, cmd::ID_EDIT_UNDO);
    EXPECT_EQ(Bytes(*app, kl::DOC_B), b);

    // Asked before the texts are compared again, the copy waits for that comparison.
    Trigger(*app, cmd::ID_COPY_ALL_TO_A);
    ASSERT_TRUE(kltest::WaitUntil([&] { return Bytes(*app, kl::DOC_A) == b; }));
}

TEST_F(EditUi, TheComparisonFollowsTheEditsKeepingTheScrollPosition)
{
    std::string a;
    for (int k = 0; k < 400; ++k)
        a += "line " + std::to_string(k) + "\n";
    std::string b = a;
    b.replace(b.find("line 300\n"), 9, "changed\n");
    auto app = Compared(a, b);
    CTextView* view = app->mainFrame()->leftView();
    view->rowScrollBar()->setValue(200 * view->lineHeight);
    const int scrolled = view->rowScrollBar()->value();
    const int totals = app->mainFrame()->treeView()->fileItem(kl::DOC_A)->childCount();

    // Edits in quick succession: each drops the run the one before started.
    for (int k = 0; k < 3; ++k) {
        const std::shared_ptr<const kl::CompareResult> before = app->document()->result();
        app->document()->EditText(kl::DOC_A, {{{kl::DOC_A, k, k, "x"}}, {}, nullptr}, true);
        // The rows follow at once, with the new text.
        EXPECT_NE(app->document()->result(), before);
        EXPECT_EQ(app->document()->result()->texts[kl::DOC_A], app->document()->textDoc.texts[kl::DOC_A]);
        EXPECT_FALSE(app->mainFrame()->compareActive());
    }
    ASSERT_TRUE(WaitForFollowingRun(*app));
    EXPECT_EQ(Blocks(*app), 2);
    EXPECT_EQ(view->rowScrollBar()->value(), scrolled);
    EXPECT_EQ(app->mainFrame()->treeView()->fileItem(kl::DOC_A)->childCount(), totals);
    // Typing joined into one step.
    Trigger(*app, cmd::ID_EDIT_UNDO);
    EXPECT_EQ(Bytes(*app, kl::DOC_A), a);
}

TEST_F(EditUi, AnEditStopsTheRunningComparisonWhichKeepsItsOwnTexts)
{
    auto app = Compared("a\nb\nc\n", "a\nB\nc\n");
    kltest::RunGate gate([](int) { return true; });
    app->mainFrame()->compareProgressHook = gate.Hook();
    app->document()->EditText(kl::DOC_A, {{{kl::DOC_A, 0, 0, "x"}}, {}, nullptr});
    ASSERT_TRUE(kltest::WaitUntil([&] { return app->mainFrame()->compareActive(); }));
    ASSERT_TRUE(gate.WaitUntilHeld());
    const std::shared_ptr<const kl::Text> held = app->document()->textDoc.texts[kl::DOC_A];

    app->document()->EditText(kl::DOC_A, {{{kl::DOC_A, 0, 1, ""}}, {}, nullptr});
    EXPECT_TRUE(gate.StopSeen());
    EXPECT_EQ(held->bytes(), "xa\nb\nc\n");  // the version the run read is intact
    app->mainFrame()->compareProgressHook = {};
    ASSERT_TRUE(WaitForFollowingRun(*app));
    EXPECT_EQ(Blocks(*app), 1);
}

}  // namespace
