// Times Timer1_Timer while the real engine plays an example MP3 at real-time pace on its silent
// output, and, as the anchor, Qt's delivery of one timer event to an empty slot.
// Prints "name value unit" lines.

#include "app/Main.h"
#include "common/MainControls.h"
#include "playback/AudioEngine.h"
#include "playback/PlayerController.h"
#include "playlist/PlaylistModel.h"
#include "widgets/PictureButton.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// Mean time per timeout of a zero-interval timer whose slot does nothing.
double qtTimerEventMicros(int events) {
    QTimer t;
    t.setInterval(0);
    int seen = 0;
    QObject::connect(&t, &QTimer::timeout, [&] {
        if (++seen == events) {
            t.stop();
            QCoreApplication::exit(0);
        }
    });
    const auto start = Clock::now();
    t.start();
    QCoreApplication::exec();
    return micros(Clock::now() - start) / events;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QString song = QStringLiteral(TUNARA_EXAMPLES_DIR "/Ode an die Freude.mp3");
    if (!QFileInfo::exists(song)) {
        std::fprintf(stderr, "playback bench: %s is missing\n", qPrintable(song));
        return 1;
    }
    QTemporaryDir dir;
    AudioEngine::Options options;
    options.output = AudioEngine::Options::Output::Null;
    AudioEngine engine(options);
    Main main(dir.path(), engine);
    main.show();
    main.playlist().append(QStringLiteral("Ode an die Freude"), song);
    main.playlist().refreshCount();
    main.controls().Knop[1]->click();
    if (!main.state().playback.isPlaying()) {
        std::fprintf(stderr, "playback bench: the song did not start\n");
        return 1;
    }
    // The ticks are driven here, back to back, while the song plays on in real time.
    main.controls().Timer1->stop();
    PlayerController& player = main.playerController();

    for (int i = 0; i < 2000; ++i) {
        player.Timer1_Timer();
    }
    constexpr int kTicks = 50000;
    std::vector<double> each(kTicks);
    const auto start = Clock::now();
    for (int i = 0; i < kTicks; ++i) {
        const auto t0 = Clock::now();
        player.Timer1_Timer();
        each[static_cast<size_t>(i)] = micros(Clock::now() - t0);
    }
    const double mean = micros(Clock::now() - start) / kTicks;
    std::sort(each.begin(), each.end());
    const double p99 = each[static_cast<size_t>(kTicks * 0.99)];
    const double anchor = qtTimerEventMicros(kTicks);

    std::printf("timer_tick_us %.2f us\n", mean);
    std::printf("timer_tick_p99_us %.2f us\n", p99);
    std::printf("qt_timer_event_us %.2f us\n", anchor);
    std::printf("timer_tick_vs_qt_timer_event %.2f ratio\n", mean / anchor);
    std::printf("timer_tick_share_of_interval %.4f %%\n", mean / 60000.0 * 100.0);
    main.controls().Knop[2]->click();
    return 0;
}
