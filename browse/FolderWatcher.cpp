#include "browse/FolderWatcher.h"

#include "common/FileList.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cstring>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Entries coming and going; changes of content or attributes never change the tree.
constexpr uint32_t kEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;

// After a batch of events the watcher sleeps this long, letting the kernel queue what follows:
// a folder where a program makes and removes files all the time then wakes the program a few
// times a second instead of at every file (the kernel keeps up to 16384 events; beyond that the
// watcher is told it lost some, and everything watched is read again).
constexpr int kQuietMs = 400;

} // namespace

FolderWatcher::FolderWatcher(QObject* parent) : QObject(parent) {
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatcher::readEvents);
    }
}

FolderWatcher::~FolderWatcher() {
    if (m_fd >= 0) {
        delete m_notifier;
        ::close(m_fd);
    }
}

bool FolderWatcher::watch(const QString& folder) {
    if (m_watchOfFolder.contains(folder)) {
        return true;
    }
    if (m_fd < 0) {
        return false;
    }
    const int wd = inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), kEvents);
    if (wd < 0) {
        return false;
    }
    m_watchOfFolder.insert(folder, wd);
    m_foldersOfWatch[wd].append(folder);
    return true;
}

void FolderWatcher::unwatch(const QString& folder) {
    const auto found = m_watchOfFolder.constFind(folder);
    if (found == m_watchOfFolder.cend()) {
        return;
    }
    const int wd = found.value();
    m_watchOfFolder.erase(found);
    QStringList& folders = m_foldersOfWatch[wd];
    folders.removeOne(folder);
    if (folders.isEmpty()) {
        m_foldersOfWatch.remove(wd);
        inotify_rm_watch(m_fd, wd);
    }
}

void FolderWatcher::readEvents() {
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got <= 0) {
            // Nothing more for now (EAGAIN), or the descriptor failed.
            m_notifier->setEnabled(false);
            QTimer::singleShot(kQuietMs, m_notifier, [notifier = m_notifier] { notifier->setEnabled(true); });
            return;
        }
        for (ssize_t at = 0; at < got;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* rawName = buffer + at + sizeof event;
            at += static_cast<ssize_t>(sizeof event + event.len);

            if (event.mask & IN_Q_OVERFLOW) {
                for (auto it = m_watchOfFolder.cbegin(); it != m_watchOfFolder.cend(); ++it) {
                    Q_EMIT entryChanged(it.key(), QString(), true);
                }
                continue;
            }
            const QStringList folders = m_foldersOfWatch.value(event.wd);
            if (event.mask & IN_IGNORED) { // the folder is gone, and its watch with it
                for (const QString& folder : folders) {
                    m_watchOfFolder.remove(folder);
                }
                m_foldersOfWatch.remove(event.wd);
                continue;
            }
            const qsizetype length = event.len ? static_cast<qsizetype>(::strnlen(rawName, event.len)) : 0;
            QString name;
            if (folders.isEmpty() || length == 0 || rawName[0] == '.' ||
                !common::decodeName(rawName, length, name)) {
                continue;
            }
            bool isFolder = event.mask & IN_ISDIR;
            if (!isFolder && (event.mask & (IN_CREATE | IN_MOVED_TO))) {
                struct stat st {};
                const QByteArray path =
                    QFile::encodeName(folders.first()) + '/' + QByteArray(rawName, length);
                if (::stat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
                    continue; // a new file: never shown
                }
                isFolder = true;
            }
            for (const QString& folder : folders) {
                Q_EMIT entryChanged(folder, name, isFolder);
            }
        }
    }
}
