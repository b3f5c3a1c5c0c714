#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

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

// Runs `act`, answering the message boxes it shows one after the other with `answers`, one each;
// returns what each showed (as many as were shown).
inline std::vector<SeenBox> answeringEach(const std::vector<QMessageBox::StandardButton>& answers,
                                          const std::function<void()>& act) {
    std::vector<SeenBox> seen;
    std::vector<std::unique_ptr<QTimer>> watchers;
    std::function<void()> watchNext = [&] {
        if (watchers.size() >= answers.size()) {
            return;
        }
        watchers.push_back(onModal<QMessageBox>([&](QMessageBox* box) {
            auto* def = box->defaultButton();
            seen.push_back({true, box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                            def ? box->standardButton(def) : QMessageBox::NoButton});
            const QMessageBox::StandardButton answer = answers[seen.size() - 1];
            watchNext(); // the next box may open while this answer is handled
            box->button(answer) ? box->button(answer)->click() : box->reject();
        }));
    };
    watchNext();
    act();
    return seen;
}

// Runs `act`, answering the message box it shows (if any) with `answer`; returns what it showed.
inline SeenBox answering(QMessageBox::StandardButton answer, const std::function<void()>& act) {
    const std::vector<SeenBox> seen = answeringEach({answer}, act);
    return seen.empty() ? SeenBox{} : seen.front();
}
