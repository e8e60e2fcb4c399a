#pragma once
// The overview bar left of the two text views: a strip per text mapping the whole result,
// and a thumb marking the part the views show. This class holds the bar's state; the bands
// and their painting are built on it.
#include <QWidget>

class CKestrilaneDoc;

class COverView : public QWidget {
    Q_OBJECT

public:
    explicit COverView(CKestrilaneDoc& doc, QWidget* parent = nullptr);

    // The document changed: shows it anew.
    void OnUpdate();
    // Moves the thumb's top edge to y (client pixels) and repaints.
    void SetThumbTop(int top);

    int thumbTop = 0;     // y of the thumb's top edge
    int thumbHeight = 0;  // 0 while there is no result to map

private:
    CKestrilaneDoc& doc_;
};
