#include "playlist/PlaylistController.h"

#include "playlist/Loadform.h"
#include "playlist/PlaylistFile.h"
#include "playlist/PlaylistModel.h"
#include "widgets/MessageKit.h"
#include "widgets/PictureButton.h"

#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>

#include <algorithm>

PlaylistController::PlaylistController(const MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx) {
    MainControls& c = m_ctx.c;
    for (QListView* list : {c.List2, c.BackList}) {
        list->setUniformItemSizes(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    c.List2->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int i = 1; i <= 2; ++i) {
        connect(c.KnopR[i], &QAbstractButton::clicked, this, [this, i] { KnopR_Click(i); });
    }
    connect(&m_ctx.playlist, &PlaylistModel::countTextChanged, c.Label10, &QLabel::setText);
    c.Label10->setText(m_ctx.playlist.countText());
}

void PlaylistController::KnopR_Click(int index) {
    if (m_ctx.state.playback.isPlaying()) {
        return;
    }
    PlaylistModel& playlist = m_ctx.playlist;
    if (index == 1) {
        if (playlist.isEmpty()) {
            return;
        }
        int first = -1;
        for (const QModelIndex& selected : m_ctx.c.List2->selectionModel()->selectedIndexes()) {
            if (first < 0 || selected.row() < first) {
                first = selected.row();
            }
        }
        if (first < 0) {
            return;
        }
        playlist.removeAt(first);
        // A single-selection list selects the next entry by itself; a second click must not
        // remove a song the user never chose.
        m_ctx.c.List2->clearSelection();
        m_ctx.c.List2->selectionModel()->clearCurrentIndex();
        playlist.refreshCount();
    } else if (index == 2) {
        if (playlist.isEmpty()) {
            return;
        }
        if (!widgets::askYesNo(m_ctx.c.Main, QStringLiteral(" Delete All"),
                               QStringLiteral("Wilt u de complete lijst leegmaken?"))) {
            return;
        }
        playlist.clear();
        playlist.refreshCount();
    }
}

void PlaylistController::savePlaylistCommand() {
    if (m_ctx.playlist.isEmpty()) {
        return;
    }
    QInputDialog dialog(m_ctx.c.Main);
    dialog.setObjectName(QStringLiteral("NaamPlaylist"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(QStringLiteral(" Naam Playlist"));
    dialog.setLabelText(QStringLiteral("Geef een naam voor deze playlist..."));
    dialog.setTextValue(QString());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QString name = dialog.textValue();
    if (name.trimmed().isEmpty()) {
        return;
    }
    SavePlaylist(name);
}

bool PlaylistController::SavePlaylist(const QString& name) {
    QString problem = playlist::playlistNameProblem(name);
    if (problem.isEmpty()) {
        problem = playlist::playlistEntriesProblem(m_ctx.playlist.entries());
    }
    if (!problem.isEmpty()) {
        widgets::warn(m_ctx.c.Main, problem);
        return false;
    }
    const QString& folder = m_ctx.state.programFolder;
    if (playlist::fileExists(playlist::playlistFilePath(folder, name)) &&
        !widgets::askYesNo(m_ctx.c.Main, QStringLiteral(" File exist"),
                           QStringLiteral("Naam '") + name +
                               QStringLiteral("' bestaat al, overschrijven?"))) {
        return false;
    }
    QString error;
    if (!playlist::savePlaylist(folder, name, m_ctx.playlist.entries(), &error)) {
        widgets::warn(m_ctx.c.Main, error);
        return false;
    }
    return true;
}

void PlaylistController::LoadPlaylist(const QString& name) {
    playlist::LoadedPlaylist loaded = playlist::loadPlaylist(m_ctx.state.programFolder, name);
    if (!loaded.opened) {
        // Read before clearing: a file another program removed after the load window listed it
        // must not cost the user the playlist they have.
        widgets::warn(m_ctx.c.Main,
                      QStringLiteral("De playlist '%1' kan niet worden geladen (%2). De huidige "
                                     "playlist is niet veranderd.")
                          .arg(name, loaded.error),
                      QStringLiteral(" Load Playlist"));
        return;
    }
    PlaylistModel& playlist = m_ctx.playlist;
    playlist.clear();
    playlist.replaceAll(std::move(loaded.parsed.entries));
    playlist.refreshCount();
    if (loaded.parsed.dropped > 0) {
        widgets::warn(m_ctx.c.Main,
                      QStringLiteral("De playlist '%1' bevat meer songs dan er passen: de eerste %2 zijn "
                                     "geladen, %3 niet.")
                          .arg(name)
                          .arg(PlaylistModel::kMaxEntries)
                          .arg(loaded.parsed.dropped));
    }
}

void PlaylistController::showLoadform() {
    Loadform form(m_ctx.state, *this, m_ctx.c.Main);
    form.exec();
}
