#pragma once
// Drops of local files on the main window and its panes. The widgets it watches take a drag
// that carries local files; the files of a drop are handed on by a queued call, once the
// drop is over: opening may ask questions, and no message box may appear while the drag
// still runs.
#include <QObject>
#include <QStringList>

class QMimeData;
class QWidget;

class FileDropTarget : public QObject {
    Q_OBJECT

public:
    explicit FileDropTarget(QObject* parent = nullptr);

    // Makes widget take drags of local files through this object.
    void Watch(QWidget* widget);

    // The local files of a drag, in the order they were dropped.
    static QStringList LocalFiles(const QMimeData* mime);

signals:
    // The local files of a drop, delivered after the drop has finished; target is the
    // watched widget the files were dropped on.
    void filesDropped(const QStringList& paths, QObject* target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
