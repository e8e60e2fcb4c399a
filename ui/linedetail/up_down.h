#pragma once
// A pair of arrow buttons that step a position between 0 and a maximum: the upper arrow
// to the previous (smaller) number, the lower one to the next.
#include <QWidget>

class QToolButton;

class CUpDown : public QWidget {
    Q_OBJECT

public:
    explicit CUpDown(int maximum, QWidget* parent = nullptr);

    int position() const { return position_; }
    // Moves the position, clamped to the range, without announcing it.
    void setPosition(int position);
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    // The user stepped; position() holds the new value.
    void stepped();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Step(int delta);

    const int maximum_;
    int position_ = 0;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};
