#pragma once

// Answering modal windows as a person would. exec() blocks the test, so the answers come from a
// poll that runs inside the window's own event loop.

#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace testsupport {

// What a modal window showed; text, icon and buttons only for a message box.
struct SeenBox {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool probe = false; // what the answerer's probe said while the window was open

    QString titleAndText() const { return title + u'|' + text; }
};

// While it lives, answers and records every modal window that opens (not one already open when
// it was made): a message box with `answer` (a box without that button with its escape button,
// which is the only one or No), any other window through `other` (closed when none is given). Each answer is
// given from the event loop, so it may open the next window, as a Yes that leads to an error message.
class ModalAnswerer {
public:
    // The boxes in turn get `answers` (not empty), the last one any further box.
    explicit ModalAnswerer(std::vector<QMessageBox::StandardButton> answers = {QMessageBox::Ok},
                           std::function<void(QWidget*)> other = {}, std::function<bool()> probe = {});
    const QList<SeenBox>& seen() const { return m_seen; }
    QStringList texts() const; // "title|text" for each window

private:
    void poll();

    std::vector<QMessageBox::StandardButton> m_answers;
    std::function<void(QWidget*)> m_other;
    std::function<bool()> m_probe;
    QList<QPointer<QWidget>> m_handled;
    QList<SeenBox> m_seen;
    size_t m_boxes = 0; // message boxes answered so far
    QTimer m_timer;
};

// Runs `act`, answering the message boxes it shows with `answer`; returns the first (shown is
// false when none opened).
SeenBox answering(QMessageBox::StandardButton answer, const std::function<void()>& act);

// While the handle lives, runs `act` once on the first visible modal window of type T, which the
// test drives itself, then closes the window if `act` left it open. The poll stops first, since
// `act` may wait in a nested loop.
template <typename T> std::unique_ptr<QTimer> onModal(std::function<void(T*)> act) {
    auto timer = std::make_unique<QTimer>();
    QTimer* poll = timer.get();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        T* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (window && window->isVisible()) {
            poll->stop();
            act(window);
            if (window->isVisible()) {
                window->close();
            }
        }
    });
    poll->start(5);
    return timer;
}

} // namespace testsupport
