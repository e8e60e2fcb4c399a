#pragma once
// The manual that comes with the program: where it is, and a window of the program that
// shows it when the desktop has no browser to open it.
#include <QString>
#include <QWidget>

class QTextBrowser;

// The manual of a program in programDir: manual/index.html beside it (the build tree), or
// else ../share/kestrilane/manual/index.html (an installed program). When neither exists,
// the one beside the program, so that a message can name where it was expected.
QString ManualPathIn(const QString& programDir);

// ManualPathIn() for the program's own directory, never the current one, so the manual is
// found whichever directory the program was started from.
QString BundledManualPath();

class CManualWindow : public QWidget {
    Q_OBJECT

public:
    explicit CManualWindow(QWidget* owner = nullptr);

    void ShowManual(const QString& manualPath);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

// Shows the manual in the window kept by owner's top-level window, creating it on first use;
// without an owner the window is on its own and goes away when closed.
void ShowManualWindow(QWidget* owner, const QString& manualPath);
