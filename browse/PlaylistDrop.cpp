#include "browse/PlaylistDrop.h"

#include "browse/DroppedSongs.h"
#include "playlist/PlaylistModel.h"
#include "widgets/Algemeen.h"
#include "widgets/MessageKit.h"

#include <QDropEvent>
#include <QListView>
#include <QMimeData>

PlaylistDrop::PlaylistDrop(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {
    QListView* list = m_ctx.c.List2;
    // A drag goes to the innermost widget under the pointer that accepts drops: the viewport.
    list->setAcceptDrops(true);
    list->viewport()->setAcceptDrops(true);
    list->setDropIndicatorShown(false);
    m_viewport = list->viewport();
    m_viewport->installEventFilter(this);
}

bool PlaylistDrop::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_viewport) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData()->hasUrls()) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData()->hasUrls()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // The file manager waits for the drop to end: the playlist-full message comes after.
        const QList<QUrl> urls = drop->mimeData()->urls();
        QMetaObject::invokeMethod(
            this, [this, urls] { List2_OLEDragDrop(urls); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void PlaylistDrop::List2_OLEDragDrop(const QList<QUrl>& urls) {
    const browse::DroppedCollection collected = browse::collectDropped(urls);
    if (collected.skipped > 0) {
        widgets::SetInfoLine(m_ctx.c.InfoLabel, browse::droppedSkippedText(collected.skipped));
    }
    appendSongs(m_ctx, collected.entries);
}

int PlaylistDrop::appendSongs(const MainContext& ctx, const QVector<PlaylistEntry>& entries) {
    const int added = ctx.playlist.appendMany(entries);
    ctx.playlist.refreshCount();
    if (added < entries.size()) {
        widgets::warn(ctx.c.Main, PlaylistModel::fullText(added, static_cast<int>(entries.size())));
    }
    return added;
}
