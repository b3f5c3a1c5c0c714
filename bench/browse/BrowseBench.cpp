// Timing program for the navigation pane and the playlist files.
//   bench_browse generate <folder>            writes 32,767 empty song files (and some others)
//   bench_browse measure <folder> <program>   prints "name value unit" lines:
//     folder_fill_ms        opening the folder until List1 and TellerLabel are filled and drawn
//     add_all_ms            SelectieAllKnop with all 32,767 songs, until List2 is drawn
//     playlist_save_ms      storing the 32,767-entry playlist
//     playlist_load_ms      loading it again, until List2 is drawn
//     rss_mb_full_playlist  resident memory of the program holding them
// Each time is the median of several runs after one unmeasured run.
#include "support/FakePlayer.h"

#include "app/Main.h"
#include "browse/Browser.h"
#include "playlist/PlaylistController.h"
#include "playlist/PlaylistFile.h"
#include "playlist/PlaylistModel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QStringListModel>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSongs = PlaylistModel::kMaxEntries;
constexpr int kRuns = 7;

int generate(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    const char* artists[] = {"Abba", "bach", "Céline", "de Jong", "Zappa", "ørsted", "Mozart", "the Who"};
    for (int i = 0; i < kSongs + 500; ++i) {
        QString name;
        if (i < kSongs) {
            const char* ext = (i % 5 == 0) ? ".MID" : (i % 3 == 0 ? ".Mp3" : ".mp3");
            name = QStringLiteral("%1 - Nummer %2%3").arg(QString::fromUtf8(artists[i % 8])).arg(i).arg(ext);
        } else {
            name = QStringLiteral("cover %1.jpg").arg(i); // not songs: the filter must skip them
        }
        const QByteArray path = QFile::encodeName(folder + u'/' + name);
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        if (fd < 0) {
            std::perror(path.constData());
            return 1;
        }
        ::close(fd);
    }
    return 0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Runs `setup` (not timed), then times `work` plus the event processing and painting it causes.
double timeIt(QWidget& window, const std::function<void()>& setup, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int run = 0; run <= kRuns; ++run) {
        setup();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        work();
        QApplication::processEvents();
        window.repaint();
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (run > 0) {
            ms.push_back(elapsed);
        }
    }
    return median(ms);
}

double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return -1;
}

int measure(const QString& songs, const QString& programFolder) {
    FakePlayer player;
    Main main(programFolder, player);
    main.show();
    QApplication::processEvents();
    const MainControls& c = main.controls();
    Browser& browser = main.browser();
    PlaylistModel& playlist = main.playlist();
    PlaylistController& playlists = main.playlistController();
    const QString small = QDir(programFolder).filePath(QStringLiteral("klein"));
    QDir().mkpath(small);

    const double fill = timeIt(
        main, [&] { browser.setDir1Path(small); }, [&] { browser.setDir1Path(songs); });
    if (c.List1Model->rowCount() != kSongs ||
        c.TellerLabel->text() != QStringLiteral("32767 Songs gevonden...")) {
        std::fprintf(stderr, "folder fill wrong: %d songs, \"%s\"\n", c.List1Model->rowCount(),
                     qPrintable(c.TellerLabel->text()));
        return 1;
    }
    std::printf("folder_fill_ms %.2f ms\n", fill);

    const double addAll = timeIt(
        main, [&] { playlist.clear(); }, [&] { browser.SelectieAllKnop_Click(); });
    if (playlist.count() != kSongs) {
        std::fprintf(stderr, "add all wrong: %d entries\n", playlist.count());
        return 1;
    }
    std::printf("add_all_ms %.2f ms\n", addAll);

    const QString name = QStringLiteral("bench");
    const QString file = playlist::playlistFilePath(programFolder, name);
    bool saved = true;
    const double save = timeIt(
        main, [&] { QFile::remove(file); }, [&] { saved = playlists.SavePlaylist(name) && saved; });
    if (!saved) {
        std::fprintf(stderr, "save failed\n");
        return 1;
    }
    std::printf("playlist_save_ms %.2f ms\n", save);

    const double load = timeIt(
        main, [&] { playlist.clear(); }, [&] { playlists.LoadPlaylist(name); });
    if (playlist.count() != kSongs || c.Label10->text() != QStringLiteral("32767 Songs in de playlist")) {
        std::fprintf(stderr, "load wrong: %d entries\n", playlist.count());
        return 1;
    }
    std::printf("playlist_load_ms %.2f ms\n", load);
    std::printf("rss_mb_full_playlist %.1f MB\n", residentMb());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "generate") == 0) {
        return generate(QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 4 && qstrcmp(argv[1], "measure") == 0) {
        QApplication app(argc, argv);
        return measure(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    std::fprintf(stderr, "usage: bench_browse generate <folder> | measure <folder> <program folder>\n");
    return 2;
}
