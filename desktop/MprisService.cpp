#include "desktop/MprisService.h"

#include "browse/DroppedSongs.h"
#include "browse/PlaylistDrop.h"
#include "common/PlaybackState.h"
#include "desktop/MprisAdaptors.h"
#include "playback/MediaPlayer.h"
#include "playlist/PlaylistModel.h"
#include "songinfo/Id3v1Tag.h"
#include "widgets/PictureButton.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QEvent>
#include <QSlider>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kVolumeSteps = 2500; // Slider2's range is 0 to this
constexpr double kMicroseconds = 1e6;
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

QString trimmedField(const QByteArray& field) {
    return Id3v1Tag::fieldText(field).trimmed();
}

} // namespace

MprisService::MprisService(const MainContext& ctx, QObject* parent)
    : QObject(parent), m_controls(ctx.c), m_ctx{m_controls, ctx.state, ctx.playlist, ctx.player},
      m_changes(new QTimer(this)) {
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);

    // Several changes in one handler reach the bus as one signal.
    m_changes->setSingleShot(true);
    m_changes->setInterval(0);
    connect(m_changes, &QTimer::timeout, this, &MprisService::sendChanges);

    connect(&m_ctx.state.playback, &PlaybackState::changed, this, &MprisService::scheduleChanges);
    connect(m_controls.Slider2, &QSlider::valueChanged, this, &MprisService::scheduleChanges);
    PlaylistModel& playlist = m_ctx.playlist;
    connect(&playlist, &PlaylistModel::rowsInserted, this, [this](const QModelIndex&, int first) {
        if (first == 0) {
            headChanged();
        }
        scheduleChanges();
    });
    connect(&playlist, &PlaylistModel::rowsRemoved, this, [this](const QModelIndex&, int first) {
        if (first == 0) {
            headChanged();
        }
        scheduleChanges();
    });
    connect(&playlist, &PlaylistModel::modelReset, this, [this] {
        headChanged();
        scheduleChanges();
    });
    for (int i = 1; i <= 4; ++i) {
        m_controls.Knop[i]->installEventFilter(this);
    }
}

bool MprisService::registerOnSessionBus(QString* error) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        *error = QStringLiteral("geen sessiebus (%1)").arg(bus.lastError().message());
        return false;
    }
    if (!bus.registerObject(QString::fromLatin1(kObjectPath), this, QDBusConnection::ExportAdaptors)) {
        *error = QStringLiteral("het object %1 is al geregistreerd").arg(QString::fromLatin1(kObjectPath));
        return false;
    }
    if (!bus.registerService(QString::fromLatin1(kServiceName))) {
        bus.unregisterObject(QString::fromLatin1(kObjectPath));
        *error = QStringLiteral("de naam %1 is al in gebruik").arg(QString::fromLatin1(kServiceName));
        return false;
    }
    sendChanges(); // what the bus has been told so far: nothing, so this records the start
    return true;
}

void MprisService::startFor(const MainContext& ctx, QObject* parent) {
    auto* service = new MprisService(ctx, parent);
    QString error;
    if (!service->registerOnSessionBus(&error)) {
        std::fprintf(stderr, "Tunara: geen bediening door het bureaublad (MPRIS2): %s\n", qPrintable(error));
        delete service;
    }
}

bool MprisService::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        scheduleChanges();
    }
    return QObject::eventFilter(watched, event);
}

