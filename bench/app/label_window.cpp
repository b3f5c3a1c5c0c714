// A 1024x768 Qt window that holds one word of text in a layout: the least that any window which
// shows text does before it is mapped (the layout asks the label for its size, which loads the
// font configuration and a font). Printed beside the bare window, it shows what the first text
// costs on this machine.
#include "app/StartupProbe.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("label"));
    window.setFixedSize(1024, 768);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Tunara"), &window));
    StartupProbe::install(window);
    window.show();
    return QApplication::exec();
}
