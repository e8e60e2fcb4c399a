#pragma once
// The line difference window: a small window over a text view that compares the picked
// line (upper row) with its partner of the other text (lower row) character by character.
// Two steppers on its left edge pick another line of either text, and キャンセル stops a
// comparison that takes long. Each run has its own worker and stop token; a new run first
// stops and joins the one before it, and the window shows only what a run hands back.
#include <QWidget>
#include <memory>

#include "engine/linedetail/line_pick.h"
#include "ui/linedetail/line_compare_worker.h"
#include "ui/linedetail/line_window_style.h"

class CTwinLineWnd;
class CUpDown;
class QPushButton;

class CLineDiffFrm : public QWidget {
    Q_OBJECT

public:
    // The steppers reach the 0-based line numbers 0 to this.
    static constexpr int kLastSteppedLine = 20000;

    // focusView gets the keyboard focus back when Esc hides the window.
    CLineDiffFrm(QWidget* owner, QWidget* focusView);
    ~CLineDiffFrm() override;

    void SetStyle(const LineWindowStyle& style);
    // The texts the steppers pick lines from: line 1's and the other one.
    void SetLineLists(std::shared_ptr<const kl::Text> lines1, std::shared_ptr<const kl::Text> lines2);
    void SetLine(int which, kl::LineRef line);
    // Compares the two lines anew; side is line 1's side. False, and nothing runs, when
    // either line is missing or the thread could not be started.
    bool StartLineCompare(int side, bool updateUpDowns);
    // Content width of the twin pane; 0 for no horizontal scroll bar.
    void SetScrollWidth(int width);
    // Stops the run, releases the lines and hides the window.
    void Clear();

    bool comparing() const { return worker_ != nullptr; }
    int side() const { return side_; }
    CTwinLineWnd* twin() const { return twin_; }
    CUpDown* upDown(int which) const { return which == 0 ? upDown1_ : upDown2_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    // Given to every run; tests hold a run at a stage with it.
    LineCompareWorker::StageHook stageHook;

signals:
    // A run has ended and its result (or why it failed) is shown.
    void compareFinished();

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnStepped(int which);
    void OnCancel();
    void OnFinished(std::shared_ptr<const kl::LinePairResult> result, const QString& failure);
    void StopWorker();
    void EndRun();
    void CopyLines() const;
    void LayOut();

    QWidget* focusView_;
    CTwinLineWnd* twin_ = nullptr;
    CUpDown* upDown1_ = nullptr;
    CUpDown* upDown2_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    LineWindowStyle style_;
    std::shared_ptr<const kl::Text> lines1_;
    std::shared_ptr<const kl::Text> lines2_;
    int side_ = 0;
    LineCompareWorker* worker_ = nullptr;  // the running comparison, a child of this window
};
