#include "app/Main.h"
#include "app/ProgramFolder.h"
#include "app/StartupProbe.h"
#include "playback/AudioEngine.h"
#include "widgets/Plaatjes.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <thread>

#include <csignal>
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    // Only async-signal-safe calls here; the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// Ctrl+C and a plain kill end the program the way closing the window does: the window and the
// player are torn down in order (the sound device is released), and the settings file is left as
// it is, because only the exit button writes it.
void quitOnTerminationSignals(QApplication& app) {
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // the default action (ending the process) stays in place
    }
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char byte = 0;
        while (::read(g_signalPipe[0], &byte, 1) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

// Runs `action` once the window has been put on the screen and painted for the first time.
class AfterFirstExpose : public QObject {
public:
    static void install(QWidget& window, std::function<void()> action) {
        window.winId(); // the native window, whose expose events are watched
        window.windowHandle()->installEventFilter(new AfterFirstExpose(std::move(action), &window));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed()) {
            watched->removeEventFilter(this);
            // Queued: the expose itself paints the window first.
            QTimer::singleShot(0, this, [this] {
                m_action();
                deleteLater();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    AfterFirstExpose(std::function<void()> action, QObject* parent)
        : QObject(parent), m_action(std::move(action)) {}

    std::function<void()> m_action;
};

// Reading the font configuration (dozens of small XML files) is the largest single step before
// the first frame, and connecting to the display does not need it: a worker reads it meanwhile,
// and Qt's font database later finds it loaded. join() before the first widget is made.
class FontConfigWarmUp {
public:
    FontConfigWarmUp() : m_thread([] { FcInit(); }) {}
    ~FontConfigWarmUp() { join(); }
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    void join() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

private:
    std::thread m_thread;
};

} // namespace

int main(int argc, char* argv[]) {
    FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tunara"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    quitOnTerminationSignals(app);

    const QString programFolder = ProgramFolder::forThisProgram();
    fontConfig.join();
    AudioEngine engine;
    Main window(programFolder, engine);
    StartupProbe::install(window);
    // Drawing the window icon from SVG at every size the desktop asks for takes a few
    // milliseconds; the window need not wait for it.
    AfterFirstExpose::install(window, [] { QApplication::setWindowIcon(Plaatjes::applicationIcon()); });
    window.show();
    return QApplication::exec();
}
