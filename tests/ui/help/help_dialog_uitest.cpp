// The help dialog: the manual beside the program, opened by the desktop or else shown in a
// window of the program, a missing manual reported; the three links and their colours, and
// a link the desktop cannot open reported with its address.
#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <memory>
#include <gtest/gtest.h>
#include <string>

#include "tests/support/temp_dir.h"
#include "ui/help/help_dialog.h"
#include "ui/help/link_edit.h"
#include "ui/help/manual_window.h"

namespace {

QList<CManualWindow*> ManualWindows()
{
    QList<CManualWindow*> windows;
    for (QWidget* shown : QApplication::topLevelWidgets()) {
        if (auto* manual = qobject_cast<CManualWindow*>(shown))
            windows << manual;
    }
    return windows;
}

const QString kManualSource = QStringLiteral(KESTRILANE_SOURCE_DIR "/docs/manual/index.html");

class HelpDialogTest : public ::testing::Test {
protected:
    HelpPrompts Recording()
    {
        HelpPrompts prompts;
        prompts.openUrl = [this](const QUrl& url) {
            opened << url;
            return openerWorks;
        };
        prompts.showManual = [this](QWidget* parent, const QString& path) {
            manualParents << parent;
            shownManuals << path;
        };
        prompts.showFailure = [this](QWidget*, const QString& message) { failures << message; };
        return prompts;
    }

    QString WriteManual() const
    {
        std::filesystem::create_directory(dir.file("manual"));
        return QString::fromStdString(dir.write("manual/index.html", "<html><body>manual</body></html>"));
    }

    static void Click(QWidget* widget)
    {
        const QPointF inside(2, 2);
        QMouseEvent press(QEvent::MouseButtonPress, inside, widget->mapToGlobal(inside), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }

    kltest::TempDir dir;
    QWidget owner;
    bool openerWorks = true;
    QList<QUrl> opened;
    QList<QWidget*> manualParents;
    QStringList shownManuals, failures;
};

TEST_F(HelpDialogTest, TheHelpButtonOpensTheManualWithTheDesktop)
{
    CHelpDialog dialog(&owner, Recording());
    const QString manual = WriteManual();
    dialog.setManualPath(manual);
    dialog.helpButton()->click();
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(manual)});
    EXPECT_TRUE(shownManuals.isEmpty());
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(HelpDialogTest, WithoutABrowserTheManualIsShownByTheProgramAndOutlivesTheDialog)
{
    openerWorks = false;
    const QString manual = WriteManual();
    {
        CHelpDialog dialog(&owner, Recording());
        dialog.setManualPath(manual);
        dialog.helpButton()->click();
    }
    EXPECT_EQ(shownManuals, QStringList{manual});
    EXPECT_EQ(manualParents, QList<QWidget*>{&owner});
    EXPECT_TRUE(failures.isEmpty());
}

// Shown by the help dialog, which is modal while it runs, the manual window is not blocked
// by it and stands in front.
TEST_F(HelpDialogTest, TheProgramsManualWindowCanBeUsedWhileTheHelpDialogRuns)
{
    HelpPrompts prompts = Recording();
    prompts.openUrl = [](const QUrl&) { return false; };
    prompts.showManual = [](QWidget* parent, const QString& path) { ShowManualWindow(parent, path); };
    owner.show();
    CHelpDialog dialog(&owner, prompts);
    dialog.setManualPath(WriteManual());

    struct BlockedWindows : QObject {
        QList<QObject*> blocked;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::WindowBlocked)
                blocked << watched;
            return false;
        }
    } watcher;
    qApp->installEventFilter(&watcher);
    QList<CManualWindow*> windows;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.helpButton()->click();
        windows = ManualWindows();
        dialog.accept();
    });
    dialog.exec();
    qApp->removeEventFilter(&watcher);
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows[0]->isVisible());
    EXPECT_FALSE(watcher.blocked.contains(windows[0]));
    delete windows[0];
}

