#include "MainWindowFixture.h"
#include "ModalHelper.h"

#include "app/SettingsFile.h"
#include "appearance/AppearanceController.h"

#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QInputDialog>
#include <QLabel>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class LogoTest : public MainWindowFixture {
protected:
    QLabel* logo() { return control<QLabel>(QStringLiteral("Logo")); }

    QString picture(const QString& name, QSize size, const QColor& colour) {
        const QString path = folder() + QLatin1Char('/') + name;
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(path)) << path.toStdString();
        return path;
    }

    // Double-click on the logo; `choose` answers the file dialog (an empty path cancels).
    std::shared_ptr<modal::Outcome> chooseLogo(const QString& path, QStringList* filters = nullptr) {
        const auto outcome = modal::answer<QFileDialog>([path, filters](QFileDialog* dialog) {
            if (filters) {
                *filters = dialog->nameFilters();
            }
            if (path.isEmpty()) {
                dialog->reject();
            } else {
                dialog->selectFile(path);
                static_cast<QDialog*>(dialog)->accept();
                if (dialog->isVisible()) {
                    ADD_FAILURE() << "the dialog refused " << path.toStdString();
                    dialog->reject();
                }
            }
        });
        QTest::mouseDClick(logo(), Qt::LeftButton);
        return outcome;
    }
};

using AdvertTest = MainWindowFixture;

bool allPixels(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

TEST_F(LogoTest, ASmallPictureIsStretchedOverTheWholeSquare) {
    const QString path = picture(QStringLiteral("klein.bmp"), QSize(50, 80), QColor(200, 30, 90));
    QStringList filters;
    ASSERT_TRUE(chooseLogo(path, &filters)->seen);
    ASSERT_FALSE(filters.isEmpty());
    EXPECT_EQ(filters.first(), QStringLiteral("Logo ( Jpg, Bmp, Gif ) (*.jpg *.bmp *.gif)"));
    EXPECT_EQ(m_main->state().settings.logoPath, path);
    EXPECT_EQ(logo()->size(), QSize(200, 200));
    const QImage shown = logo()->grab().toImage();
    EXPECT_EQ(shown.size(), QSize(200, 200) * logo()->devicePixelRatioF());
    EXPECT_TRUE(allPixels(shown, QColor(200, 30, 90)));
}

TEST_F(LogoTest, JpegAndGifLoadAsWell) {
    const QString jpg = picture(QStringLiteral("foto.jpg"), QSize(640, 480), QColor(0, 0, 255));
    ASSERT_TRUE(chooseLogo(jpg)->seen);
    QColor centre = logo()->grab().toImage().pixelColor(100, 100);
    EXPECT_LT(centre.red(), 10);
    EXPECT_GT(centre.blue(), 245);
    // Qt writes no GIF: one green pixel, by hand.
    const QString gif = folder() + QStringLiteral("/punt.gif");
    QFile f(gif);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromHex("4749463839610100010080000000ff000000002c00000000010001000002024401003b"));
    f.close();
    ASSERT_TRUE(chooseLogo(gif)->seen);
    EXPECT_EQ(logo()->grab().toImage().pixelColor(199, 199), QColor(0, 255, 0));
}

TEST_F(LogoTest, CancellingKeepsLogoAndPath) {
    const QString path = picture(QStringLiteral("eerst.bmp"), QSize(10, 10), QColor(10, 10, 10));
    ASSERT_TRUE(chooseLogo(path)->seen);
    const QImage before = logo()->grab().toImage();
    ASSERT_TRUE(chooseLogo(QString())->seen);
    EXPECT_EQ(m_main->state().settings.logoPath, path);
    EXPECT_EQ(logo()->grab().toImage(), before);
}

