#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>

// Start-up measurement for the benchmark. When the environment variable TUNARA_EXIT_WHEN_SHOWN
// holds the launch time in nanoseconds of CLOCK_REALTIME (`date +%s%N`), the first expose of the
// watched window prints "shown_ms <milliseconds since launch> cpu_ms <CPU milliseconds of all
// threads so far>" on stdout and ends the program. The CPU figure does not count waiting for a
// busy machine, so it compares builds fairly where the wall time is noisy.
// Without the variable, install() does nothing and costs nothing.
class StartupProbe : public QObject {
public:
    static void install(QWidget& window) {
        const QByteArray launch = qgetenv("TUNARA_EXIT_WHEN_SHOWN");
        if (launch.isEmpty()) {
            return;
        }
        window.winId(); // creates the native window, so its expose events can be watched
        auto* probe = new StartupProbe(launch.toLongLong(), &window);
        window.windowHandle()->installEventFilter(probe);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && !m_done) {
            auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isExposed()) {
                m_done = true;
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                timespec cpu{};
                clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
                const long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
                const double cpuMs =
                    static_cast<double>(cpu.tv_sec) * 1e3 + static_cast<double>(cpu.tv_nsec) / 1e6;
                std::printf("shown_ms %.1f cpu_ms %.1f\n", static_cast<double>(nowNs - m_launchNs) / 1e6,
                            cpuMs);
                std::fflush(stdout);
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    StartupProbe(long long launchNs, QObject* parent) : QObject(parent), m_launchNs(launchNs) {}

    long long m_launchNs;
    bool m_done = false;
};
