#pragma once

#include "common/MainContext.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class QTimer;

// The desktop's media-player interface (MPRIS2) for the main window: the media keys and the
// desktop's player widgets start, pause, skip and set the volume through it, and see what plays.
// Every command does what a click on the matching player button does, through the same handler,
// and only when that button is enabled and no modal window is open; the volume moves Slider2.
// State changes are sent to the bus as PropertiesChanged. GUI thread only.
class MprisService : public QObject {
    Q_OBJECT
public:
    static constexpr char kServiceName[] = "org.mpris.MediaPlayer2.tunara";
    static constexpr char kObjectPath[] = "/org/mpris/MediaPlayer2";

    // The controls, state, playlist and player must outlive this object.
    MprisService(const MainContext& ctx, QObject* parent = nullptr);

    // Registers the object and takes the service name on the session bus. False, with the reason
    // in `error`, when there is no session bus or the name is taken; the program runs on without.
    bool registerOnSessionBus(QString* error);

    // Makes an MprisService for `ctx`, parented to `parent`, and registers it; says once on
    // stderr why not when that fails (and deletes it then).
    static void startFor(const MainContext& ctx, QObject* parent);

    // org.mpris.MediaPlayer2
    void Raise();

    // org.mpris.MediaPlayer2.Player: commands, each queued so that a message box it opens never
    // holds up the reply.
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void OpenUri(const QString& uri);

    QString playbackStatus() const;
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong positionMicroseconds() const;
    bool canPlay() const;
    bool canPause() const;
    bool canGoNext() const;

protected:
    // The player buttons' enabled states feed the Can* properties.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs `command` later, unless a modal window is open then: the main window takes no input
    // while one is. A disabled button ignores a click by itself.
    void later(std::function<void()> command);
    void click(int index);
    bool isIdle() const;
    bool isPaused() const;
    // The head of the playlist changed: the next Metadata is read afresh with a new track id.
    void headChanged();
    // Compares what the bus was last told with now, and sends what changed.
    void sendChanges();
    void scheduleChanges();

    MainControls m_controls;
    MainContext m_ctx;
    QTimer* m_changes = nullptr;
    QVariantMap m_sent;

    // Metadata is read from the song file only when the head or its loaded state changes.
    mutable QString m_metadataKey;
    mutable QVariantMap m_metadata;
    mutable int m_trackNumber = 0;
};
