#include "appearance/About.h"
#include "appearance/AppearanceController.h"
#include "common/SettingsFile.h"
#include "support/MainWindow.h"

#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolTip>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace testsupport;

namespace {

const auto colour = [](QWidget* w, QPalette::ColorRole role) { return w->palette().color(role); };
const auto label = [](QWidget* e, int i) { return e->findChild<QLabel*>(u"Label%1"_s.arg(i))->text(); };
void setBars(QDialog* editor, int r, int g, int b) {
    int i = 1;
    for (int v : {r, g, b}) {
        editor->findChild<QScrollBar*>(u"Scroll_%1"_s.arg(i++))->setValue(v);
    }
}
const auto press = [](QDialog* e, const char* b) { e->findChild<QPushButton*>(QLatin1String(b))->click(); };

class Appearance : public MainWindowTest {
protected:
    // Clicks control `name` at `pos` where a person would: on whatever widget shows there.
    void click(const char* name, QPoint pos, Qt::MouseButton button) {
        const QPoint p = control<QWidget>(QLatin1String(name))->mapTo(m_main.get(), pos);
        QWidget* hit = m_main->childAt(p);
        ASSERT_NE(hit, nullptr);
        QTest::mouseClick(hit, button, Qt::NoModifier, hit->mapFrom(m_main.get(), p));
        QTest::qWait(1);
    }
    // Right-click; `act` runs on the colour editor, which is closed if still open. Its caption.
    QString rightClick(const char* name, QPoint pos, const std::function<void(QDialog*)>& act = {}) {
        QString title;
        const auto editor = onModal<QDialog>([&title, act](QDialog* e) {
            title = e->windowTitle();
            act ? act(e) : void();
        });
        click(name, pos, Qt::RightButton);
        return title;
    }
    std::array<bool, 4> flags() const {
        const std::optional<::Pane> t = m_main->state().colourTarget;
        return {t == ::Pane::Left, t == ::Pane::Right, t == ::Pane::InfoBars, t == ::Pane::Texts};
    }
    QPoint onBar() { // Label6 near its right end, clear of the info text
        auto* bar = control<QWidget>(u"Label6"_s);
        return {bar->width() - 20, bar->height() / 2};
    }
    struct Pane {
        const char* name;
        QPoint pos;
        const char* caption;
        ColourTriple Settings::*triple;
        QPalette::ColorRole role;
        QStringList controls;
    };
    // In the order of the flags.
    std::vector<Pane> panes() {
        // clang-format off
        return {{"List1", {10, 10}, " Kleuren links", &Settings::leftColour,
                 QPalette::Base, {"Drive1", "Dir1", "List1"}},
                {"List2", {10, 80}, " Kleuren rechts", &Settings::rightColour,
                 QPalette::Base, {"List2", "Text1"}},
                {"Label6", onBar(), " Kleuren infobalken", &Settings::infoBarColour,
                 QPalette::Window, {"Label1", "Label6", "Label9"}},
                {"InfoLabel", {3, 3}, " Kleuren teksten", &Settings::textColour,
                 QPalette::WindowText, {"TellerLabel", "InfoLabel", "Label10"}}};
        // clang-format on
    }
    QStringList chooseLogo(const QString& path) {
        QStringList filters;
        const auto chooser = onModal<QFileDialog>([path, &filters](QFileDialog* dialog) {
            filters = dialog->nameFilters();
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::mouseDClick(control<QWidget>(u"Logo"_s), Qt::LeftButton);
        return filters;
    }
    // Answers the advertisement box with `text`, noting whether it showed the whole current text.
    bool m_offeredWhole = false;
    void answerAdvert(const QString& text, bool accept = true) {
        const auto input = onModal<QInputDialog>([this, text, accept](QInputDialog* box) {
            auto* edit = box->findChild<QLineEdit*>();
            m_offeredWhole = edit->width() > edit->fontMetrics().horizontalAdvance(box->textValue());
            box->setTextValue(text);
            accept ? box->accept() : box->reject();
        });
        QTest::mouseDClick(control<QWidget>(u"ReclameLabel"_s), Qt::LeftButton);
    }
};

} // namespace

TEST_F(Appearance, OnlyARightClickOpensTheColourEditorWithTheFlagOfItsPane) {
    const std::vector<Pane> all = panes();
    for (size_t t = 0; t < all.size(); ++t) {
        {
            ModalAnswerer none;
            click(all[t].name, all[t].pos, Qt::LeftButton);
            click(all[t].name, all[t].pos, Qt::MiddleButton);
            QTest::qWait(10);
            EXPECT_TRUE(none.seen().isEmpty()) << all[t].name;
        }
        std::array<bool, 4> during{}, expected{};
        expected[t] = true;
        EXPECT_EQ(rightClick(all[t].name, all[t].pos, [&](QDialog*) { during = flags(); }),
                  QLatin1String(all[t].caption));
        EXPECT_EQ(during, expected) << all[t].name;
        EXPECT_EQ(flags(), (std::array<bool, 4>{}));
    }
    // The bar's tip shows beside the info text; a long song name running there is the text.
    const QPoint p = control<QWidget>(u"Label6"_s)->mapTo(m_main.get(), onBar());
    QWidget* hit = m_main->childAt(p);
    QHelpEvent tip(QEvent::ToolTip, hit->mapFrom(m_main.get(), p), m_main->mapToGlobal(p));
    QCoreApplication::sendEvent(hit, &tip);
    EXPECT_EQ(QToolTip::text(), u" Informatie "_s);
    QToolTip::hideText();
    m_main->SetInfoLine(QString(120, QLatin1Char('W')));
    if (m_main->childAt(p) == control<QWidget>(u"InfoLabel"_s)) {
        EXPECT_EQ(rightClick("Label6", onBar()), u" Kleuren teksten"_s);
    }
}

TEST_F(Appearance, CancelAndClosingKeepTheColoursAndOkRecoloursOnlyItsPane) {
    Settings expected = m_main->state().settings;
    const QColor list2 = colour(control<QWidget>(u"List2"_s), QPalette::Base);
    for (const auto& close : std::vector<std::function<void(QDialog*)>>{
             [](QDialog* e) { press(e, "CancelKnop"); }, [](QDialog* e) { e->close(); },
             [](QDialog* e) { QTest::keyClick(e, Qt::Key_Escape); }}) {
        rightClick("List2", {10, 80}, [&close](QDialog* e) {
            setBars(e, 10, 20, 30);
            close(e);
        });
        EXPECT_EQ(std::tuple(flags(), m_main->state().settings,
                             colour(control<QWidget>(u"List2"_s), QPalette::Base)),
                  std::tuple(std::array<bool, 4>{}, expected, list2));
    }
    const std::vector<Pane> all = panes();
    QColor infoBack;
    for (int i = 0; i < 4; ++i) {
        infoBack = colour(control<QWidget>(u"InfoLabel"_s), QPalette::Window);
        rightClick(all[i].name, all[i].pos, [i](QDialog* e) {
            setBars(e, 250, i, 7);
            press(e, "OkKnop");
        });
        expected.*all[i].triple = ColourTriple{250, i, 7};
        EXPECT_EQ(std::pair(m_main->state().settings, flags()), std::pair(expected, std::array<bool, 4>{}));
    }
    // Each pane kept its own colour while the later ones changed.
    for (int i = 0; i < 4; ++i) {
        for (const QString& name : all[i].controls) {
            EXPECT_EQ(colour(control<QWidget>(name), all[i].role), QColor(250, i, 7)) << name.toStdString();
        }
    }
    EXPECT_EQ(colour(control<QWidget>(u"InfoLabel"_s), QPalette::Window), infoBack); // texts came last
    const QImage shown = control<QWidget>(u"List2"_s)->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(250, 1, 7));
}

TEST_F(Appearance, TheEditorShowsPlainClampedValuesAndIsPlacedByTheClick) {
    m_main->state().settings.leftColour = ColourTriple{300, -5, 128}; // as a hand-edited file may have it
    QStringList values;
    QColor preview, preview2;
    QPoint topLeft;
    rightClick("List1", {30, 40}, [&](QDialog* e) {
        values << label(e, 5) << label(e, 6) << label(e, 7);
        setBars(e, 0, 7, 42);
        values << label(e, 5) << label(e, 6) << label(e, 7);
        preview = e->findChild<QLabel*>(u"Label8"_s)->palette().color(QPalette::Window);
        // The keyboard moves the focused bar the way the key points; Tab goes to the next bar.
        auto* red = e->findChild<QScrollBar*>(u"Scroll_1"_s);
        EXPECT_EQ(e->focusWidget(), red);
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_Left}) {
            QTest::keyClick(e->focusWidget(), key);
        }
        values << label(e, 5);
        QTest::keyClick(e->focusWidget(), Qt::Key_Tab);
        QTest::keyClick(e->focusWidget(), Qt::Key_Down);
        values << label(e, 6);
        preview2 = e->findChild<QLabel*>(u"Label8"_s)->palette().color(QPalette::Window);
        topLeft = e->frameGeometry().topLeft();
    });
    EXPECT_EQ(values, QStringList({"255", "0", "128", "0", "7", "42", "2", "6"}));
    EXPECT_EQ(QList<QColor>({preview, preview2}), QList<QColor>({QColor(0, 7, 42), QColor(2, 6, 42)}));
    EXPECT_EQ(m_main->state().settings.leftColour, (ColourTriple{300, -5, 128}));
    EXPECT_EQ(topLeft, m_main->screen()->geometry().topLeft() + QPoint(30, 40 + 160));
}

