#include "appearance/Plaatjes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Every built-in picture and the size at which the program shows it.
const QMap<QString, QSize>& expectedSizes() {
    static const QMap<QString, QSize> sizes = [] {
        QMap<QString, QSize> m;
        for (const int i : {1, 2, 3, 4, 5, 6, 7, 9}) {
            m.insert(QStringLiteral(":/icons/knopbottom_%1.svg").arg(i), QSize(32, 32));
        }
        for (const char* bar :
             {"start", "stop", "pauze", "resume", "next", "playtime", "mp3info", "knopr_1", "knopr_2"}) {
            m.insert(QStringLiteral(":/buttons/%1.svg").arg(QLatin1String(bar)), QSize(80, 28));
        }
        m.insert(QStringLiteral(":/buttons/selectie.svg"), QSize(41, 41));
        m.insert(QStringLiteral(":/buttons/selectie_all.svg"), QSize(41, 41));
        m.insert(QStringLiteral(":/buttons/ok.svg"), QSize(101, 28));
        m.insert(QStringLiteral(":/buttons/cancel.svg"), QSize(101, 28));
        m.insert(QStringLiteral(":/logo.svg"), QSize(200, 200));
        m.insert(QStringLiteral(":/about_icon.svg"), QSize(32, 32));
        m.insert(QStringLiteral(":/about_banner.svg"), QSize(246, 44));
        m.insert(QStringLiteral(":/tunara.svg"), QSize(64, 64));
        return m;
    }();
    return sizes;
}

QImage render(const QString& path, QSize size, qreal scale) {
    QSvgRenderer renderer(path);
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

double coverage(const QImage& image) {
    qint64 opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            opaque += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return double(opaque) / (double(image.width()) * image.height());
}

QStringList builtInPictures() {
    QStringList found;
    QDirIterator it(QStringLiteral(":/"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String(".svg")) && !path.startsWith(QLatin1String(":/qt-project.org"))) {
            found << path;
        }
    }
    found.sort();
    return found;
}

} // namespace

TEST(Pictures, EveryDrawingOnDiskIsBuiltInAndNothingElse) {
    QStringList onDisk;
    const QString root = QStringLiteral(TUNARA_RESOURCE_DIR);
    QDirIterator it(root, {QStringLiteral("*.svg")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        onDisk << QStringLiteral(":/") + QDir(root).relativeFilePath(it.next());
    }
    onDisk.sort();
    EXPECT_EQ(builtInPictures(), onDisk);
    EXPECT_EQ(builtInPictures(), QStringList(expectedSizes().keys()));
}

TEST(Pictures, EachRendersAtItsSizeAtOneAndTwoTimesScale) {
    for (auto it = expectedSizes().cbegin(); it != expectedSizes().cend(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        QSvgRenderer renderer(it.key());
        ASSERT_TRUE(renderer.isValid());
        EXPECT_EQ(renderer.defaultSize(), it.value());
        EXPECT_EQ(renderer.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(it.value())));
        for (const qreal scale : {1.0, 2.0}) {
            // Every drawing fills a good part of its square; an empty or broken one does not.
            EXPECT_GT(coverage(render(it.key(), it.value(), scale)), 0.25) << "scale " << scale;
        }
        const QPixmap sharp = QIcon(it.key()).pixmap(it.value(), 2.0);
        EXPECT_EQ(sharp.size(), it.value() * 2);
        EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    }
}

// The words on the bars are set in Liberation Sans; with it missing a wider fallback font could spill
// over the rounded edge. No dark ink may touch the outer columns of a bar.
TEST(Pictures, WordsStayInsideTheirBars) {
    EXPECT_TRUE(QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")));
    for (auto it = expectedSizes().cbegin(); it != expectedSizes().cend(); ++it) {
        if (!it.key().startsWith(QLatin1String(":/buttons/")) || it.value().height() != 28) {
            continue;
        }
        SCOPED_TRACE(it.key().toStdString());
        const QImage image = render(it.key(), it.value(), 1.0);
        int inkInside = 0;
        int inkAtEdge = 0;
        for (int y = 3; y < image.height() - 3; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qAlpha(p) == 255 && qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) < 40) {
                    ++(x >= 6 && x < image.width() - 6 ? inkInside : inkAtEdge);
                }
            }
        }
        EXPECT_EQ(inkAtEdge, 0);
        EXPECT_GT(inkInside, 40) << "no word drawn";
    }
}

TEST(Pictures, StoreHandsOutEveryPicture) {
    std::vector<std::pair<const char*, QIcon>> icons = {
        {"Img 0", Plaatjes::Img(0)},
        {"Img 1", Plaatjes::Img(1)},
        {"Img 2", Plaatjes::Img(2)},
        {"selectie", Plaatjes::selectieButton()},
        {"selectie all", Plaatjes::selectieAllButton()},
        {"ok", Plaatjes::okButton()},
        {"cancel", Plaatjes::cancelButton()},
        {"about icon", Plaatjes::aboutIcon()},
        {"about banner", Plaatjes::aboutBanner()},
        {"application", Plaatjes::applicationIcon()},
    };
    for (const int i : {1, 2, 3, 4, 5, 6, 7, 9}) {
        icons.emplace_back("command", Plaatjes::commandIcon(i));
    }
    for (const int i : {1, 2, 3, 4}) {
        icons.emplace_back("player", Plaatjes::playerButton(i));
    }
    for (const int i : {1, 2}) {
        icons.emplace_back("song info", Plaatjes::songInfoButton(i));
        icons.emplace_back("playlist edit", Plaatjes::playlistEditButton(i));
    }
    for (const auto& [name, icon] : icons) {
        EXPECT_FALSE(icon.isNull()) << name;
    }

    EXPECT_TRUE(Plaatjes::Img(3).isNull());
    EXPECT_TRUE(Plaatjes::commandIcon(8).isNull());
    EXPECT_TRUE(Plaatjes::playerButton(5).isNull());

    // The pause button goes back to its design picture after resuming, so Img 0 is that picture,
    // and Img 1 is a different one.
    const QSize bar(80, 28);
    const QImage pauze = Plaatjes::playerButton(3).pixmap(bar).toImage();
    EXPECT_EQ(Plaatjes::Img(0).pixmap(bar).toImage(), pauze);
    EXPECT_NE(Plaatjes::Img(1).pixmap(bar).toImage(), pauze);
}
