#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

// What a message box showed.
struct SeenBox {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Acts as a person would while the code under test waits in exec(): runs `act` on the first
// visible modal window of type T. Stops polling first, since `act` may wait in a nested loop.
template <typename T> std::unique_ptr<QTimer> onModal(std::function<void(T*)> act) {
    auto timer = std::make_unique<QTimer>();
    QTimer* poll = timer.get();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        T* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (window && window->isVisible()) {
            poll->stop();
            act(window);
        }
    });
    poll->start(5);
    return timer;
}

// Runs `act`, answering the message box it shows (if any) with `answer`; returns what it showed.
inline SeenBox answering(QMessageBox::StandardButton answer, const std::function<void()>& act) {
    SeenBox seen;
    auto watcher = onModal<QMessageBox>([&](QMessageBox* box) {
        auto* def = box->defaultButton();
        seen = {true,        box->windowTitle(),     box->text(),
                box->icon(), box->standardButtons(), def ? box->standardButton(def) : QMessageBox::NoButton};
        box->button(answer) ? box->button(answer)->click() : box->reject();
    });
    act();
    return seen;
}
