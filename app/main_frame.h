#pragma once
// The program's main window: title, File menu, status bar, dropped files and, for now, a
// read-only summary of the loaded texts in place of the text views.
#include <QMainWindow>

class CKestrilaneApp;
class CKestrilaneDoc;
class QDragEnterEvent;
class QDropEvent;
class QPlainTextEdit;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame(CKestrilaneApp& app, CKestrilaneDoc& doc);

    // Places the window at its stored rectangle (30 pixels further right after the switch
    // /o) and shows it in its stored show state.
    void ShowPlaced();

    // Current difference position of the navigation; 0 after loading DocB or clearing.
    int diffPosition = 0;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateMenus();
    void UpdateTitle(const QString& documentTitle);
    void ShowSummary();
    void OpenDroppedFiles(const QStringList& paths);

    CKestrilaneApp& app_;
    CKestrilaneDoc& doc_;
    QPlainTextEdit* summary_ = nullptr;
};
