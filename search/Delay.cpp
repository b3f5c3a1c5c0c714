#include "search/Delay.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

void search::Delay(double seconds) {
    if (!(seconds > 0.0)) {
        return;
    }
    // Beyond a day is a caller's mistake, not a wish; cap it so the arithmetic stays in range.
    const double capped = std::min(seconds, 86400.0);
    const QDeadlineTimer deadline(static_cast<qint64>(std::ceil(capped * 1000.0)), Qt::PreciseTimer);

    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(deadline.remainingTime()));
        return;
    }

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    bool fired = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        fired = true;
        loop.quit();
    });
    while (!deadline.hasExpired()) {
        fired = false;
        timer.start(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        loop.exec();
        if (!fired) {
            // Someone ended every event loop (the application is quitting): stop waiting.
            return;
        }
    }
}
