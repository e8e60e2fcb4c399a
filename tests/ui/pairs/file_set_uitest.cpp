#include <QAction>
#include <QMenu>
#include <QStringList>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/document/document_ops.h"
#include "engine/platform/private_profile.h"
#include "engine/settings/file_set_settings.h"
#include "tests/ui/app/app_fixture.h"
#include "ui/pairs/file_set_menu.h"
#include "ui/pairs/file_set_open.h"
#include "ui/pairs/file_set_record.h"

namespace {

const QString kAlreadyRecorded = QStringLiteral(u"すでに記録されている組み合わせです");

// The answers the test gives and everything the user was told.
struct ScriptedPrompts {
    FileSetPrompts Prompts()
    {
        FileSetPrompts prompts;
        prompts.askRecord = [this](QWidget*) {
            ++questions;
            return answer;
        };
        prompts.showInformation = [this](QWidget*, const QString& message) { information << message; };
        prompts.showFailure = [this](QWidget*, const QString& message) { failures << message; };
        return prompts;
    }

    bool answer = true;
    int questions = 0;
    QStringList information;
    QStringList failures;
};

kl::TextDocument LoadedDocument(const std::vector<std::string>& paths)
{
    kl::TextDocument doc;
    for (const std::string& path : paths) {
        std::string error;
        EXPECT_TRUE(kl::LoadIntoDocument(doc, path, false, error)) << error;
    }
    return doc;
}

QStringList ItemTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << action->text();
    return texts;
}

// The File menu with the pair submenu in it, as the main window holds them.
struct PairMenus {
    explicit PairMenus(const std::string& ini)
        : pairMenu(file.addMenu(CFileSetMenu::Title())), fileSets(pairMenu, &file, ini)
    {
    }

    void OpenFileMenu()
    {
        file.popup(QPoint(0, 0));
        file.hide();
    }

    QAction* Item(int id) const
    {
        for (QAction* action : pairMenu->actions()) {
            if (action->data().toInt() == id)
                return action;
        }
        return nullptr;
    }

    QMenu file;
    QMenu* pairMenu;
    CFileSetMenu fileSets;
};

TEST(RecordFileSet, NeedsTwoLoadedTexts)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    const std::string a = dir.write("a.txt", "a\n");
    for (const std::vector<std::string>& loaded : {std::vector<std::string>{}, std::vector<std::string>{a}}) {
        ScriptedPrompts user;
        const kl::TextDocument doc = LoadedDocument(loaded);
        EXPECT_EQ(RecordFileSet(nullptr, ini, doc, user.Prompts()), FileSetRecordResult::Refused);
        EXPECT_EQ(user.questions, 0);
        EXPECT_EQ(user.failures.size(), 1);
        EXPECT_FALSE(std::filesystem::exists(ini));
    }
}

TEST(RecordFileSet, AsksThenRecordsOnceAndRefusesTheSamePair)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    const kl::TextDocument doc =
        LoadedDocument({dir.write("議事録 - 初版.txt", "a\n"), dir.write("議事録 - 改訂.txt", "b\n")});
    ScriptedPrompts user;

    user.answer = false;
    EXPECT_EQ(RecordFileSet(nullptr, ini, doc, user.Prompts()), FileSetRecordResult::Declined);
    EXPECT_FALSE(std::filesystem::exists(ini));

    user.answer = true;
    EXPECT_EQ(RecordFileSet(nullptr, ini, doc, user.Prompts()), FileSetRecordResult::Recorded);
    EXPECT_EQ(kl::ReadFileSetCount(ini), 1);

    // No menu was opened in between: the file itself tells that the pair is there.
    EXPECT_EQ(RecordFileSet(nullptr, ini, doc, user.Prompts()), FileSetRecordResult::AlreadyRecorded);
    EXPECT_EQ(user.information, QStringList{kAlreadyRecorded});
    EXPECT_EQ(kl::ReadFileSetCount(ini), 1);
    EXPECT_EQ(user.questions, 3);
    EXPECT_TRUE(user.failures.isEmpty());
}

TEST(RecordFileSet, RefusesAPathTheSettingsFileCannotHold)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    const kl::TextDocument doc = LoadedDocument({dir.write("a.txt", "a\n"), dir.write("résumé.txt", "b\n")});
    ScriptedPrompts user;
    EXPECT_EQ(RecordFileSet(nullptr, ini, doc, user.Prompts()), FileSetRecordResult::Refused);
    EXPECT_EQ(user.questions, 0);
    ASSERT_EQ(user.failures.size(), 1);
    EXPECT_TRUE(user.failures[0].contains(QStringLiteral(u"résumé.txt"))) << user.failures[0].toStdString();
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST(RecordFileSet, NamesTheSettingsFileItCouldNotWrite)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("gone/kestrilane.ini");
    const kl::TextDocument doc = LoadedDocument({dir.write("a.txt", "a\n"), dir.write("b.txt", "b\n")});
    ScriptedPrompts user;
    EXPECT_EQ(RecordFileSet(nullptr, ini, doc, user.Prompts()), FileSetRecordResult::WriteFailed);
    ASSERT_EQ(user.failures.size(), 1);
    EXPECT_TRUE(user.failures[0].contains(QString::fromStdString(ini))) << user.failures[0].toStdString();
}

