#include "songinfo/SongInfoController.h"

#include "playback/MediaPlayer.h"
#include "songinfo/Mp3info.h"
#include "songinfo/PlayTime.h"
#include "widgets/Algemeen.h"
#include "widgets/PictureButton.h"

#include <QFileInfo>
#include <QItemSelectionModel>
#include <QListView>
#include <QStringListModel>

#include <algorithm>

SongInfoController::SongInfoController(const MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx) {
    for (int i = 1; i <= 2; ++i) {
        if (PictureButton* b = m_ctx.c.KnopL[i]) {
            connect(b, &QAbstractButton::clicked, this, [this, i] { KnopL_Click(i); });
        }
    }
}

QString SongInfoController::selectedSongPath() const {
    const MainControls& c = m_ctx.c;
    if (!c.List1 || !c.List1Model || !c.List1->selectionModel()) {
        return {};
    }
    // The entry with the focus when it is selected, else the first selected one.
    const QItemSelectionModel* selection = c.List1->selectionModel();
    int row = -1;
    const QModelIndex current = c.List1->currentIndex();
    if (current.isValid() && selection->isSelected(current)) {
        row = current.row();
    } else {
        QModelIndexList rows = selection->selectedIndexes();
        if (!rows.isEmpty()) {
            row = std::min_element(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) {
                      return a.row() < b.row();
                  })->row();
        }
    }
    if (row < 0 || row >= c.List1Model->rowCount()) {
        return {};
    }
    const QString entry = c.List1Model->index(row, 0).data().toString();
    return m_ctx.state.songFolder + QLatin1Char('/') + entry;
}

void SongInfoController::KnopL_Click(int index) {
    if (index != 1 && index != 2) {
        return;
    }
    if (!m_ctx.c.List1Model || m_ctx.c.List1Model->rowCount() == 0 || m_ctx.state.playback.isPlaying()) {
        return;
    }
    const QString path = selectedSongPath();
    if (path.isNull()) {
        widgets::SetInfoLine(m_ctx.c.InfoLabel, QStringLiteral("Selecteer eerst een song in de lijst."));
        return;
    }
    if (index == 1) {
        showPlayTime(path);
    } else if (path.right(3).toLower() == QLatin1String("mp3")) {
        songinfo::ShowMp3Info(m_ctx.c.Main, m_ctx.player, path);
    }
}

void SongInfoController::showPlayTime(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        widgets::SetInfoLine(m_ctx.c.InfoLabel, songinfo::missingSongText(info.fileName()));
        return;
    }
    MediaPlayer& player = m_ctx.player;
    player.setAutoStart(false);
    const bool loaded = player.setFileName(path);
    const std::optional<double> duration = loaded ? player.duration() : std::nullopt;
    const qint64 bytes = info.size();
    widgets::SetInfoLine(m_ctx.c.InfoLabel, duration ? songinfo::playTimeAndSizeText(*duration, bytes)
                                                     : songinfo::unreadableSongText(bytes));
}
