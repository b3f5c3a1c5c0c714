// CPU of the whole program, window shown, while an MP3 plays on the silent output: the real main
// window and the real engine, the song queued as the playlist would hold it, and the Start button
// clicked as a person would.
//
//   bench_play_window [seconds]
//
// Prints "play_cpu_percent_window <share of one core> %" over `seconds` (default 20) of playback,
// measured after a two-second settle. Exit status 1 when the song does not start or stops early.
#include "Fixtures.h"
#include "app/Main.h"
#include "common/MainControls.h"
#include "playback/AudioEngine.h"
#include "playlist/PlaylistModel.h"
#include "widgets/PictureButton.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Run time of every thread of this process in seconds, from the scheduler's exact figures.
double cpuSeconds() {
    double totalNs = 0.0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (FILE* file = std::fopen(qPrintable(tasks.filePath(task + QStringLiteral("/schedstat"))), "r")) {
            unsigned long long runNs = 0;
            if (std::fscanf(file, "%llu", &runNs) == 1) {
                totalNs += static_cast<double>(runNs);
            }
            std::fclose(file);
        }
    }
    return totalNs / 1e9;
}

// Lets the event loop run, as the program does between events.
void runFor(double seconds) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000.0), &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 20.0;
    const double settleSeconds = 2.0;

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Bench song.mp3"));
    fixtures::Mp3Recipe recipe;
    recipe.seconds = seconds + settleSeconds + 10.0;
    if (!folder.isValid() || fixtures::writeMp3(path, recipe).bytes.isEmpty()) {
        std::fprintf(stderr, "bench_play_window: cannot write the test song\n");
        return 1;
    }

    AudioEngine::Options options;
    options.output = AudioEngine::Options::Output::Null;
    AudioEngine engine(options);
    Main window(folder.path(), engine);
    window.show();
    runFor(1.0); // shown, painted, the folder tree loaded

    window.playlist().append(QStringLiteral("Bench song"), path);
    window.playlist().refreshCount();
    window.controls().Knop[1]->click();
    runFor(settleSeconds);
    if (!engine.isPlaying()) {
        std::fprintf(stderr, "bench_play_window: the song did not start\n");
        return 1;
    }
    const double before = cpuSeconds();
    runFor(seconds);
    const double after = cpuSeconds();
    if (!engine.isPlaying() || window.playlist().rowCount() != 1) {
        std::fprintf(stderr, "bench_play_window: the song stopped before the end of the measurement\n");
        return 1;
    }
    std::printf("play_cpu_percent_window %.3f %%\n", (after - before) / seconds * 100.0);
    return 0;
}
