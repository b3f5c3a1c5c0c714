#include "widgets/Plaatjes.h"

#include "widgets/SvgIconEngine.h"

#include <QCoreApplication>
#include <QHash>

#include <future>
#include <optional>
#include <system_error>

// Q_INIT_RESOURCE has to be used outside any namespace.
static void registerPictures() {
    Q_INIT_RESOURCE(resources);
}

namespace {

const QString kLogoPath = QStringLiteral(":/logo.svg");

// One icon per picture for the whole run: every control showing it shares the parsed drawing and
// its renderings. GUI thread only.
QHash<QString, QIcon>& iconStore() {
    static QHash<QString, QIcon> store;
    return store;
}

struct LogoUnderWay {
    QSize devicePixels;
    std::future<QImage> image;
};

// The built-in logo being drawn on another thread, if any. GUI thread only.
std::optional<LogoUnderWay>& logoUnderWay() {
    static std::optional<LogoUnderWay> underWay;
    return underWay;
}

// Pixmaps must not outlive the application, nor may a drawing still be under way after it.
void dropPictures() {
    iconStore().clear();
    logoUnderWay().reset();
}

QSize devicePixelsOf(const QSize& size, qreal dpr) {
    return dpr > 1.0 ? size * dpr : size;
}

} // namespace

QIcon Plaatjes::fromResource(const QString& path) {
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    QHash<QString, QIcon>& store = iconStore();
    const auto found = store.constFind(path);
    if (found != store.cend()) {
        return found.value();
    }
    if (store.isEmpty()) {
        qAddPostRoutine(dropPictures);
    }
    const QIcon icon(new SvgIconEngine(path));
    store.insert(path, icon);
    return icon;
}

QIcon Plaatjes::Img(int index) {
    switch (index) {
    case 0:
        return fromResource(QStringLiteral(":/buttons/pauze.svg"));
    case 1:
        return fromResource(QStringLiteral(":/buttons/resume.svg"));
    case 2:
        return fromResource(kLogoPath);
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

void Plaatjes::startBuiltInLogo(const QSize& size, qreal dpr) {
    fromResource(kLogoPath); // registers the pictures before the other thread reads one
    const QSize devicePixels = devicePixelsOf(size, dpr);
    logoUnderWay().reset();
    try {
        logoUnderWay() = LogoUnderWay{devicePixels, std::async(std::launch::async, [devicePixels] {
                                          return SvgIconEngine::render(kLogoPath, devicePixels);
                                      })};
    } catch (const std::system_error&) {
        // No thread to be had: builtInLogo() draws it.
    }
}

QPixmap Plaatjes::builtInLogo(const QSize& size, qreal dpr) {
    std::optional<LogoUnderWay>& underWay = logoUnderWay();
    if (underWay && underWay->devicePixels == devicePixelsOf(size, dpr)) {
        QPixmap logo = QPixmap::fromImage(underWay->image.get());
        underWay.reset();
        if (!logo.isNull()) {
            logo.setDevicePixelRatio(dpr > 1.0 ? dpr : 1.0);
            return logo;
        }
    }
    return Img(2).pixmap(size, dpr);
}
