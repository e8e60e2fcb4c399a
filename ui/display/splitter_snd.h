#pragma once
// The lower part of the main window: three columns side by side, the overview bar, the
// left text view (DocA) and the right text view (DocB), with one vertical scroll bar for
// the row position they share and a horizontal bar under each text view, the two moving
// together as far as the wider text needs. The column widths
// are kept in the settings file between runs (Settings underWndWidth1).
#include <QWidget>
#include <string>

#include "engine/settings/window_state_settings.h"

class CKestrilaneDoc;
class CKestrilaneView;
class CKestrilane2View;
class COverView;
class QScrollBar;
class QSplitter;

class CSplitterSnd : public QWidget {
    Q_OBJECT

public:
    // Reads the column widths from iniPath (empty: the defaults 60, 300, 300).
    CSplitterSnd(CKestrilaneDoc& doc, const std::string& iniPath, QWidget* parent = nullptr);
    // Stores the current column widths.
    ~CSplitterSnd() override;

    COverView* overView() const { return overView_; }
    CKestrilaneView* leftView() const { return leftView_; }
    CKestrilane2View* rightView() const { return rightView_; }
    // The row position shared by the three columns.
    QScrollBar* rowScrollBar() const { return rowBar_; }
    QSplitter* columns() const { return columns_; }

    // The widths of the three columns; until the splitter is first shown, the widths read
    // from the settings file.
    kl::SplitterWidths columnWidths() const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Focus given to this window passes on, one arrival after the other, to the overview
    // bar, the left view, the right view and the file tree pane above (the first pane of
    // the splitter this window sits in), then round again.
    void focusInEvent(QFocusEvent* event) override;

private:
    void ApplyStoredWidths();
    void UpdateRowRange();
    QWidget* FileTreePane() const;

    std::string iniPath_;
    QSplitter* columns_ = nullptr;
    COverView* overView_ = nullptr;
    CKestrilaneView* leftView_ = nullptr;
    CKestrilane2View* rightView_ = nullptr;
    QScrollBar* rowBar_ = nullptr;
    kl::SplitterWidths storedWidths_;
    bool widthsApplied_ = false;  // the splitter has a real width and the stored widths are set
    int focusCounter_ = 0;
};
