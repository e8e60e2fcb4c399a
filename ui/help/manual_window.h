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

// Shows the manual in the program's manual window, in front, creating it on first use. The
// window stands on its own, goes away when closed, and goes with owner's top-level window.
void ShowManualWindow(QWidget* owner, const QString& manualPath);
