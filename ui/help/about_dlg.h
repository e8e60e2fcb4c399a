#pragma once
// The about box "Kestrilaneのバージョン情報": the program icon, name and version, the maker
// and OK.
#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// The version number the build was made with, for example "0.1.0".
QString ProgramVersion();

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* iconLabel() const { return icon_; }
    QLabel* versionLabel() const { return version_; }
    QLabel* makerLabel() const { return maker_; }
    QPushButton* okButton() const { return ok_; }

private:
    QLabel* icon_;
    QLabel* version_;
    QLabel* maker_;
    QPushButton* ok_;
};

// Command "Kestrilane のバージョン情報(&A)...": the about box, modal over parent.
void ShowAboutBox(QWidget* parent);
