#pragma once
// The line information window: what the last comparison found for one line, its text, the
// size of the common block it belongs to and the lines of the other text confirmed to
// match it. A read-only report over a text view; it holds the line and the result it
// reports on, so loading other files cannot take them away while it is open.
#include <QAbstractScrollArea>
#include <QString>
#include <memory>
#include <vector>

#include "engine/compare/compare_result.h"
#include "engine/linedetail/line_pick.h"
#include "ui/linedetail/line_window_style.h"

class CLineInfoFrm : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CLineInfoFrm(QWidget* owner);

    void SetStyle(const LineWindowStyle& style);
    // The line to report on (side is its side) and the result that reports.
    void SetLine(int side, kl::LineRef line, std::shared_ptr<const kl::CompareResult> result);
    // Content width; 0 takes the horizontal scroll bar away.
    void SetScrollWidth(int width);
    bool hasScrollBar() const;
    // Releases the line and the result and hides the window.
    void Clear();

    const kl::LineRef& line() const { return line_; }
    const std::shared_ptr<const kl::CompareResult>& result() const { return result_; }
    // The width the report needs, from the window's left edge.
    int ContentWidth() const;
    // The distance between two rows of the report.
    int RowStep() const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // One row of the report, in content coordinates (y is the top of the text).
    struct ReportRow {
        int x = 0;
        int y = 0;
        QString text;
    };
    std::vector<ReportRow> Report() const;
    // Where the line's text starts, after its label.
    int TextLeft() const;

    LineWindowStyle style_;
    int side_ = 0;
    kl::LineRef line_;
    std::shared_ptr<const kl::CompareResult> result_;
};
