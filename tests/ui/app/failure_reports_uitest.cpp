// What the window tells when a comparison run throws or a file is awkward to read: a failed
// run is reported and leaves the shown result, an open error names a path that is no UTF-8
// readably, and a file that changed while it was read is noted in the status bar.
#include <QProgressBar>
#include <QStatusBar>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <new>
#include <stdexcept>

#include "app_fixture.h"
#include "ui/app/command_ids.h"

namespace {


class FailureReports : public kltest::AppTest {};

TEST_F(FailureReports, AThrowingRunIsReportedAndTheWindowGoesOn)
{
    struct Case {
        const char* name;
        std::function<void()> fail;
        QString message;
    };
    const Case cases[] = {
        {"bad_alloc", [] { throw std::bad_alloc(); }, QStringLiteral(u"メモリが足りないため、比較できませんでした。")},
        {"length_error", [] { throw std::length_error("vector"); },
         QStringLiteral(u"テキストが大きすぎるため、比較できませんでした。")},
        {"runtime_error", [] { throw std::runtime_error("x"); },
         QStringLiteral(u"予期しないエラーのため、比較できませんでした。")},
        {"not an exception class", [] { throw 42; }, QStringLiteral(u"予期しないエラーのため、比較できませんでした。")},
    };
    auto app = MakeApp(kltest::kNoAutoCompare);
    ASSERT_TRUE(app->InitInstance(Words({kltest::kBefore, kltest::kAfter})));
    CMainFrame& frame = *app->mainFrame();
    QStringList shownErrors;
    frame.showError = [&shownErrors](const QString& message) { shownErrors << message; };
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(WaitForRunEnd(*app));
    const auto shown = app->document()->result();

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shownErrors.clear();
        frame.compareProgressHook = [fail = c.fail](int value, const std::stop_token&) {
            if (value >= 10)
                fail();
        };
        Trigger(*app, cmd::ID_COMPARE_DETAILED);
        ASSERT_TRUE(WaitForRunEnd(*app));
        EXPECT_EQ(shownErrors, QStringList{c.message});
        EXPECT_EQ(app->document()->result(), shown);
        EXPECT_FALSE(frame.progressBar()->isVisibleTo(&frame));
        EXPECT_TRUE(frame.commandAction(cmd::ID_COMPARE)->isEnabled());
    }

    // The next run that does not throw shows its result.
    frame.compareProgressHook = {};
    Trigger(*app, cmd::ID_COMPARE);
    ASSERT_TRUE(WaitForRunEnd(*app));
    EXPECT_NE(app->document()->result(), shown);
    EXPECT_TRUE(app->document()->result()->IsComparison());
}

TEST_F(FailureReports, AnOpenErrorShowsBytesThatAreNoUtf8AsEscapes)
{
    auto app = MakeApp(kltest::kNoAutoCompare);
    ASSERT_TRUE(app->InitInstance(Words({})));
    const std::string path = dir.file("\x83\x65.txt");
    EXPECT_FALSE(app->document()->OnOpenDocument(path));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QString::fromStdString("ファイル「" + dir.path() + "/\\x83e.txt」を開けません。")))
        << errors[0].toStdString();
}

// A file name that is no UTF-8 reaches the loader byte for byte from the command line.
TEST_F(FailureReports, AFileNameThatIsNoUtf8OpensFromTheCommandLine)
{
    const std::string path = dir.write("\x83\x65.txt", "x\n");
    auto app = MakeApp(kltest::kNoAutoCompare);
    ASSERT_TRUE(app->InitInstance(Words({path})));
    EXPECT_TRUE(errors.isEmpty()) << errors.value(0).toStdString();
    EXPECT_EQ(app->document()->textDoc.filePaths, std::vector<std::string>{path});
}

// A regular file of size 0 with content (a file of the system's information) is what a file
// that grew after it was opened looks like to the reader.
TEST_F(FailureReports, AFileThatChangedWhileItWasReadIsNotedInTheStatusBar)
{
    const std::string path = "/proc/version";
    struct stat status{};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size != 0)
        GTEST_SKIP() << "no " << path << " of size 0";
    auto app = MakeApp(kltest::kNoAutoCompare);
    ASSERT_TRUE(app->InitInstance(Words({})));
    ASSERT_TRUE(app->document()->OnOpenDocument(path));
    EXPECT_EQ(app->mainFrame()->statusBar()->currentMessage(),
              QStringLiteral(u"ファイル「/proc/version」は読み込み中に変更されました（再読み込みで今の内容を読み込めます）"));
    EXPECT_TRUE(errors.isEmpty());
}

}  // namespace