void MprisService::Raise() {
    QWidget* window = m_controls.Main;
    if (window->isMinimized()) {
        window->showNormal();
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void MprisService::later(std::function<void()> command) {
    // Queued: a message box that a handler opens must not hold up the caller's reply.
    QTimer::singleShot(0, this, [command = std::move(command)] {
        if (QApplication::activeModalWidget() == nullptr) {
            command();
        }
    });
}

void MprisService::click(int index) {
    m_controls.Knop[index]->click();
}

bool MprisService::isIdle() const {
    return m_ctx.state.playback.mode() == PlaybackState::Mode::Idle;
}

bool MprisService::isPaused() const {
    return m_ctx.state.playback.mode() == PlaybackState::Mode::Paused;
}

// Play resumes a paused song (the Resume button) and starts from idle (Start); a song that plays
// is not started again.
void MprisService::Play() {
    later([this] {
        if (isPaused()) {
            click(3);
        } else if (isIdle()) {
            click(1);
        }
    });
}

void MprisService::Pause() {
    later([this] {
        if (m_ctx.state.playback.mode() == PlaybackState::Mode::Playing) {
            click(3);
        }
    });
}

void MprisService::PlayPause() {
    later([this] { click(isIdle() ? 1 : 3); });
}

void MprisService::Stop() {
    later([this] { click(2); });
}

void MprisService::Next() {
    later([this] { click(4); });
}

void MprisService::OpenUri(const QString& uri) {
    const QUrl url(uri);
    if (!url.isLocalFile()) {
        return;
    }
    const QString path = QDir::cleanPath(url.toLocalFile());
    later([this, path] {
        if (const std::optional<PlaylistEntry> entry = browse::songFile(path)) {
            PlaylistDrop::appendSongs(m_ctx, {*entry});
        }
    });
}

QString MprisService::playbackStatus() const {
    switch (m_ctx.state.playback.mode()) {
    case PlaybackState::Mode::Playing:
        return QStringLiteral("Playing");
    case PlaybackState::Mode::Paused:
        return QStringLiteral("Paused");
    case PlaybackState::Mode::Idle:
        break;
    }
    return QStringLiteral("Stopped");
}

void MprisService::headChanged() {
    m_metadataKey.clear();
    ++m_trackNumber;
}

QVariantMap MprisService::metadata() const {
    if (m_ctx.playlist.isEmpty()) {
        return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(QStringLiteral(
                                                      "/org/mpris/MediaPlayer2/TrackList/NoTrack")))}};
    }
    const PlaylistEntry& head = m_ctx.playlist.head();
    // The length is known once the player has loaded the head, that is while it plays or pauses.
    const bool loaded = !isIdle();
    const QString key = QString::number(m_trackNumber) + (loaded ? u'+' : u'-');
    if (key == m_metadataKey) {
        return m_metadata;
    }
    m_metadataKey = key;
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(
                   QDBusObjectPath(QStringLiteral("/org/example/Tunara/Track/%1").arg(m_trackNumber))));
    map.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(head.fullPath).toString(QUrl::FullyEncoded));
    QString title = head.displayName;
    Id3v1Tag tag;
    if (head.fullPath.endsWith(QStringLiteral(".mp3"), Qt::CaseInsensitive) &&
        songinfo::ReadId3Tag(head.fullPath, tag)) {
        if (const QString t = trimmedField(tag.title); !t.isEmpty()) {
            title = t;
        }
        if (const QString artist = trimmedField(tag.artist); !artist.isEmpty()) {
            map.insert(QStringLiteral("xesam:artist"), QStringList{artist});
        }
        if (const QString album = trimmedField(tag.album); !album.isEmpty()) {
            map.insert(QStringLiteral("xesam:album"), album);
        }
    }
    map.insert(QStringLiteral("xesam:title"), title);
    if (const std::optional<double> seconds = loaded ? m_ctx.player.duration() : std::nullopt) {
        map.insert(QStringLiteral("mpris:length"),
                   static_cast<qlonglong>(std::llround(*seconds * kMicroseconds)));
    }
    m_metadata = map;
    return map;
}

double MprisService::volume() const {
    return static_cast<double>(m_controls.Slider2->value()) / kVolumeSteps;
}

void MprisService::setVolume(double volume) {
    if (std::isnan(volume)) {
        return;
    }
    // The slider's own change handler passes the volume to the player and the label.
    m_controls.Slider2->setValue(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * kVolumeSteps)));
}

qlonglong MprisService::positionMicroseconds() const {
    const std::optional<double> seconds = isIdle() ? std::nullopt : m_ctx.player.currentPosition();
    return seconds ? static_cast<qlonglong>(std::llround(*seconds * kMicroseconds)) : 0;
}

bool MprisService::canPlay() const {
    return !m_ctx.playlist.isEmpty() && m_controls.Knop[isPaused() ? 3 : 1]->isEnabled();
}

bool MprisService::canPause() const {
    return !m_ctx.playlist.isEmpty() && !isIdle() && m_controls.Knop[3]->isEnabled();
}

bool MprisService::canGoNext() const {
    return !isIdle() && m_controls.Knop[4]->isEnabled();
}

void MprisService::scheduleChanges() {
    m_changes->start();
}

void MprisService::sendChanges() {
    const QVariantMap now{
        {QStringLiteral("PlaybackStatus"), playbackStatus()},
        {QStringLiteral("Metadata"), metadata()},
        {QStringLiteral("Volume"), volume()},
        {QStringLiteral("CanPlay"), canPlay()},
        {QStringLiteral("CanPause"), canPause()},
        {QStringLiteral("CanGoNext"), canGoNext()},
    };
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_sent.value(it.key()) != it.value()) {
            changed.insert(it.key(), it.value());
        }
    }
    const bool first = m_sent.isEmpty();
    m_sent = now;
    if (first || changed.isEmpty()) {
        return;
    }
    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
