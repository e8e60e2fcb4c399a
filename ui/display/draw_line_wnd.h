#pragma once
// A line-number gutter for a box of text lines that is not a text view (the interactive
// merge dialog puts one beside its edit box): numbered cells from a first line number, one
// per row, then blank cells down to the bottom, all in the colours of the colour table and
// in the parent's font.
#include <QString>
#include <QWidget>

#include "ui/display/painters.h"

class CDrawLineWnd : public QWidget {
    Q_OBJECT

public:
    explicit CDrawLineWnd(QWidget* parent = nullptr);

    // Nothing is painted until the colour table is set. The table must outlive the gutter.
    void SetColors(const kl::ColorTable* colors);
    // firstLine is 0-based: the first cell shows firstLine + 1.
    void SetFirstLine(int firstLine);
    void SetRowHeight(int rowHeight);
    void SetRowCount(int rowCount);
    void SetColumnWidth(int columnWidth);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const kl::ColorTable* colors_ = nullptr;
    int firstLine_ = 0;
    int rowHeight_ = 12;
    int rowCount_ = 0;
    int columnWidth_ = 0;
    kl::TextMeasure measure_;
    QString scratch_;
};
