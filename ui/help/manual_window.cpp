#include "ui/help/manual_window.h"

#include <QApplication>
#include <QScreen>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

QString ManualPathIn(const QString& programDir)
{
    const QDir dir(programDir);
    const QString beside = dir.filePath(QStringLiteral("manual/index.html"));
    if (QFileInfo(beside).isFile())
        return beside;
    const QString installed =
        QDir::cleanPath(dir.filePath(QStringLiteral("../share/kestrilane/manual/index.html")));
    return QFileInfo(installed).isFile() ? installed : beside;
}

QString BundledManualPath()
{
    return ManualPathIn(QCoreApplication::applicationDirPath());
}

CManualWindow::CManualWindow(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("manualWindow"));
    setWindowTitle(QStringLiteral(u"kestrilaneの使い方"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(760, 640);
}

void CManualWindow::ShowManual(const QString& manualPath)
{
    browser_->setSource(QUrl::fromLocalFile(manualPath));
    const QString title = browser_->documentTitle();
    if (!title.isEmpty())
        setWindowTitle(title);
}

void ShowManualWindow(QWidget* owner, const QString& manualPath)
{
    QWidget* keeper = owner ? owner->window() : nullptr;
    CManualWindow* window = nullptr;
    for (QWidget* shown : QApplication::topLevelWidgets()) {
        if (auto* manual = qobject_cast<CManualWindow*>(shown))
            window = manual;
    }
    if (!window) {
        // A window of its own, like a help program: a dialog that is modal over the main
        // window (the help dialog that opens it) does not block it, and the program still
        // ends with its main window; it goes with the window that keeps it.
        window = new CManualWindow;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setAttribute(Qt::WA_QuitOnClose, false);
        if (keeper)
            QObject::connect(keeper, &QObject::destroyed, window, [window] { delete window; });
    }
    window->ShowManual(manualPath);
    // Centred on the screen of its owner, never taller or wider than the screen leaves room for.
    if (const QScreen* screen = keeper ? keeper->screen() : QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        window->resize(window->size().boundedTo(available.size() - QSize(40, 80)));
        window->move(available.center() - QPoint(window->width() / 2, window->height() / 2));
    }
    window->show();
    window->raise();
    window->activateWindow();
}
