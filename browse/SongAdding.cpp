// Browser, the second half: moving songs of List1 into the playlist (List1_DblClick and the
// two copy buttons).
#include "browse/Browser.h"

#include "browse/SongNames.h"
#include "playlist/PlaylistModel.h"
#include "widgets/MessageKit.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QListView>
#include <QStringListModel>

#include <algorithm>

QVector<PlaylistEntry> Browser::entriesFor(const QList<int>& rows) const {
    const QStringList names = m_ctx.c.List1Model->stringList();
    QVector<PlaylistEntry> entries;
    entries.reserve(rows.size());
    for (const int row : rows) {
        const QString& name = names.at(row);
        entries.append(
            PlaylistEntry{browse::displayName(name), browse::fullPath(m_ctx.state.songFolder, name)});
    }
    return entries;
}

int Browser::appendRows(const QList<int>& rows) {
    return m_ctx.playlist.appendMany(entriesFor(rows));
}

Browser::Added Browser::addSelected() {
    QItemSelectionModel* selection = m_ctx.c.List1->selectionModel();
    QList<int> rows;
    for (const QModelIndex& index : selection->selectedRows()) {
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    const int added = appendRows(rows);
    if (added == rows.size()) {
        selection->clearSelection();
    } else {
        // What did not fit stays selected.
        QItemSelection done;
        for (int i = 0; i < added; ++i) {
            const QModelIndex index = m_ctx.c.List1Model->index(rows.at(i));
            done.select(index, index);
        }
        selection->select(done, QItemSelectionModel::Deselect);
    }
    m_ctx.playlist.refreshCount();
    return Added{added, static_cast<int>(rows.size())};
}

void Browser::List1_DblClick() {
    if (m_ctx.c.List1Model->rowCount() == 0) {
        return;
    }
    const Added result = addSelected();
    if (result.added < result.wanted) {
        tellPlaylistFull(result.added, result.wanted);
    }
}

void Browser::SelectieKnop_Click() {
    if (m_ctx.c.List1Model->rowCount() == 0) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Added result = addSelected();
    QApplication::restoreOverrideCursor();
    if (result.added < result.wanted) {
        tellPlaylistFull(result.added, result.wanted);
    }
}

void Browser::SelectieAllKnop_Click() {
    const int rowCount = m_ctx.c.List1Model->rowCount();
    if (rowCount == 0) {
        return;
    }
    QList<int> rows(rowCount);
    for (int i = 0; i < rowCount; ++i) {
        rows[i] = i;
    }
    const int added = appendRows(rows);
    m_ctx.playlist.refreshCount();
    if (added < rowCount) {
        tellPlaylistFull(added, rowCount);
    }
}

void Browser::tellPlaylistFull(int added, int wanted) {
    widgets::warn(m_ctx.c.Main, PlaylistModel::fullText(added, wanted));
}