TEST_F(Appearance, TheLogoIsStretchedFromASmallPictureAndAPipeIsNeverOpened) {
    auto* logo = control<QLabel>(u"Logo"_s);
    const QString pipe = folder() + u"/pijp.jpg"_s;
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QImage before = logo->grab().toImage();
    chooseLogo(pipe); // would block for good if it opened the pipe
    EXPECT_EQ(logo->grab().toImage(), before);

    const QString path = folder() + u"/klein.bmp"_s;
    QImage picture(50, 80, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 90));
    ASSERT_TRUE(picture.save(path));
    EXPECT_EQ(chooseLogo(path).value(0), u"Logo ( Jpg, Bmp, Gif ) (*.jpg *.bmp *.gif)"_s);
    EXPECT_EQ(m_main->state().settings.logoPath, path);
    EXPECT_EQ(logo->size(), QSize(200, 200));
    const QImage shown = logo->grab().toImage();
    QImage filled(QSize(200, 200) * logo->devicePixelRatioF(), shown.format());
    filled.fill(QColor(200, 30, 90));
    EXPECT_EQ(shown, filled);

    // A picture that declares more than 8,192 pixels on a side is refused from its header, however
    // small its file and whatever memory limit the image reader has of its own.
    const QString huge = folder() + u"/reus.png"_s;
    QImage hugePicture(8193, 8193, QImage::Format_Mono);
    hugePicture.fill(1);
    ASSERT_TRUE(hugePicture.save(huge));
    const int readerLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(0);
    EXPECT_FALSE(AppearanceController::loadLogo(logo, huge));
    QImageReader::setAllocationLimit(readerLimit);
    EXPECT_EQ(logo->grab().toImage(), shown);
}

