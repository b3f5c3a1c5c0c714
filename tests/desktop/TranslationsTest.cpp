// Qt's own button texts follow the user's language; run under a Dutch locale (see CMakeLists).
#include "desktop/QtTranslations.h"
#include "support/Modal.h"
#include "widgets/MessageKit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The texts of the Yes and No buttons of the program's question box, answered No.
QStringList questionButtonTexts() {
    QStringList texts;
    const auto answer = testsupport::onModal<QMessageBox>([&texts](QMessageBox* box) {
        texts << box->button(QMessageBox::Yes)->text() << box->button(QMessageBox::No)->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(widgets::askYesNo(nullptr, u" Delete"_s, u"Wilt u het bestand 'Jazz' verwijderen?"_s));
    return texts;
}

TEST(QtTranslations, StandardButtonsReadJaAndNeeOnADutchSystemAndStayEnglishOnAnEnglishOne) {
    desktop::installQtTranslations(*qApp, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(questionButtonTexts(), QStringList({u"&Yes"_s, u"&No"_s}));

    ASSERT_EQ(QLocale::system().language(), QLocale::Dutch) << "run with LANG=nl_NL.UTF-8";
    EXPECT_TRUE(desktop::installQtTranslations(*qApp));
    EXPECT_EQ(questionButtonTexts(), QStringList({u"&Ja"_s, u"&Nee"_s}));
    EXPECT_FALSE(desktop::installQtTranslations(*qApp, QLocale(QLocale::Icelandic, QLocale::Iceland)));
}

} // namespace
