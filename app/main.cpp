#include "app/Main.h"
#include "playback/AudioEngine.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tunara"));
    AudioEngine engine;
    Main window(QCoreApplication::applicationDirPath(), engine);
    window.show();
    return QApplication::exec();
}