TEST_F(LogoTest, AnUnreadablePictureKeepsTheLogoButStoresThePath) {
    const QImage before = logo()->grab().toImage();
    const QString broken = folder() + QStringLiteral("/kapot.jpg");
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("dit is geen plaatje");
    f.close();
    modal::Watchdog* watchdog = nullptr;
    const auto outcome = modal::answer<QFileDialog>([broken, &watchdog](QFileDialog* dialog) {
        dialog->selectFile(broken);
        static_cast<QDialog*>(dialog)->accept();
        watchdog = new modal::Watchdog; // any message after the dialog would be a fault
    });
    QTest::mouseDClick(logo(), Qt::LeftButton);
    QTest::qWait(20);
    ASSERT_TRUE(outcome->seen);
    ASSERT_NE(watchdog, nullptr);
    EXPECT_EQ(watchdog->count(), 0);
    delete watchdog;
    EXPECT_EQ(m_main->state().settings.logoPath, broken);
    EXPECT_EQ(logo()->grab().toImage(), before);
}

TEST_F(LogoTest, AbsurdPictureDimensionsAreRefused) {
    // A BMP header that claims 60000 x 60000 pixels and holds none of them.
    QByteArray bmp("BM");
    auto le32 = [&bmp](quint32 v) {
        for (int i = 0; i < 4; ++i) {
            bmp.append(char((v >> (8 * i)) & 0xff));
        }
    };
    auto le16 = [&bmp](quint16 v) {
        bmp.append(char(v & 0xff));
        bmp.append(char(v >> 8));
    };
    le32(54);
    le32(0);
    le32(54);
    le32(40);
    le32(60000);
    le32(60000);
    le16(1);
    le16(24);
    le32(0);
    le32(0);
    le32(2835);
    le32(2835);
    le32(0);
    le32(0);
    const QString path = folder() + QStringLiteral("/reus.bmp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bmp);
    f.close();
    const QImage before = logo()->grab().toImage();
    EXPECT_FALSE(AppearanceController::loadLogo(logo(), path));
    EXPECT_FALSE(AppearanceController::loadLogo(logo(), folder() + QStringLiteral("/bestaat-niet.bmp")));
    EXPECT_FALSE(AppearanceController::loadLogo(logo(), QString()));
    EXPECT_EQ(logo()->grab().toImage(), before);
}

TEST_F(LogoTest, ANamedPipeChosenAsLogoIsNotWaitedFor) {
    const QString pipe = folder() + QStringLiteral("/pijp.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QImage before = logo()->grab().toImage();
    modal::answer<QFileDialog>([pipe](QFileDialog* dialog) {
        dialog->selectFile(pipe);
        static_cast<QDialog*>(dialog)->accept();
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
    QTest::mouseDClick(logo(), Qt::LeftButton); // would block for good if it opened the pipe
    EXPECT_FALSE(AppearanceController::loadLogo(logo(), pipe));
    EXPECT_EQ(logo()->grab().toImage(), before);
}

TEST_F(LogoTest, OnlyALeftDoubleClickOpensTheDialog) {
    modal::Watchdog watchdog;
    QTest::mouseDClick(logo(), Qt::RightButton);
    QTest::mouseClick(logo(), Qt::LeftButton);
    QTest::qWait(10);
    EXPECT_EQ(watchdog.count(), 0);
}

TEST_F(AdvertTest, TheInputBoxOffersTheCurrentTextAndTakesANewOne) {
    auto* reclame = control<QLabel>(QStringLiteral("ReclameLabel"));
    const QString old = m_main->state().settings.advertText;
    QString offered, prompt;
    const auto outcome = modal::answer<QInputDialog>([&](QInputDialog* box) {
        offered = box->textValue();
        prompt = box->labelText();
        box->setTextValue(QStringLiteral("  Mijn winkel, open op zondag  "));
        box->accept();
    });
    QTest::mouseDClick(reclame, Qt::LeftButton);
    ASSERT_TRUE(outcome->seen);
    EXPECT_EQ(outcome->title, QStringLiteral(" Mijn tekst"));
    EXPECT_EQ(prompt, QStringLiteral("Geef uw reclame tekst..."));
    EXPECT_EQ(offered, old);
    // Taken as typed, blanks and commas included.
    EXPECT_EQ(reclame->text(), QStringLiteral("  Mijn winkel, open op zondag  "));
    EXPECT_EQ(m_main->state().settings.advertText, QStringLiteral("  Mijn winkel, open op zondag  "));
}

TEST_F(AdvertTest, AnEmptyAnswerOrCancelKeepsTheOldText) {
    auto* reclame = control<QLabel>(QStringLiteral("ReclameLabel"));
    const QString old = m_main->state().settings.advertText;
    const QString shown = reclame->text();
    const auto emptied = modal::answer<QInputDialog>([](QInputDialog* box) {
        box->setTextValue(QString());
        box->accept();
    });
    QTest::mouseDClick(reclame, Qt::LeftButton);
    EXPECT_TRUE(emptied->seen);
    EXPECT_EQ(m_main->state().settings.advertText, old);
    EXPECT_EQ(reclame->text(), shown);

    const auto cancelled = modal::answer<QInputDialog>([](QInputDialog* box) {
        box->setTextValue(QStringLiteral("niet bewaren"));
        box->reject();
    });
    QTest::mouseDClick(reclame, Qt::LeftButton);
    EXPECT_TRUE(cancelled->seen);
    EXPECT_EQ(m_main->state().settings.advertText, old);

    // A straight double quote cannot live in the settings file: shown as it will be kept.
    modal::answer<QInputDialog>([](QInputDialog* box) {
        box->setTextValue(QStringLiteral("Zeg \"hoi\""));
        box->accept();
    });
    QTest::mouseDClick(reclame, Qt::LeftButton);
    EXPECT_EQ(reclame->text(), QStringLiteral("Zeg \u201choi\u201d"));
    EXPECT_EQ(m_main->state().settings.advertText, reclame->text());

    // Pasted line breaks: the label is one line, so they become blanks and nothing is cut off.
    modal::answer<QInputDialog>([](QInputDialog* box) {
        box->setTextValue(QStringLiteral("Eerste regel\r\ntweede\nderde\rvierde"));
        box->accept();
    });
    QTest::mouseDClick(reclame, Qt::LeftButton);
    EXPECT_EQ(m_main->state().settings.advertText, QStringLiteral("Eerste regel tweede derde vierde"));
    EXPECT_EQ(reclame->text(), m_main->state().settings.advertText);

    // Blanks only are a text like any other.
    modal::answer<QInputDialog>([](QInputDialog* box) {
        box->setTextValue(QStringLiteral("   "));
        box->accept();
    });
    QTest::mouseDClick(reclame, Qt::LeftButton);
    EXPECT_EQ(m_main->state().settings.advertText, QStringLiteral("   "));
}

TEST_F(AdvertTest, MarkupInTheTextIsShownAsTypedNeverFollowed) {
    // A picture the text names: read as markup, the label would load and show it (and an image
    // tag naming /dev/zero would never finish loading).
    const QString picture = folder() + QStringLiteral("/rood.bmp");
    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    ASSERT_TRUE(red.save(picture));
    // Unquoted: straight quotes would be made typographic and no longer name the file.
    const QString markup = QStringLiteral("<img src=%1>").arg(picture);
    const auto showsTheTextItself = [this, &markup] {
        auto* reclame = control<QLabel>(QStringLiteral("ReclameLabel"));
        EXPECT_EQ(reclame->text(), markup);
        const QImage shown = reclame->grab().toImage();
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                ASSERT_NE(shown.pixelColor(x, y), QColor(255, 0, 0)) << "the picture was loaded";
            }
        }
        // The characters themselves are drawn: the label needs the width of the whole text.
        EXPECT_GE(reclame->sizeHint().width(), reclame->fontMetrics().horizontalAdvance(markup));
    };

    // Typed into the input box.
    modal::answer<QInputDialog>([markup](QInputDialog* box) {
        box->setTextValue(markup);
        box->accept();
    });
    QTest::mouseDClick(control<QLabel>(QStringLiteral("ReclameLabel")), Qt::LeftButton);
    showsTheTextItself();

    // Read from the settings file at the next start.
    Settings s;
    s.advertText = markup;
    ASSERT_TRUE(SaveSettings(settingsFilePath(folder()), s));
    m_main.reset();
    startMain();
    showsTheTextItself();
}
