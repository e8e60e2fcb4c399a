#pragma once
// The 行へ移動 dialog: a line number of DocA or DocB.
#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QSpinBox;

struct GoToLineRequest {
    int side = 0;  // 0 DocA, 1 DocB
    int line = 1;  // 1-based
};

class GoToLineDlg : public QDialog {
    Q_OBJECT

public:
    // lineCounts: the lines of DocA and DocB; side: the side offered first.
    GoToLineDlg(std::array<int, 2> lineCounts, int side, QWidget* parent = nullptr);

    GoToLineRequest request() const;

    QSpinBox* lineBox() const { return line_; }
    QComboBox* sideBox() const { return side_; }

    void accept() override;

private:
    void ShowRange();

    std::array<int, 2> counts_;
    QComboBox* side_ = nullptr;
    QSpinBox* line_ = nullptr;
    QLabel* range_ = nullptr;
};

// The message for a line number beyond the end of a text, or an empty text when it is there.
QString LineOutOfRangeMessage(int side, int line, int lineCount);
