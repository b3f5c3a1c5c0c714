#include "MainWindowFixture.h"
#include "ModalHelper.h"

#include "appearance/About.h"
#include "playlist/PlaylistModel.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using AboutTest = MainWindowFixture;

struct AboutView {
    QString text;
    QSize image1, image2;
    QString okText;
};

} // namespace

TEST_F(AboutTest, OpensAndClosesLeavingEverythingAsItWas) {
    m_main->playlist().append(QStringLiteral("Een"), QStringLiteral("/m/Een.mp3"));
    m_main->playlist().append(QStringLiteral("Twee"), QStringLiteral("/m/Twee.mid"));
    m_player.calls.clear();
    const Settings settings = m_main->state().settings;
    const QString info = control<QLabel>(QStringLiteral("InfoLabel"))->text();
    const bool helpHidden = control<QPlainTextEdit>(QStringLiteral("Text1"))->isHidden();

    AboutView view;
    const auto outcome = modal::answer<QDialog>([&view](QDialog* about) {
        view.text = about->findChild<QLabel*>(QStringLiteral("Label4"))->text();
        view.image1 =
            about->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().deviceIndependentSize().toSize();
        view.image2 =
            about->findChild<QLabel*>(QStringLiteral("Image2"))->pixmap().deviceIndependentSize().toSize();
        auto* ok = about->findChild<QPushButton*>(QStringLiteral("OkKnop"));
        view.okText = ok->text();
        ok->click();
    });
    QTest::mouseClick(control<QWidget>(QStringLiteral("KnopBottom_1")), Qt::LeftButton);
    ASSERT_TRUE(outcome->seen);
    EXPECT_EQ(outcome->title, QStringLiteral(" About..."));
    EXPECT_TRUE(view.text.startsWith(
        QStringLiteral("Programma voor het beheren en afspelen van Mp3 en Midi bestanden. ")));
    EXPECT_TRUE(view.text.endsWith(QStringLiteral(TUNARA_VERSION)));
    EXPECT_EQ(view.image1, QSize(32, 32));
    EXPECT_EQ(view.image2, QSize(246, 44));
    EXPECT_EQ(view.okText, QStringLiteral("Ok"));

    // Nothing of it is left, and nothing else changed.
    EXPECT_TRUE(m_main->findChildren<About*>().isEmpty());
    EXPECT_EQ(m_main->playlist().count(), 2);
    EXPECT_EQ(m_main->playlist().entry(1).fullPath, QStringLiteral("/m/Twee.mid"));
    EXPECT_TRUE(m_player.calls.isEmpty());
    EXPECT_EQ(m_main->state().settings, settings);
    EXPECT_EQ(control<QLabel>(QStringLiteral("InfoLabel"))->text(), info);
    EXPECT_EQ(control<QPlainTextEdit>(QStringLiteral("Text1"))->isHidden(), helpHidden);
    EXPECT_FALSE(m_main->state().playing);
}

TEST_F(AboutTest, EveryOpeningIsFreshAndTheFrameClosesIt) {
    for (int i = 0; i < 2; ++i) {
        const auto outcome = modal::answer<QDialog>([](QDialog* about) { about->close(); });
        QTest::mouseClick(control<QWidget>(QStringLiteral("KnopBottom_1")), Qt::LeftButton);
        ASSERT_TRUE(outcome->seen);
        EXPECT_TRUE(m_main->findChildren<About*>().isEmpty());
    }
    // The text does not depend on anything but the build.
    EXPECT_EQ(About::aboutText(), About::aboutText());
    EXPECT_TRUE(About::aboutText().contains(QStringLiteral("Versie ")));
}

TEST_F(AboutTest, EveryWordOfTheTextAndTheButtonAreInsideTheWindow) {
    About about(m_main.get());
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    auto* label4 = about.findChild<QLabel*>(QStringLiteral("Label4"));
    ASSERT_NE(label4, nullptr);
    // Word-wrapped in its 3300 x 750 twip box, the paragraph needs no more height than it has.
    EXPECT_LE(label4->heightForWidth(label4->width()), label4->height())
        << label4->heightForWidth(label4->width()) << " > " << label4->height();
    for (QWidget* w : about.findChildren<QWidget*>()) {
        EXPECT_TRUE(about.rect().contains(w->geometry())) << w->objectName().toStdString();
    }
}
