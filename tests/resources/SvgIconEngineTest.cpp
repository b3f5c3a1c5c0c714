#include "widgets/SvgIconEngine.h"
#include "support/Fixtures.h"
#include "widgets/Plaatjes.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList builtInPictures() {
    Plaatjes::applicationIcon(); // registers the pictures
    QStringList found;
    QDirIterator it(u":/"_s, {u"*.svg"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.startsWith(u":/qt-project.org"_s)) {
            found << path;
        }
    }
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
        const QSize designed = QSvgRenderer(path).defaultSize();
        for (const QSize size : {designed, QSize(50, 20), QSize(17, 40)}) {
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
        EXPECT_TRUE(icon.pixmap(QSize(32, 32), 2.0, QIcon::Disabled).isNull());
        EXPECT_TRUE(icon.actualSize(QSize(32, 32)).isEmpty());
        const QImage painted = paintedBy(icon, QRect(0, 0, 32, 32), 1.0, QIcon::Normal);
        EXPECT_EQ(painted, paintedBy(QIcon(), QRect(0, 0, 32, 32), 1.0, QIcon::Normal));
        EXPECT_TRUE(icon.isNull());
        EXPECT_TRUE(SvgIconEngine::render(path, QSize(32, 32)).isNull());
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
