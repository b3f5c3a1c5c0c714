#include "support/Fixtures.h"
#include "widgets/Plaatjes.h"
#include "widgets/SvgIconEngine.h"

#include <QDirIterator>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kBars = u"start stop pauze resume next playtime mp3info knopr_1 knopr_2"_s;

// Every built-in picture and the size at which the program shows it.
const std::pair<QSize, QString> kPictures[] = {
    {{32, 32},
     u"icons/knopbottom_1 icons/knopbottom_2 icons/knopbottom_3 icons/knopbottom_4 icons/knopbottom_5 "
     "icons/knopbottom_6 icons/knopbottom_7 icons/knopbottom_9 about_icon"_s},
    {{80, 28}, u"buttons/"_s + kBars.split(u' ').join(u" buttons/"_s)},
    {{41, 41}, u"buttons/selectie buttons/selectie_all"_s},
    {{101, 28}, u"buttons/ok buttons/cancel"_s},
    {{200, 200}, u"logo"_s},
    {{246, 44}, u"about_banner"_s},
    {{64, 64}, u"tunara"_s},
};

QImage render(const QString& name, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QSvgRenderer(u":/"_s + name + u".svg"_s).render(&painter);
    return image;
}

// How many pixels of the image's rows from `top` to `bottom` pass `test(x, pixel)`.
template <typename Test> int count(const QImage& image, int top, int bottom, Test test) {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += test(x, image.pixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

QStringList builtInPictures() {
    Plaatjes::applicationIcon(); // registers the pictures
    QStringList found;
    for (QDirIterator it(u":/"_s, {u"*.svg"_s}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        found << it.next();
    }
    found.removeIf([](const QString& path) { return path.startsWith(u":/qt-project.org"_s); });
    return found;
}

QImage paintedBy(const QIcon& icon, const QRect& rect, qreal dpr, QIcon::Mode mode) {
    QImage image(QSize(rect.right() + 4, rect.bottom() + 4) * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, rect, Qt::AlignCenter, mode);
    return image;
}

} // namespace

TEST(Pictures, EachRendersAtItsSizeAtOneAndTwoTimesScale) {
    for (const auto& [size, names] : kPictures) {
        for (const QString& name : names.split(u' ')) {
            SCOPED_TRACE(name.toStdString());
            EXPECT_EQ(QSvgRenderer(u":/"_s + name + u".svg"_s).defaultSize(), size);
            for (const int scale : {1, 2}) {
                // Every drawing covers a good part of its area; an empty or broken one does not.
                const QImage image = render(name, size * scale);
                const int drawn = count(image, 0, image.height(), [](int, QRgb p) { return qAlpha(p) > 0; });
                EXPECT_GT(drawn, image.width() * image.height() / 4) << "scale " << scale;
            }
        }
    }
}

// Set in Liberation Sans; a wider fallback font would spill dark ink over a bar's rounded ends.
TEST(Pictures, WordsStayInsideTheirBars) {
    EXPECT_TRUE(QFontDatabase::hasFamily(u"Liberation Sans"_s));
    const auto ink = [](QRgb p) { return qAlpha(p) == 255 && std::max({qRed(p), qGreen(p), qBlue(p)}) < 40; };
    for (const QString& bar : kBars.split(u' ')) {
        const QImage image = render(u"buttons/"_s + bar, QSize(80, 28));
        EXPECT_EQ(count(image, 3, 25, [&](int x, QRgb p) { return ink(p) && (x < 6 || x >= 74); }), 0)
            << bar.toStdString();
        EXPECT_GT(count(image, 3, 25, [&](int, QRgb p) { return ink(p); }), 40) << bar.toStdString();
    }
}

TEST(Pictures, StoreHandsOutEveryPicture) {
    QList<QIcon> icons;
    icons << Plaatjes::Img(0) << Plaatjes::Img(1) << Plaatjes::Img(2) << Plaatjes::selectieButton()
          << Plaatjes::selectieAllButton() << Plaatjes::okButton() << Plaatjes::cancelButton()
          << Plaatjes::aboutIcon() << Plaatjes::aboutBanner() << Plaatjes::applicationIcon();
    for (const int i : {1, 2, 3, 4, 5, 6, 7, 9}) {
        icons << Plaatjes::commandIcon(i) << Plaatjes::playerButton(1 + i % 4)
              << Plaatjes::songInfoButton(1 + i % 2) << Plaatjes::playlistEditButton(1 + i % 2);
    }
    for (qsizetype i = 0; i < icons.size(); ++i) {
        EXPECT_FALSE(icons[i].pixmap(32).isNull()) << i;
    }
    EXPECT_TRUE(Plaatjes::Img(3).isNull() && Plaatjes::commandIcon(8).isNull() &&
                Plaatjes::playerButton(5).isNull());
    // Img 0 is the pause button's design picture, which it shows again after resuming; Img 1 differs.
    const QImage pauze = Plaatjes::playerButton(3).pixmap(QSize(80, 28)).toImage();
    EXPECT_EQ(Plaatjes::Img(0).pixmap(QSize(80, 28)).toImage(), pauze);
    EXPECT_NE(Plaatjes::Img(1).pixmap(QSize(80, 28)).toImage(), pauze);
}

// The store draws its pictures itself (parsing each once, when first shown); they must come out
// exactly as Qt's own SVG icon engine draws them: at other sizes and aspect ratios too, at 1x and
// 2x, in every mode, and painted into a button's rectangle.
TEST(SvgIconEngine, SamePixelsAsQtsOwnSvgEngine) {
    const QStringList pictures = builtInPictures();
    ASSERT_GE(pictures.size(), 25);
    for (const QString& path : pictures) {
        SCOPED_TRACE(path.toStdString());
        const QIcon ours = Plaatjes::fromResource(path);
        const QIcon qts(path);
        for (const QSize size : {QSvgRenderer(path).defaultSize(), QSize(50, 20), QSize(17, 40)}) {
            EXPECT_EQ(ours.actualSize(size), qts.actualSize(size));
            for (const qreal dpr : {1.0, 2.0}) {
                for (const QIcon::Mode mode :
                     {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
                    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " at " << dpr
                                                    << "x, mode " << int(mode));
                    const QPixmap expected = qts.pixmap(size, dpr, mode);
                    const QPixmap got = ours.pixmap(size, dpr, mode);
                    EXPECT_EQ(got.devicePixelRatio(), expected.devicePixelRatio());
                    EXPECT_EQ(got.toImage(), expected.toImage());
                }
                const QRect button(QPoint(3, 5), size + QSize(6, 2));
                EXPECT_EQ(paintedBy(ours, button, dpr, QIcon::Disabled),
                          paintedBy(qts, button, dpr, QIcon::Disabled));
            }
        }
    }
}

TEST(SvgIconEngine, MissingOrBrokenDrawingGivesNothingAndNoCrash) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString broken = dir.filePath(u"kapot.svg"_s);
    ASSERT_TRUE(fixtures::writeFile(broken, R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height=)"));
    for (const QString& path : {u":/bestaat/niet.svg"_s, broken, dir.path()}) {
        SCOPED_TRACE(path.toStdString());
        const QIcon icon(new SvgIconEngine(path));
        EXPECT_TRUE(icon.isNull() && icon.pixmap(QSize(32, 32), 2.0, QIcon::Disabled).isNull() &&
                    icon.actualSize(QSize(32, 32)).isEmpty() &&
                    SvgIconEngine::render(path, QSize(32, 32)).isNull());
        EXPECT_EQ(paintedBy(icon, QRect(0, 0, 32, 32), 1.0, QIcon::Normal),
                  paintedBy(QIcon(), QRect(0, 0, 32, 32), 1.0, QIcon::Normal));
    }
}

// The logo drawn on another thread is the picture Img 2 gives; asked at another size or ratio than
// was started, or a second time, it is drawn then.
TEST(SvgIconEngine, BuiltInLogoDrawnAheadIsImgTwo) {
    const QSize size(200, 200);
    for (const qreal dpr : {1.0, 2.0}) {
        SCOPED_TRACE(dpr);
        const QPixmap expected = Plaatjes::Img(2).pixmap(size, dpr);
        Plaatjes::startBuiltInLogo(size, dpr);
        const QPixmap ahead = Plaatjes::builtInLogo(size, dpr);
        EXPECT_EQ(ahead.devicePixelRatio(), expected.devicePixelRatio());
        EXPECT_EQ(ahead.toImage(), expected.toImage());
        EXPECT_EQ(Plaatjes::builtInLogo(size, dpr).toImage(), expected.toImage());

        Plaatjes::startBuiltInLogo(QSize(100, 100), dpr);
        EXPECT_EQ(Plaatjes::builtInLogo(size, dpr).toImage(), expected.toImage());
    }
}
