#pragma once
// What the line windows take from the document and the view that opens them: the left
// view's font, the colours and the metrics of the text views.
#include <QColor>
#include <QFont>
#include <QString>
#include <array>

class CKestrilaneDoc;

// The line windows are tool windows of the owner's main window, so that the window manager
// keeps them above it, and have no system menu, so no close box: Esc hides them.
inline constexpr Qt::WindowFlags kLineWindowFlags =
    Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint;

struct LineWindowStyle {
    QFont font;
    QColor upperDifference;  // DOC1
    QColor lowerDifference;  // DOC2
    QColor common;           // SAME
    QColor window;
    int tabPixels = 1;       // at least 1, whatever the settings say
    int fontSize = 12;       // FONTSIZE size as a positive pixel count
    int fontHeight = 12;     // FONTSIZE height as a positive pixel count; 0 when unset
    std::array<QString, 2> fileNames;  // DocA, DocB
};

// The style of the document's windows now; tabPixels is the views' tab cell.
LineWindowStyle LineWindowStyleOf(const CKestrilaneDoc& doc, int tabPixels);

// "A" for DocA, "B" for DocB.
QString SideName(int side);
