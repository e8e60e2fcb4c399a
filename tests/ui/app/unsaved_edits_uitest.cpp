// The window asks before anything lets an edited text go, and marks the edited side.
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "ui/app/command_ids.h"
#include "ui/tree/left_view.h"

namespace {

using Answer = UserPrompts::SaveAnswer;

class UnsavedEditsUi : public kltest::AppTest {
protected:
    std::unique_ptr<CKestrilaneApp> EditedApp()
    {
        auto app = MakeApp("[FLAG]\nFPARAMDO=0\nFOPENDO=0\n");
        app->prompts.askSaveEdited = [this](QWidget*, const QString& question) {
            questions << question;
            return answer;
        };
        const std::string a = dir.write("a.txt", "a\r\nb\n");
        EXPECT_TRUE(app->InitInstance(Words({a, dir.write("b.txt", "b\n")})));
        CKestrilaneDoc& doc = *app->document();
        doc.textDoc.edited[kl::DOC_A] = true;  // as an edit leaves it
        emit doc.titleChanged(doc.Title());
        return app;
    }

    Answer answer = Answer::Cancel;
    QStringList questions;
};

TEST_F(UnsavedEditsUi, TheEditedSideIsMarkedInTheTitleAndTheTree)
{
    auto app = EditedApp();
    EXPECT_TRUE(app->mainFrame()->windowTitle().startsWith(QStringLiteral("a.txt*-b.txt")));
    EXPECT_TRUE(app->mainFrame()->treeView()->fileItem(0)->text(0).startsWith(QStringLiteral("* ")));
    EXPECT_FALSE(app->mainFrame()->treeView()->fileItem(1)->text(0).startsWith(QStringLiteral("* ")));
}

TEST_F(UnsavedEditsUi, CancelKeepsTheTextsAndNoGoesOn)
{
    const std::function<void(CKestrilaneApp&)> actions[] = {
        [](CKestrilaneApp& app) { Trigger(app, cmd::ID_FILE_NEW); },
        [](CKestrilaneApp& app) { Trigger(app, cmd::ID_FILE_RELOAD); },
        [](CKestrilaneApp& app) { Trigger(app, cmd::ID_SWAP_SIDES); },
        [](CKestrilaneApp& app) { Trigger(app, cmd::ID_REBUILD_NEWLINES); },
        [](CKestrilaneApp& app) { app.mainFrame()->close(); },
    };
    for (std::size_t n = 0; n < std::size(actions); ++n) {
        SCOPED_TRACE(n);
        for (const Answer given : {Answer::Cancel, Answer::No}) {
            auto app = EditedApp();
            app->mainFrame()->show();
            const auto before = app->document()->textDoc.texts;
            answer = given;
            questions.clear();
            actions[n](*app);
            EXPECT_EQ(questions, QStringList{QStringLiteral(u"DocAの変更を保存しますか？")});
            const bool unchanged = app->document()->textDoc.texts == before && app->mainFrame()->isVisible();
            EXPECT_EQ(unchanged, given == Answer::Cancel);
        }
    }
}

}  // namespace
