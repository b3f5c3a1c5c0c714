#include "app/Main.h"
#include "app/ProgramFolder.h"
#include "app/StartupProbe.h"
#include "desktop/DesktopIds.h"
#include "desktop/MprisService.h"
#include "desktop/QtTranslations.h"
#include "playback/AudioEngine.h"
#include "widgets/Plaatjes.h"

#include <QApplication>
#include <QDBusConnection>
#include <QEvent>
#include <QFont>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <thread>

#include <csignal>
#include <fcntl.h>
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

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Qt's screen-reader bridge connects to the session bus on the GUI thread as soon as the first
    // control reports a change, before the window is shown (the window's lists get their models
    // last for this reason). A worker makes that connection meanwhile, so that the bridge finds it
    // made; nothing waits for the worker before the window is shown. Without a bus both fail at
    // once. Joined before the application object goes.
    const std::jthread busAhead([] { QDBusConnection::sessionBus(); });
    QApplication::setApplicationName(QStringLiteral("Tunara"));
    // The desktop finds the launcher, the icon and the AppStream entry of the window by this id.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(desktop::kApplicationId));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    quitOnTerminationSignals(app);
    // Standard buttons and file dialogs in the user's language; our own texts stay as they are.
    desktop::installQtTranslations(app);

    const QString programFolder = app::findProgramFolder();
    AudioEngine engine;
    Main window(programFolder, engine);
    StartupProbe::install(window);
    // The first frame waits for neither the window icon (drawn from SVG at every size the desktop
    // asks for: a few milliseconds) nor the session bus (media keys, the desktop's player widgets).
    MainControls controls = window.controls();
    const MainContext context{controls, window.state(), window.playlist(), window.player()};
    AfterFirstExpose::install(window, [&context, &window] {
        QApplication::setWindowIcon(Plaatjes::applicationIcon());
        MprisService::startFor(context, &window);
    });
    window.show();
    AfterFirstExpose::install(window, [&engine] { engine.prepareInBackground(); });
    return QApplication::exec();
}