TEST_F(Appearance, TheAdvertisementTextKeepsTheOldOnAnEmptyAnswerAndShowsOnOneLineAsPlainText) {
    auto* reclame = control<QLabel>(u"ReclameLabel"_s);
    const QString old = m_main->state().settings.advertText;
    const QString shown = reclame->text();
    answerAdvert(QString());
    answerAdvert(u"niet bewaren"_s, false);
    EXPECT_EQ(QStringList({m_main->state().settings.advertText, reclame->text()}), QStringList({old, shown}));
    // The box offers a long current text whole, from its start.
    m_main->state().settings.advertText =
        u"Bezoek onze winkel in de Dorpsstraat voor de beste muziek van de stad"_s;
    answerAdvert(u"Eerste regel\r\ntweede\nderde\rvierde"_s);
    EXPECT_EQ(std::tuple(m_offeredWhole, m_main->state().settings.advertText, reclame->text()),
              std::tuple(true, u"Eerste regel tweede derde vierde"_s, u"Eerste regel tweede derde vierde"_s));
    // A straight double quote cannot live in the settings file: shown as it will be kept.
    answerAdvert(u"Zeg \"hoi\""_s);
    EXPECT_EQ(reclame->text(), u"Zeg \u201choi\u201d"_s);
    EXPECT_EQ(m_main->state().settings.advertText, reclame->text());

    // Markup is shown as typed, never followed, whether typed or read from the file at start-up.
    const QString markup = u"<b>Vet</b><img src=nergens.png>"_s;
    const auto showsTheCharacters = [this, &markup] {
        auto* label = control<QLabel>(u"ReclameLabel"_s); // a new one after the restart
        EXPECT_EQ(label->text(), markup);
        EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(markup));
    };
    answerAdvert(markup);
    showsTheCharacters();
    Settings s;
    s.advertText = markup;
    ASSERT_TRUE(common::SaveSettings(common::settingsFilePath(folder()), s));
    m_main.reset();
    startMain();
    showsTheCharacters();
}

TEST_F(Appearance, AboutOpensFitsItsTextAndClosesLeavingEverythingAsItWas) {
    m_main->playlist().append(u"Een"_s, u"/m/Een.mp3"_s);
    m_player.calls.clear();
    const Settings settings = m_main->state().settings;
    const QString info = control<QLabel>(u"InfoLabel"_s)->text();
    const bool helpHidden = control<QPlainTextEdit>(u"Text1"_s)->isHidden();
    for (bool byFrame : {false, true}) {
        QString text, title;
        const auto answer = onModal<QDialog>([&](QDialog* about) {
            title = about->windowTitle();
            auto* label4 = about->findChild<QLabel*>(u"Label4"_s);
            text = label4->text();
            EXPECT_LE(label4->heightForWidth(label4->width()), label4->height());
            for (QWidget* w : about->findChildren<QWidget*>()) {
                EXPECT_TRUE(about->rect().contains(w->geometry())) << w->objectName().toStdString();
            }
            byFrame ? void(about->close()) : about->findChild<QPushButton*>(u"OkKnop"_s)->click();
        });
        QTest::mouseClick(control<QWidget>(u"KnopBottom_1"_s), Qt::LeftButton);
        EXPECT_EQ(title, u" About..."_s);
        EXPECT_TRUE(text.startsWith(u"Programma voor het beheren en afspelen van Mp3 en Midi bestanden. "_s));
        EXPECT_TRUE(text.endsWith(QStringLiteral(TUNARA_VERSION)));
        EXPECT_TRUE(m_main->findChildren<About*>().isEmpty());
    }
    EXPECT_EQ(std::tuple(m_main->playlist().count(), m_player.calls, m_main->state().settings,
                         control<QLabel>(u"InfoLabel"_s)->text(),
                         control<QPlainTextEdit>(u"Text1"_s)->isHidden()),
              std::tuple(1, QStringList(), settings, info, helpHidden));
}
