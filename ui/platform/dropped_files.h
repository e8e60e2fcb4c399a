#pragma once
#include <QStringList>

class QMimeData;

// The local files of a drag and drop, in the order they were dropped.
QStringList DroppedLocalFiles(const QMimeData* mime);
