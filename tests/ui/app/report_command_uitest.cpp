// ファイル > レポートを保存: the window writes the report the console writes and offers it to
// the browser; without a comparison, or when the file cannot be written, it says so.
#include <QProcess>
#include <gtest/gtest.h>

#include <regex>

#include "tests/ui/app/app_fixture.h"
#include "ui/app/command_ids.h"

namespace {

class ReportCommand : public kltest::AppTest {
protected:
    void Start(const std::vector<std::string>& files)
    {
        app = MakeApp();
        ASSERT_TRUE(app->InitInstance(Words(files)));
        ASSERT_TRUE(WaitForRunEnd(*app));
        ReportPrompts& prompts = app->mainFrame()->reportPrompts;
        prompts.chooseRows = [this](QWidget*) {
            ++questions;
            return rows;
        };
        prompts.chooseSavePath = [this](QWidget*) { return savePath; };
        prompts.showError = [this](QWidget*, const QString& message) { messages << message; };
        prompts.askOpen = [this](QWidget*, const QString&) {
            ++questions;
            return true;
        };
        prompts.openInBrowser = [this](const QString& path) { opened << path; };
    }

    std::unique_ptr<CKestrilaneApp> app;
    std::optional<int> rows = 2;
    QString savePath;
    QStringList messages;
    QStringList opened;
    int questions = 0;
};

// The rows of a report, from the first table body on, without the column titles (the header
// has the date, the fonts and the paths as given; section heights follow the font).
std::string Rows(const std::string& page)
{
    const std::size_t body = page.find("<tbody>");
    if (body == std::string::npos)
        return {};
    return std::regex_replace(page.substr(body), std::regex("<thead class=p>.*?</thead>| style=\"[^\"]*\""), "");
}

TEST_F(ReportCommand, SavesWhatTheConsoleWritesAndOffersTheBrowser)
{
    Start({kltest::kBefore, kltest::kAfter});
    savePath = QString::fromStdString(dir.file("report.html"));
    Trigger(*app, cmd::ID_FILE_SAVE_REPORT);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(opened, QStringList{savePath});

    QProcess cli;
    cli.start(QStringLiteral(KESTRILANE_CLI), {QStringLiteral("compare"), QStringLiteral("--html"),
                                               QStringLiteral("--context=2"), QString::fromStdString(kltest::kBefore),
                                               QString::fromStdString(kltest::kAfter)});
    ASSERT_TRUE(cli.waitForFinished(30000));
    const std::string expected = Rows(cli.readAllStandardOutput().toStdString());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Rows(kltest::ReadFileBytes(savePath.toStdString())), expected);
}

TEST_F(ReportCommand, WithoutAComparisonAsksNothing)
{
    Start({});
    Trigger(*app, cmd::ID_FILE_SAVE_REPORT);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(questions, 0);
}

TEST_F(ReportCommand, UnwritableFileIsReportedAndNotOpened)
{
    Start({kltest::kBefore, kltest::kAfter});
    savePath = QString::fromStdString(dir.file("missing-folder/report.html"));
    Trigger(*app, cmd::ID_FILE_SAVE_REPORT);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(savePath));
    EXPECT_TRUE(opened.isEmpty());
}

}  // namespace
