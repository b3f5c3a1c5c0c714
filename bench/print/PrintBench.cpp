// Timing program for printing the playlist.
//   bench_print <pdf file>   prints "name value unit" lines:
//     print_full_playlist_ms     PrintPlaylist with numbers for 32,767 entries into a PDF file
//                                (median of 5 runs after one unmeasured run)
//     print_one_entry_ms         the same for a playlist of one entry (the fixed cost of a print)
#include "support/FakePlayer.h"

#include "app/Main.h"
#include "playlist/PlaylistModel.h"
#include "playlist/PrintController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double medianPrintMs(Main& main, const QString& pdf) {
    std::vector<double> ms;
    for (int run = 0; run <= 5; ++run) {
        QFile::remove(pdf);
        QElapsedTimer timer;
        timer.start();
        if (!main.printController().PrintPlaylist(true, pdf)) {
            std::fprintf(stderr, "printing failed\n");
            std::exit(1);
        }
        if (run > 0) {
            ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_print <pdf file>\n");
        return 2;
    }
    const QString pdf = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir folder;
    FakePlayer player;
    Main main(folder.path(), player);

    main.playlist().append(QStringLiteral("Liedje 1"), QStringLiteral("/muziek/Liedje 1.mp3"));
    const double one = medianPrintMs(main, pdf);

    QVector<PlaylistEntry> entries;
    for (int i = 2; i <= PlaylistModel::kMaxEntries; ++i) {
        entries.append({QStringLiteral("Liedje %1").arg(i), QStringLiteral("/muziek/Liedje %1.mp3").arg(i)});
    }
    main.playlist().appendMany(entries);
    const double full = medianPrintMs(main, pdf);

    std::printf("print_full_playlist_ms %.1f ms\n", full);
    std::printf("print_one_entry_ms %.1f ms\n", one);
    return 0;
}
