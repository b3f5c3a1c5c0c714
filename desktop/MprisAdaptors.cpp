#include "desktop/MprisAdaptors.h"

#include "desktop/DesktopIds.h"
#include "desktop/MprisService.h"

MprisRootAdaptor::MprisRootAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), m_service(service) {}

QString MprisRootAdaptor::identity() const {
    return QStringLiteral("Tunara");
}

QString MprisRootAdaptor::desktopEntry() const {
    return QString::fromLatin1(desktop::kApplicationId);
}

QStringList MprisRootAdaptor::supportedUriSchemes() const {
    return {QStringLiteral("file")};
}

QStringList MprisRootAdaptor::supportedMimeTypes() const {
    return {QStringLiteral("audio/mpeg"), QStringLiteral("audio/midi")};
}

void MprisRootAdaptor::Raise() {
    m_service->Raise();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), m_service(service) {}

QString MprisPlayerAdaptor::playbackStatus() const {
    return m_service->playbackStatus();
}

QVariantMap MprisPlayerAdaptor::metadata() const {
    return m_service->metadata();
}

double MprisPlayerAdaptor::volume() const {
    return m_service->volume();
}

void MprisPlayerAdaptor::setVolume(double volume) {
    m_service->setVolume(volume);
}

qlonglong MprisPlayerAdaptor::position() const {
    return m_service->positionMicroseconds();
}

bool MprisPlayerAdaptor::canGoNext() const {
    return m_service->canGoNext();
}

bool MprisPlayerAdaptor::canPlay() const {
    return m_service->canPlay();
}

bool MprisPlayerAdaptor::canPause() const {
    return m_service->canPause();
}

void MprisPlayerAdaptor::Next() {
    m_service->Next();
}

void MprisPlayerAdaptor::Pause() {
    m_service->Pause();
}

void MprisPlayerAdaptor::PlayPause() {
    m_service->PlayPause();
}

void MprisPlayerAdaptor::Stop() {
    m_service->Stop();
}

void MprisPlayerAdaptor::Play() {
    m_service->Play();
}

void MprisPlayerAdaptor::OpenUri(const QString& uri) {
    m_service->OpenUri(uri);
}
