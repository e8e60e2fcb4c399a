#include "ui/platform/dropped_files.h"

#include <QMimeData>
#include <QUrl>

QStringList DroppedLocalFiles(const QMimeData* mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}
