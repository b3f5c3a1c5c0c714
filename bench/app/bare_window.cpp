// A bare 1024x768 Qt window that reports its first expose like the program does: the figure
// the program's start-up is compared with.
#include "app/StartupProbe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setFixedSize(1024, 768);
    StartupProbe::install(window);
    window.show();
    return QApplication::exec();
}
