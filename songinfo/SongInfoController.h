#pragma once

#include "common/MainContext.h"

#include <QObject>
#include <QString>

// The two buttons beside the folder's song list: KnopL 1 shows the selected song's playing
// time and size in the info line, KnopL 2 its ID3v1 information box. Both are inert while a
// song plays or is paused.
class SongInfoController : public QObject {
    Q_OBJECT
public:
    SongInfoController(const MainContext& ctx, QObject* parent = nullptr);

    // The full path of the song selected in List1 (folder + "/" + entry), or a null QString when
    // no entry is selected.
    QString selectedSongPath() const;

public Q_SLOTS:
    void KnopL_Click(int index);

private:
    void showPlayTime(const QString& path);

    MainContext m_ctx;
};
