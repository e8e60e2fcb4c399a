#pragma once
// The pane of the line difference window that shows the two lines: the progress text
// while their comparison runs, then the runs of both rows with their links. It scrolls
// horizontally when the frame gives it a width wider than it is.
#include <QAbstractScrollArea>
#include <QLine>
#include <QPixmap>
#include <QString>
#include <memory>
#include <vector>

#include "engine/linedetail/line_compare.h"
#include "engine/linedetail/line_pick.h"
#include "ui/display/row_layout.h"
#include "ui/linedetail/line_window_style.h"

class CTwinLineWnd : public QAbstractScrollArea {
    Q_OBJECT

public:
    enum class TwinState { Idle, Comparing, Done, Failed };

    explicit CTwinLineWnd(QWidget* parent = nullptr);

    void SetStyle(const LineWindowStyle& style);
    // The lines of the upper and the lower row (either may be no line).
    void SetLine(int which, kl::LineRef line);
    const kl::LineRef& line(int which) const { return which == 0 ? line1_ : line2_; }
    // The width line takes in a row of this pane, drawn as one run in the current style.
    int LineWidth(const kl::LineRef& line);

    // Nothing drawn, the previous result released.
    void ShowIdle();
    // The progress text of stage 0..5.
    void ShowStage(int stage);
    // The runs of a finished comparison of the two lines (none after a cancellation).
    void ShowResult(std::shared_ptr<const kl::LinePairResult> result);
    // Why the comparison could not be carried out, where the progress text stands.
    void ShowFailure(const QString& message);
    // Releases the lines and the result.
    void Clear();

    // Content width in pixels; 0 takes the horizontal scroll bar away.
    void SetScrollWidth(int width);
    bool hasScrollBar() const;

    TwinState twinState() const { return state_; }
    // The progress text, or the failure after ShowFailure().
    const QString& progressText() const { return progressText_; }
    int secondRowTop() const { return secondRowTop_; }
    // The link lines of the last paint, in pane coordinates.
    const std::vector<QLine>& links() const { return links_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    LineWindowStyle style_;
    kl::TextMeasure measure_;
    QPixmap newlineMark_;
    kl::LineRef line1_;
    kl::LineRef line2_;
    std::shared_ptr<const kl::LinePairResult> result_;
    TwinState state_ = TwinState::Idle;
    QString progressText_;
    int secondRowTop_ = 0;
    std::vector<QLine> links_;
};
