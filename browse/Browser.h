#pragma once

#include "common/MainContext.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

class FolderTreeModel;
struct PlaylistEntry;

// The navigation pane: Drive1 (mounted volumes), Dir1 (folder tree of the chosen volume), the
// hidden File1 and the song list List1 with its counter, and the three ways of moving songs into
// the playlist. GUI thread only.
//
// Every Dir1_Change names the folder of List1's songs in ProgramState::songFolder.
// The folder tree's model is FolderTreeModel; the adding handlers are in SongAdding.cpp.
class Browser : public QObject {
    Q_OBJECT
public:
    Browser(const MainContext& ctx, QObject* parent = nullptr);
    ~Browser() override;

    // The folder Dir1 shows.
    QString dir1Path() const { return m_dirPath; }
    // The folder of List1's songs: the one the last Dir1_Change read (empty before the first).
    QString file1Path() const { return m_ctx.state.songFolder; }
    // Opens `folder` as the user would in Dir1: Drive1 and the tree follow it, then Dir1_Change
    // runs. The path is cleaned of "." / ".." parts and a trailing "/".
    void setDir1Path(const QString& folder);

public Q_SLOTS:
    void Drive1_Change(int index);
    void Dir1_Change();
    void List1_DblClick();
    void SelectieKnop_Click();
    void SelectieAllKnop_Click();

protected:
    // Drive1 is filled anew each time its list is opened, so a volume mounted meanwhile shows.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fills Drive1 with the mounted volumes, keeping the chosen one (also when it is gone).
    void fillDrives();
    // The Drive1 root whose volume holds `path` (the longest root that is a prefix of it).
    QString volumeRootOf(const QString& path) const;
    void showVolumeInTree(const QString& root);
    void showFolderInTree(const QString& folder);
    void dir1Opened(const QModelIndex& index);
    // Gives the tree its folder pictures, after its first frame.
    void lookUpPictures();
    // Keeps the current folder in view while the tree loads its parents, until the user
    // scrolls, clicks or types in the tree.
    void followCurrentFolder();
    // Appends the given rows of List1 (ascending) to the playlist; returns how many fitted.
    int appendRows(const QList<int>& rows);
    struct Added {
        int added = 0;
        int wanted = 0;
    };
    // Appends the selected songs in List1's order and deselects what was appended.
    Added addSelected();
    QVector<PlaylistEntry> entriesFor(const QList<int>& rows) const;
    void tellPlaylistFull(int added, int wanted);
    void showMessage(const QString& title, const QString& text, bool warning);

    MainContext m_ctx;
    // What eventFilter watches, at these positions; an entry turns null when its object goes.
    enum { kFilteredDrives, kFilteredTree, kFilteredViewport, kFilteredScrollBar };
    QList<QPointer<QObject>> m_filtered;
    FolderTreeModel* m_dirModel = nullptr;
    QString m_dirPath;
    QString m_volumeRoot;
    QHash<QString, QString> m_lastFolderOfVolume;
    QString m_followFolder; // see followCurrentFolder()
    bool m_settingTree = false;
    bool m_treePainted = false;
};
