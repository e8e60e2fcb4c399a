// The newline rebuild of the document: the report, the user's answer, and what reaches the
// files (byte for byte, or nothing when a file may not or should not be written).
#include <QString>
#include <QStringList>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>

#include "ui/document/kestrilane_doc.h"
#include "ui/document/user_prompts.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const QString kNoProblem = QStringLiteral(u"LFのみとCRの連続をチェックしましたが問題ありませんでした。");

QString Report(const QString& documents)
{
    return documents + QStringLiteral(u"にLFのみまたはCRの連続の矛盾点を発見し修正しました。\r\n"
                                      u"修正ファイルを記録しますか？（元に戻す場合はいいえを押して再読込してください。）");
}

class NewlineRebuildTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        prompts.showRebuildInformation = [this](QWidget*, const QString& message) { information << message; };
        prompts.askRecordRepaired = [this](QWidget*, const QString& report) {
            reports << report;
            return answerRecord;
        };
        prompts.askOverwriteChanged = [this](QWidget*, const QString& question) {
            overwriteQuestions << question;
            return answerOverwrite;
        };
        prompts.showRebuildError = [this](QWidget*, const QString& message) { errors << message; };
        prompts.showOpenError = [this](QWidget*, const QString& message) { errors << message; };
        DocumentContext context;
        context.prompts = &prompts;
        doc = std::make_unique<CKestrilaneDoc>(context, std::string());
        QObject::connect(doc.get(), &CKestrilaneDoc::documentChanged, [this] { ++changes; });
    }

    std::string Load(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir.write(name, bytes);
        EXPECT_TRUE(doc->OnOpenDocument(path)) << path;
        changes = 0;
        return path;
    }

    std::string Text(int k) const { return std::string(doc->textDoc.texts[k]->bytes()); }

    static QString Named(const QString& message, const std::string& path)
    {
        return message.arg(QString::fromStdString(path));
    }

    kltest::TempDir dir;
    UserPrompts prompts;
    std::unique_ptr<CKestrilaneDoc> doc;
    bool answerRecord = true;
    bool answerOverwrite = false;
    QStringList information, reports, overwriteQuestions, errors;
    int changes = 0;
};

TEST_F(NewlineRebuildTest, YesWritesTheRepairedFilesAndASecondRunFindsNothing)
{
    const std::string a = Load("a.txt", "one\ntwo\r\r\nthree\rlast");
    const std::string b = Load("b.txt", "x\r\ny\n");
    fs::permissions(a, fs::perms(0604));

    doc->RebuildNewlines();
    EXPECT_EQ(reports, QStringList{Report(QStringLiteral(u"文書AとB両方"))});
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(kltest::ReadFileBytes(a), "one\r\ntwo\r\n\r\nthree\r\nlast");
    EXPECT_EQ(kltest::ReadFileBytes(b), "x\r\ny\r\n");
    EXPECT_EQ(fs::status(a).permissions() & fs::perms::all, fs::perms(0604));
    EXPECT_EQ(changes, 1);

    doc->RebuildNewlines();
    EXPECT_EQ(reports.size(), 1);
    EXPECT_EQ(information, QStringList{kNoProblem});
}

TEST_F(NewlineRebuildTest, TheReportNamesTheRepairedDocuments)
{
    const struct {
        const char* name;
        const char* a;
        const char* b;
        QString report;  // empty: the no-problem message
    } cases[] = {
        {"DocA", "a\n", "b\r\n", Report(QStringLiteral(u"文書A"))},
        {"DocB", "a\r\n", "b\r", Report(QStringLiteral(u"文書B"))},
        {"none", "a\r\n", "b", QString()},
    };
    answerRecord = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc->OnNewDocument();
        reports.clear();
        information.clear();
        Load(std::string(c.name) + "-a.txt", c.a);
        Load(std::string(c.name) + "-b.txt", c.b);
        doc->RebuildNewlines();
        EXPECT_EQ(reports, c.report.isEmpty() ? QStringList() : QStringList{c.report});
        EXPECT_EQ(information, c.report.isEmpty() ? QStringList{kNoProblem} : QStringList());
    }
}