TEST_F(HelpDialogTest, AMissingManualIsReportedNotPassedOn)
{
    CHelpDialog dialog(&owner, Recording());
    const QString missing = QString::fromStdString(dir.file("manual/index.html"));
    dialog.setManualPath(missing);
    dialog.helpButton()->click();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(shownManuals.isEmpty());
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral(u"ヘルプファイルが見つかりません。"))) << failures[0].toStdString();
    EXPECT_TRUE(failures[0].contains(QDir::toNativeSeparators(missing)));
}

TEST_F(HelpDialogTest, TheManualIsLookedForBesideTheProgramNotInTheCurrentDirectory)
{
    WriteManual();
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.path())));
    CHelpDialog dialog(&owner, Recording());
    dialog.helpButton()->click();
    QDir::setCurrent(previous);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(failures.size(), 1);
    EXPECT_EQ(QFileInfo(dialog.manualPath()).absolutePath(),
              QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("manual")));
}

TEST_F(HelpDialogTest, EachLinkOpensItsOwnLiveTarget)
{
    CHelpDialog dialog(&owner, Recording());
    QStringList targets;
    for (CLinkEdit* link : {dialog.homePageLink(), dialog.programPageLink(), dialog.mailLink()}) {
        const QUrl url(link->target());
        EXPECT_TRUE(url.isValid()) << link->target().toStdString();
        if (link == dialog.mailLink()) {
            EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
            EXPECT_TRUE(url.path().contains(QLatin1Char('@')));
        } else {
            EXPECT_EQ(url.scheme(), QStringLiteral("https"));
            EXPECT_FALSE(url.host().isEmpty());
        }
        Click(link);
        targets << link->target();
    }
    EXPECT_EQ(targets.removeDuplicates(), 0);
    ASSERT_EQ(opened.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(opened[i], QUrl(targets[i]));
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(HelpDialogTest, ALinkTheDesktopCannotOpenIsReportedWithItsAddress)
{
    openerWorks = false;
    CHelpDialog dialog(&owner, Recording());
    Click(dialog.programPageLink());
    Click(dialog.mailLink());
    ASSERT_EQ(failures.size(), 2);
    EXPECT_TRUE(failures[0].contains(CHelpDialog::kProgramPage)) << failures[0].toStdString();
    EXPECT_TRUE(failures[0].contains(QStringLiteral(u"ブラウザ")));
    EXPECT_TRUE(failures[1].contains(QUrl(CHelpDialog::kAuthorMail).path())) << failures[1].toStdString();
    EXPECT_FALSE(failures[1].contains(QStringLiteral("mailto:")));
    EXPECT_TRUE(failures[1].contains(QStringLiteral(u"メール")));
}

TEST_F(HelpDialogTest, ALinkTurnsPinkUnderTheMouseAndNeverTakesTheFocus)
{
    CHelpDialog dialog(&owner, Recording());
    CLinkEdit* link = dialog.homePageLink();
    EXPECT_EQ(link->textColor(), QColor(20, 60, 232));
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->focusPolicy(), Qt::NoFocus);

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), link->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(link, &enter);
    EXPECT_EQ(link->textColor(), QColor(244, 90, 245));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_EQ(link->textColor(), QColor(20, 60, 232));
}

TEST_F(HelpDialogTest, TheProgramsManualWindowShowsTheManualIsReusedAndGoesWithItsOwner)
{
    auto owner = std::make_unique<QWidget>();
    ShowManualWindow(owner.get(), kManualSource);
    const QList<CManualWindow*> windows = ManualWindows();
    ASSERT_EQ(windows.size(), 1);
    CManualWindow* window = windows[0];
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->browser()->toPlainText().isEmpty());
    EXPECT_EQ(window->windowTitle(), window->browser()->documentTitle());
    ShowManualWindow(owner.get(), kManualSource);
    EXPECT_EQ(ManualWindows(), QList<CManualWindow*>{window});
    owner.reset();
    EXPECT_TRUE(ManualWindows().isEmpty());
}

}  // namespace
