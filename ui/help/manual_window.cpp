#include "ui/help/manual_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

QString BundledManualPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("manual/index.html"));
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
    CManualWindow* window = keeper ? keeper->findChild<CManualWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) {
        window = new CManualWindow(keeper);
        if (!keeper)
            window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->ShowManual(manualPath);
    window->show();
    window->raise();
    window->activateWindow();
}
