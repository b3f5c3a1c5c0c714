#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QSocketNotifier;

// Tells which watched folders gained or lost an entry that is, or may have been, a visible
// subfolder: a name that does not start with "." and can be decoded. Files that appear are
// passed over after one stat of that entry (it could be a link to a folder); files that go are
// passed on with isFolder false, since only the receiver knows whether one was a link to a
// folder. Uses the kernel's inotify; lives and signals in the thread that created it.
class FolderWatcher : public QObject {
    Q_OBJECT
public:
    explicit FolderWatcher(QObject* parent = nullptr);
    ~FolderWatcher() override;

    // Starts watching `folder` (an absolute path); true when it is watched. False when the
    // folder is gone or the system allows no more watches.
    bool watch(const QString& folder);
    void unwatch(const QString& folder);
    QStringList watchedFolders() const { return m_watchOfFolder.keys(); }

Q_SIGNALS:
    // `name` entered or left `folder`. An empty name: events were lost, anything in `folder`
    // may have changed.
    void entryChanged(const QString& folder, const QString& name, bool isFolder);

private:
    void readEvents();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    // A folder reached by two paths (a link) has one watch.
    QHash<int, QStringList> m_foldersOfWatch;
    QHash<QString, int> m_watchOfFolder;
};
