// Drops of local files: taken only when the drag carries local files, handed on only after
// the drop has finished.
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

#include "ui/platform/file_drop_target.h"

namespace {

TEST(FileDropTarget, TakesLocalFilesAndHandsThemOnAfterTheDrop)
{
    const QUrl local = QUrl::fromLocalFile(QStringLiteral("/tmp/a.txt"));
    const QUrl web(QStringLiteral("https://example.com/b.txt"));
    const struct {
        QList<QUrl> urls;
        QStringList handedOn;  // empty: the drag is refused
    } cases[] = {
        {{local, web, QUrl::fromLocalFile(QStringLiteral("/tmp/c.txt"))},
         {QStringLiteral("/tmp/a.txt"), QStringLiteral("/tmp/c.txt")}},
        {{web}, {}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        QWidget widget;
        FileDropTarget drops;
        drops.Watch(&widget);
        QStringList handedOn;
        QObject::connect(&drops, &FileDropTarget::filesDropped, [&handedOn](const QStringList& files) { handedOn = files; });

        QMimeData mime;
        mime.setText(QStringLiteral("text"));
        mime.setUrls(c.urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &enter);
        EXPECT_EQ(enter.isAccepted(), !c.handedOn.isEmpty()) << c.urls.size();
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &drop);
        EXPECT_EQ(drop.isAccepted(), !c.handedOn.isEmpty());
        EXPECT_TRUE(handedOn.isEmpty()) << "handed on during the drop";
        QApplication::processEvents();
        EXPECT_EQ(handedOn, c.handedOn);
    }
}

}  // namespace