TEST_F(NewlineRebuildTest, NothingLoadedIsNoProblem)
{
    doc->RebuildNewlines();
    EXPECT_EQ(information, QStringList{kNoProblem});
    EXPECT_EQ(changes, 0);
}

TEST_F(NewlineRebuildTest, NoKeepsTheRepairsInMemoryOnly)
{
    const std::string a = Load("a.txt", "a\nb\n");
    doc->SetResult(std::make_shared<kl::CompareResult>());
    const auto result = doc->result();
    const auto before = doc->textDoc.texts[0];
    answerRecord = false;

    doc->RebuildNewlines();
    EXPECT_EQ(kltest::ReadFileBytes(a), "a\nb\n");
    EXPECT_EQ(Text(0), "a\r\nb\r\n");
    EXPECT_EQ(before->bytes(), "a\nb\n");  // whoever holds the old text still reads it
    EXPECT_EQ(doc->result(), result);
    EXPECT_GE(changes, 1);
}

TEST_F(NewlineRebuildTest, AFileChangedOnDiskIsOnlyOverwrittenWhenTheUserSaysSo)
{
    for (const bool overwrite : {false, true}) {
        SCOPED_TRACE(overwrite ? "Yes" : "No");
        doc->OnNewDocument();
        overwriteQuestions.clear();
        const std::string a = Load(overwrite ? "yes.txt" : "no.txt", "a\n");
        std::ofstream(a, std::ios::app) << "added elsewhere\n";
        answerOverwrite = overwrite;

        doc->RebuildNewlines();
        ASSERT_EQ(overwriteQuestions.size(), 1);
        EXPECT_TRUE(overwriteQuestions[0].contains(QString::fromStdString(a))) << overwriteQuestions[0].toStdString();
        EXPECT_EQ(kltest::ReadFileBytes(a), overwrite ? "a\r\n" : "a\nadded elsewhere\n");
        EXPECT_EQ(Text(0), "a\r\n");
    }
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(NewlineRebuildTest, AConvertedTextIsNotWritten)
{
    doc->docSettings.eucChg = 1;
    const std::string euc = "\xc6\xfc\xcb\xdc\n";
    const std::string a = Load("euc.txt", euc);

    doc->RebuildNewlines();
    EXPECT_EQ(errors, QStringList{Named(QStringLiteral(u"ファイル「%1」はEUC-JPから変換して読み込んだため記録しませんでした。"
                                                       u"記録すると文字コードが変わってしまいます。"),
                                        a)});
    EXPECT_EQ(kltest::ReadFileBytes(a), euc);
    EXPECT_EQ(Text(0), "\x93\xfa\x96\x7b\r\n");
}

TEST_F(NewlineRebuildTest, AFileThatCannotBeWrittenKeepsItsBytes)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    const std::string readOnly = Load("read-only.txt", "a\n");
    fs::permissions(readOnly, fs::perms(0444));
    fs::create_directories(dir.file("locked"));
    const std::string locked = Load("locked/b.txt", "b\r");
    fs::permissions(dir.file("locked"), fs::perms(0555));

    doc->RebuildNewlines();
    fs::permissions(dir.file("locked"), fs::perms(0755));
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors[0], Named(QStringLiteral(u"ファイル「%1」は読み取り専用のため記録しませんでした。"), readOnly));
    EXPECT_TRUE(errors[1].startsWith(Named(QStringLiteral(u"ファイル「%1」に書き込めませんでした。"), locked)))
        << errors[1].toStdString();
    EXPECT_EQ(kltest::ReadFileBytes(readOnly), "a\n");
    EXPECT_EQ(kltest::ReadFileBytes(locked), "b\r");
    EXPECT_EQ(Text(0), "a\r\n");
    EXPECT_EQ(Text(1), "b\r\n");
}

}  // namespace
