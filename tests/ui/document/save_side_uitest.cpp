// Saving edited texts from the document: the questions, what reaches the file, and the
// "*" that marks an edited side.
#include <QFile>
#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "ui/document/kestrilane_doc.h"
#include "ui/document/user_prompts.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Answer = UserPrompts::SaveAnswer;

class SaveSideTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        prompts.askSaveEdited = [this](QWidget*, const QString& question) {
            questions << question;
            return answers.empty() ? Answer::Cancel : answers.takeFirst();
        };
        prompts.askSaveAsUtf8 = [this](QWidget*, const QString& question) {
            questions << question;
            return answerUtf8;
        };
        prompts.askOverwriteChanged = [this](QWidget*, const QString& question) {
            questions << question;
            return false;
        };
        prompts.chooseSavePath = [this](QWidget*, const QString&, const QString&, kl::FileEncoding& encoding) {
            encoding = chosenEncoding;
            return chosenPath;
        };
        prompts.showSaveError = [this](QWidget*, const QString& message) { errors << message; };
        DocumentContext context;
        context.prompts = &prompts;
        doc = std::make_unique<CKestrilaneDoc>(context, std::string());
    }

    std::string Load(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir.write(name, bytes);
        EXPECT_TRUE(doc->OnOpenDocument(path)) << path;
        return path;
    }
    // What the editor does: a new version of the text, in its encoding, with its file's origin.
    void Edit(int side, std::string_view line)
    {
        const auto k = static_cast<std::size_t>(side);
        auto text = std::make_shared<kl::Text>(kl::TextFromLines({line}));
        text->encoding = doc->textDoc.texts[k]->encoding;
        text->origin = doc->textDoc.texts[k]->origin;
        doc->textDoc.texts[k] = text;
        doc->textDoc.edited[k] = true;
    }

    kltest::TempDir dir;
    UserPrompts prompts;
    std::unique_ptr<CKestrilaneDoc> doc;
    QList<Answer> answers;
    bool answerUtf8 = false;
    QString chosenPath;
    kl::FileEncoding chosenEncoding = kl::FileEncoding::Utf8;
    QStringList questions, errors;
};

TEST_F(SaveSideTest, EachEditedSideIsAskedAboutAndTheAnswerDecides)
{
    const struct {
        const char* name;
        QList<Answer> answers;
        bool goOn;
        QStringList asked;
        std::string fileA, fileB;
    } cases[] = {
        {"yes, yes", {Answer::Yes, Answer::Yes}, true, {QStringLiteral(u"DocAの変更を保存しますか？"), QStringLiteral(u"DocBの変更を保存しますか？")},
         "a2\n", "b2\n"},
        {"no, yes", {Answer::No, Answer::Yes}, true, {QStringLiteral(u"DocAの変更を保存しますか？"), QStringLiteral(u"DocBの変更を保存しますか？")},
         "a\n", "b2\n"},
        {"cancel", {Answer::Cancel}, false, {QStringLiteral(u"DocAの変更を保存しますか？")}, "a\n", "b\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc->OnNewDocument();
        const std::string a = Load("a.txt", "a\n");
        const std::string b = Load("b.txt", "b\n");
        Edit(0, "a2\n");
        Edit(1, "b2\n");
        answers = c.answers;
        questions.clear();

        EXPECT_EQ(doc->AskSaveEdited(), c.goOn);
        EXPECT_EQ(questions, c.asked);
        EXPECT_EQ(kltest::ReadFileBytes(a), c.fileA);
        EXPECT_EQ(kltest::ReadFileBytes(b), c.fileB);
    }
}

TEST_F(SaveSideTest, AFailedSaveStopsTheAction)
{
    const std::string a = Load("a.txt", "a\n");
    fs::permissions(a, fs::perms(0444));
    Edit(0, "a2\n");
    answers = {Answer::Yes};

    EXPECT_FALSE(doc->AskSaveEdited());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral(u"読み取り専用"))) << errors[0].toStdString();
    EXPECT_TRUE(doc->edited(0));
}

TEST_F(SaveSideTest, TheStarMarksAnEditedSideUntilItIsSaved)
{
    Load("a.txt", "a\n");
    Load("b.txt", "b\n");
    QStringList titles;
    QObject::connect(doc.get(), &CKestrilaneDoc::titleChanged, [&](const QString& title) { titles << title; });
    Edit(1, "b2\n");
    EXPECT_EQ(doc->Title(), QStringLiteral(u"a.txt-b.txt*"));

    EXPECT_TRUE(doc->SaveSide(1));
    EXPECT_EQ(titles, QStringList{QStringLiteral(u"a.txt-b.txt")});
    EXPECT_FALSE(doc->edited(1));
}

TEST_F(SaveSideTest, ACharacterShiftJisCannotHoldAsksForUtf8)
{
    const std::string a = Load("a.txt", "\x8a\xbf\n");
    Edit(0, "\x8a\xbf\n");
    auto utf8 = std::make_shared<kl::Text>(kl::TextFromLines({"\xe6\xbc\xa2\xf0\x9f\x98\x80\n"}));
    utf8->encoding = kl::TextEncoding::Utf8;
    utf8->origin = doc->textDoc.texts[0]->origin;
    doc->textDoc.texts[0] = utf8;

    answerUtf8 = false;  // go back
    EXPECT_FALSE(doc->SaveSide(0));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QStringLiteral(u"1行目の「😀」(U+1F600)はShift_JISでは保存できません。")))
        << questions[0].toStdString();
    EXPECT_EQ(kltest::ReadFileBytes(a), "\x8a\xbf\n");

    answerUtf8 = true;
    EXPECT_TRUE(doc->SaveSide(0));
    EXPECT_EQ(kltest::ReadFileBytes(a), "\xe6\xbc\xa2\xf0\x9f\x98\x80\n");
    EXPECT_FALSE(doc->edited(0));
}

TEST_F(SaveSideTest, SaveAsNamesTheNewFileInTheTitle)
{
    Load("a.txt", "a\n");
    Load("b.txt", "b\n");
    Edit(0, "a2\n");
    chosenPath = QString::fromStdString(dir.file("c.txt"));
    chosenEncoding = kl::FileEncoding::Utf16Be;

    EXPECT_TRUE(doc->SaveSideAs(0));
    EXPECT_EQ(kltest::ReadFileBytes(dir.file("c.txt")), std::string("\xfe\xff\0a\0" "2\0\n", 8));
    EXPECT_EQ(doc->Title(), QStringLiteral(u"c.txt-b.txt"));
    chosenPath.clear();  // cancelled: nothing happens
    EXPECT_FALSE(doc->SaveSideAs(1));
}

}  // namespace