TEST(FileSetMenu, ListsTheRecordedPairsEachTimeTheFileMenuOpens)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    ASSERT_EQ(kl::StoreFileSet(ini, "/d/a&b.txt - /d/c.txt"), kl::FileSetStore::Recorded);
    ASSERT_EQ(kl::StoreFileSet(ini, "/d/\x8b\x63\x8e\x96\x98\x5e.txt - /d/x.txt"), kl::FileSetStore::Recorded);
    PairMenus menus(ini);

    menus.OpenFileMenu();
    EXPECT_EQ(ItemTexts(*menus.pairMenu),
              (QStringList{QStringLiteral("&1 /d/a&&b.txt - /d/c.txt"), QStringLiteral(u"&2 /d/議事録.txt - /d/x.txt")}));
    ASSERT_NE(menus.Item(32794), nullptr);
    ASSERT_NE(menus.Item(32795), nullptr);

    ASSERT_EQ(kl::StoreFileSet(ini, "/d/e - /d/f"), kl::FileSetStore::Recorded);
    menus.OpenFileMenu();
    EXPECT_EQ(ItemTexts(*menus.pairMenu).size(), 3);
    EXPECT_EQ(ItemTexts(*menus.pairMenu).last(), QStringLiteral("&3 /d/e - /d/f"));
}

TEST(FileSetMenu, ItemsPastTheCommandRangeAreDisabled)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    ASSERT_TRUE(kl::WriteIniString(ini, "FILESET", "COUNT", "23"));
    PairMenus menus(ini);
    menus.OpenFileMenu();
    ASSERT_EQ(menus.pairMenu->actions().size(), 23);
    EXPECT_TRUE(menus.Item(32814)->isEnabled());
    EXPECT_FALSE(menus.Item(32815)->isEnabled());
    EXPECT_FALSE(menus.fileSets.Choose(32815));

    ASSERT_TRUE(kl::WriteIniString(ini, "FILESET", "COUNT", "0"));
    menus.OpenFileMenu();
    EXPECT_TRUE(menus.pairMenu->actions().isEmpty());
}

TEST(FileSetMenu, ChoosingAnItemGivesThePairSplitAtExistingFiles)
{
    kltest::TempDir dir;
    const std::string ini = dir.file("kestrilane.ini");
    const std::string a = dir.write("版 - 1.txt", "a\n");
    const std::string b = dir.write("版 - 2.txt", "b\n");
    ScriptedPrompts user;
    ASSERT_EQ(RecordFileSet(nullptr, ini, LoadedDocument({a, b}), user.Prompts()), FileSetRecordResult::Recorded);

    PairMenus menus(ini);
    std::vector<kl::FilePair> chosen;
    QObject::connect(&menus.fileSets, &CFileSetMenu::fileSetChosen,
                     [&chosen](const kl::FilePair& pair) { chosen.push_back(pair); });
    menus.OpenFileMenu();
    ASSERT_NE(menus.Item(32794), nullptr);
    menus.Item(32794)->trigger();
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].docA, a);
    EXPECT_EQ(chosen[0].docB, b);
}

class FileSetOpenTest : public kltest::AppTest {
protected:
    FileSetOpenActions Actions(CKestrilaneApp& app)
    {
        return {[&app] { app.OnFileNew(); }, [&app](const std::string& path) { return app.OpenDocumentFile(path); }};
    }
};

TEST_F(FileSetOpenTest, OpensDocAThenDocBAndCompares)
{
    auto app = MakeApp();
    const std::string a = dir.write("旧 - 版.txt", "one\ntwo\n");
    const std::string b = dir.write("新 - 版.txt", "one\nthree\n");
    ASSERT_TRUE(app->OpenDocumentFile(kltest::kBefore));  // replaced by the pair

    ASSERT_TRUE(OpenFileSet({a, b}, Actions(*app)));
    const kl::TextDocument& doc = app->document()->textDoc;
    EXPECT_EQ(doc.filePaths, (std::vector<std::string>{a, b}));
    ASSERT_TRUE(WaitForRunEnd(*app));
    EXPECT_TRUE(app->document()->result()->IsComparison());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(FileSetOpenTest, AMissingDocAStopsBeforeDocB)
{
    auto app = MakeApp();
    const std::string b = dir.write("b.txt", "b\n");
    ASSERT_TRUE(app->OpenDocumentFile(kltest::kBefore));

    EXPECT_FALSE(OpenFileSet({dir.file("gone.txt"), b}, Actions(*app)));
    EXPECT_EQ(kl::LoadedTextCount(app->document()->textDoc), 0);
    EXPECT_EQ(errors.size(), 1);
}

}  // namespace
