#include "appearance/Plaatjes.h"

// Q_INIT_RESOURCE has to be used outside any namespace.
static void registerPictures() {
    Q_INIT_RESOURCE(resources);
}

QIcon Plaatjes::fromResource(const QString& path) {
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    return QIcon(path);
}

QIcon Plaatjes::Img(int index) {
    switch (index) {
    case 0:
        return fromResource(QStringLiteral(":/buttons/pauze.svg"));
    case 1:
        return fromResource(QStringLiteral(":/buttons/resume.svg"));
    case 2:
        return fromResource(QStringLiteral(":/logo.svg"));
    default:
        return {};
    }
}

QIcon Plaatjes::commandIcon(int index) {
    if ((index >= 1 && index <= 7) || index == 9) {
        return fromResource(QStringLiteral(":/icons/knopbottom_%1.svg").arg(index));
    }
    return {};
}

QIcon Plaatjes::playerButton(int index) {
    static const char* const names[] = {"start", "stop", "pauze", "next"};
    if (index < 1 || index > 4) {
        return {};
    }
    return fromResource(QStringLiteral(":/buttons/%1.svg").arg(QLatin1String(names[index - 1])));
}

QIcon Plaatjes::songInfoButton(int index) {
    if (index == 1) {
        return fromResource(QStringLiteral(":/buttons/playtime.svg"));
    }
    if (index == 2) {
        return fromResource(QStringLiteral(":/buttons/mp3info.svg"));
    }
    return {};
}

QIcon Plaatjes::playlistEditButton(int index) {
    if (index == 1 || index == 2) {
        return fromResource(QStringLiteral(":/buttons/knopr_%1.svg").arg(index));
    }
    return {};
}

QIcon Plaatjes::selectieButton() {
    return fromResource(QStringLiteral(":/buttons/selectie.svg"));
}
QIcon Plaatjes::selectieAllButton() {
    return fromResource(QStringLiteral(":/buttons/selectie_all.svg"));
}
QIcon Plaatjes::okButton() {
    return fromResource(QStringLiteral(":/buttons/ok.svg"));
}
QIcon Plaatjes::cancelButton() {
    return fromResource(QStringLiteral(":/buttons/cancel.svg"));
}
QIcon Plaatjes::aboutIcon() {
    return fromResource(QStringLiteral(":/about_icon.svg"));
}
QIcon Plaatjes::aboutBanner() {
    return fromResource(QStringLiteral(":/about_banner.svg"));
}
QIcon Plaatjes::applicationIcon() {
    return fromResource(QStringLiteral(":/tunara.svg"));
}
