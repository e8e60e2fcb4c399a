// Typing in the text views: keys at line ends of every kind, a filler row, the input
// method's composition, cut and paste, undo of the focused side.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "ui/app/command_ids.h"
#include "ui/display/text_editing.h"
#include "ui/display/text_view.h"

namespace {

class TypingUi : public kltest::AppTest {
protected:
    // The pair loaded (not compared), shown as loaded, DocA's view with the focus.
    std::unique_ptr<CKestrilaneApp> Loaded(const std::string& a, const std::string& b = "x\n")
    {
        auto app = MakeApp("[FLAG]\nFPARAMDO=0\nFOPENDO=0\n");
        EXPECT_TRUE(app->InitInstance(Words({dir.write("a.txt", a), dir.write("b.txt", b)})));
        app->mainFrame()->recompareDelay = 20;
        app->mainFrame()->resize(900, 600);
        app->mainFrame()->show();
        QApplication::processEvents();
        app->mainFrame()->leftView()->setFocus();
        return app;
    }

    static std::string Bytes(const CKestrilaneApp& app, int side = kl::DOC_A)
    {
        return std::string(app.document()->textDoc.texts[static_cast<std::size_t>(side)]->bytes());
    }

    static void Key(CTextView* view, int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(view, &press);
    }
};

TEST_F(TypingUi, KeysAtLineEndsOfEveryKind)
{
    for (const std::string newline : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(newline.size() == 2 ? "CR LF" : newline == "\n" ? "LF" : "CR");
        const std::string text = "ab" + newline + "cd" + newline + "ef";
        auto app = Loaded(text);
        CTextView* view = app->mainFrame()->leftView();
        view->setCaretPosition({0, 2});
        Key(view, Qt::Key_Delete);  // joins the first two lines
        EXPECT_EQ(Bytes(*app), "abcd" + newline + "ef");
        Key(view, Qt::Key_Return);  // and Enter splits them again with the text's line end
        EXPECT_EQ(Bytes(*app), text);
        EXPECT_EQ(view->caretPosition(), (TextPosition{1, 0}));
        Key(view, Qt::Key_Backspace);
        EXPECT_EQ(Bytes(*app), "abcd" + newline + "ef");
        Key(view, Qt::Key_X, QStringLiteral("x"));
        Key(view, Qt::Key_Tab, QStringLiteral("\t"));
        EXPECT_EQ(Bytes(*app), "abx\tcd" + newline + "ef");
        view->setCaretPosition({1, 2});  // past a last line without a line end
        Key(view, Qt::Key_Delete);
        Key(view, Qt::Key_Y, QStringLiteral("y"));
        EXPECT_EQ(Bytes(*app), "abx\tcd" + newline + "efy");
        EXPECT_TRUE(app->document()->textDoc.edited[kl::DOC_A]);
        EXPECT_FALSE(app->document()->textDoc.edited[kl::DOC_B]);
    }
}

TEST_F(TypingUi, InputMethodCompositionIsShownThenCommittedInTheTextsEncoding)
{
    auto app = Loaded("ab\r\n");
    CTextView* view = app->mainFrame()->leftView();
    view->setCaretPosition({0, 1});
    EXPECT_TRUE(view->inputMethodQuery(Qt::ImEnabled).toBool());
    const QRect before = view->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(before.topLeft(), view->CaretClientPoint());

    QInputMethodEvent compose(QStringLiteral(u"にほん"), {});
    QApplication::sendEvent(view, &compose);
    EXPECT_EQ(Bytes(*app), "ab\r\n");  // nothing in the text yet
    EXPECT_EQ(view->editing().preedit(), QStringLiteral(u"にほん"));
    // The candidates go beside the composition.
    EXPECT_GT(view->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), before.left());
    EXPECT_EQ(view->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("ab"));
    EXPECT_EQ(view->inputMethodQuery(Qt::ImCursorPosition).toInt(), 1);

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral(u"日本"));
    QApplication::sendEvent(view, &commit);
    EXPECT_EQ(Bytes(*app), "a\x93\xfa\x96\x7b" "b\r\n");  // Shift_JIS bytes
    EXPECT_TRUE(view->editing().preedit().isEmpty());
    EXPECT_EQ(view->caretPosition(), (TextPosition{0, 5}));
}

TEST_F(TypingUi, TypingOnAFillerRowStartsANewLineThere)
{
    auto app = Loaded("one\r\nthree\r\n", "one\r\ntwo\r\nthree\r\n");
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(WaitForRunEnd(*app));
    Trigger(*app, cmd::ID_VIEW_RESULT);
    CTextView* view = app->mainFrame()->leftView();
    ASSERT_EQ(view->Shown()->LineAt(kl::DOC_A, 1), kl::kNoLine);
    view->setCaretPosition({1, 0});
    Key(view, Qt::Key_T, QStringLiteral("t"));
    EXPECT_EQ(Bytes(*app), "one\r\nt\r\nthree\r\n");
    Key(view, Qt::Key_W, QStringLiteral("w"));
    Key(view, Qt::Key_O, QStringLiteral("o"));
    EXPECT_EQ(Bytes(*app), "one\r\ntwo\r\nthree\r\n");
    ASSERT_TRUE(kltest::WaitUntil([&] {
        return app->document()->result()->texts == app->document()->textDoc.texts &&
               app->document()->result()->outcome == kl::RunOutcome::Completed;
    }));
    EXPECT_EQ(view->Shown()->BlockCount(), 0);
    // One undo step takes the typed line back out, and the caret goes where it was; redo
    // puts it back with the caret after it.
    view->setCaretPosition({0, 2});
    Trigger(*app, cmd::ID_EDIT_UNDO);
    EXPECT_EQ(Bytes(*app), "one\r\nthree\r\n");
    const auto caretLine = [&] {
        return std::pair(view->Shown()->LineAt(kl::DOC_A, view->caretPosition().row), view->caretPosition().offset);
    };
    EXPECT_EQ(caretLine(), std::pair(1, std::size_t{0}));
    Trigger(*app, cmd::ID_EDIT_REDO);
    EXPECT_EQ(Bytes(*app), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(caretLine(), std::pair(2, std::size_t{0}));
}

TEST_F(TypingUi, CutAndPasteGoThroughTheClipboard)
{
    auto app = Loaded("hello world\n");
    CTextView* view = app->mainFrame()->leftView();
    view->setCaretPosition({0, 0});
    view->setCaretPosition({0, 6}, true);
    Trigger(*app, cmd::ID_EDIT_CUT);
    EXPECT_EQ(Bytes(*app), "world\n");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("hello "));
    view->setCaretPosition({0, 5});
    QApplication::clipboard()->setText(QStringLiteral("!\r\nnew"));
    Trigger(*app, cmd::ID_EDIT_PASTE);
    EXPECT_EQ(Bytes(*app), "world!\nnew\n");  // the text's own line end
}

}  // namespace
