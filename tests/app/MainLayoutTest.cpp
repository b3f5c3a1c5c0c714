#include "app/Main.h"
#include "support/FakePlayer.h"

#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The layout table in twips (15 twips are one pixel), positions relative to the holder.
struct Placed {
    const char* name;
    const char* parent;
    int left, top, width, height;
    // The drawn size of text labels, sliders and the drive list is theirs; only the place is fixed.
    bool sizeFixed = true;
};

const Placed kLayout[] = {
    {"Frame1", "Main", 75, 30, 15120, 615},
    {"ReclameLabel", "Frame1", 150, 225, 12000, 285, false},
    {"Frame2", "Main", 75, 660, 6900, 8550},
    {"Drive1", "Frame2", 120, 210, 3360, 390, false},
    {"Dir1", "Frame2", 120, 615, 3345, 2790},
    {"Logoback", "Frame2", 3570, 210, 3195, 3195},
    {"Logo", "Logoback", 75, 75, 3000, 3000},
    {"Label1", "Frame2", 120, 3480, 6660, 420},
    {"TellerLabel", "Frame2", 210, 3510, 2295, 315, false},
    {"List1", "Frame2", 120, 3975, 6660, 3870},
    {"Label5", "Frame2", 120, 7950, 2460, 480},
    {"KnopL_1", "Frame2", 150, 7980, 1200, 420},
    {"KnopL_2", "Frame2", 1350, 7980, 1200, 420},
    {"Frame3", "Main", 7110, 660, 1050, 8550},
    {"Label2", "Frame3", 180, 6000, 675, 1290},
    {"SelectieKnop", "Frame3", 210, 6030, 615, 615},
    {"SelectieAllKnop", "Frame3", 210, 6645, 615, 615},
    {"Frame4", "Main", 8295, 660, 6900, 8550},
    {"Label9", "Frame4", 120, 210, 3960, 435},
    {"Label10", "Frame4", 240, 255, 2355, 315, false},
    {"Label11", "Frame4", 4200, 210, 2565, 435},
    {"Ballans", "Frame4", 4245, 255, 2040, 330, false},
    {"Label12", "Frame4", 6480, 300, 135, 285, false},
    {"List2", "Frame4", 120, 750, 6645, 7080},
    {"Text1", "Frame4", 120, 750, 6645, 7080},
    {"Label3", "Frame4", 120, 7950, 2460, 480},
    {"KnopR_1", "Frame4", 150, 7980, 1200, 420},
    {"KnopR_2", "Frame4", 1350, 7980, 1200, 420},
    {"Label4", "Frame4", 2700, 7950, 4080, 480},
    {"Slider1", "Frame4", 2745, 8010, 3150, 345, false},
    {"PosLabel", "Frame4", 5970, 8055, 630, 285, false},
    {"Frame6", "Main", 75, 9210, 15120, 795},
    {"Label6", "Frame6", 105, 225, 8100, 450},
    {"InfoLabel", "Frame6", 210, 270, 4275, 315, false},
    {"BackKnoppen", "Frame6", 8340, 210, 4860, 480},
    {"Knop_1", "Frame6", 8370, 240, 1200, 420},
    {"Knop_2", "Frame6", 9570, 240, 1200, 420},
    {"Knop_3", "Frame6", 10770, 240, 1200, 420},
    {"Knop_4", "Frame6", 11970, 240, 1200, 420},
    {"Label7", "Frame6", 13290, 210, 1710, 480},
    {"Slider2", "Frame6", 13335, 270, 1260, 345, false},
    {"VolumeLabel", "Frame6", 14565, 315, 270, 285, false},
    {"Frame5", "Main", 75, 10005, 15120, 990},
    {"Label13", "Frame5", 135, 210, 3360, 660},
    {"KnopBottom_1", "Frame5", 825, 240, 660, 600},
    {"KnopBottom_2", "Frame5", 1485, 240, 660, 600},
    {"KnopBottom_3", "Frame5", 2145, 240, 660, 600},
    {"KnopBottom_4", "Frame5", 2805, 240, 660, 600},
    {"Label8", "Frame5", 8355, 210, 2040, 660},
    {"KnopBottom_5", "Frame5", 8385, 240, 660, 600},
    {"KnopBottom_6", "Frame5", 9045, 240, 660, 600},
    {"KnopBottom_7", "Frame5", 9705, 240, 660, 600},
    {"ExitLabel", "Frame5", 14280, 210, 720, 660},
    {"KnopBottom_9", "Frame5", 14310, 240, 660, 600},
};

class MainLayout : public ::testing::Test {
protected:
    QWidget* find(const char* name) const { return m_main.findChild<QWidget*>(QLatin1String(name)); }

    QTemporaryDir m_dir;
    FakePlayer m_player;
    Main m_main{m_dir.path(), m_player};
};

TEST_F(MainLayout, EveryControlOfTheTableIsInItsPlace) {
    for (const Placed& p : kLayout) {
        SCOPED_TRACE(p.name);
        QWidget* w = find(p.name);
        ASSERT_NE(w, nullptr);
        ASSERT_NE(w->parentWidget(), nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), QLatin1String(p.parent));
        const QRect expected(p.left / 15, p.top / 15, p.width / 15, p.height / 15);
        EXPECT_EQ(w->pos(), expected.topLeft());
        if (p.sizeFixed) {
            EXPECT_EQ(w->size(), expected.size());
        } else {
            EXPECT_GE(w->width(), expected.width());
        }
    }
}

TEST_F(MainLayout, ClockKeepsItsRightEdge) {
    QWidget* klok = find("Klok");
    ASSERT_NE(klok, nullptr);
    EXPECT_EQ(klok->parentWidget()->objectName(), QStringLiteral("Frame1"));
    EXPECT_EQ(klok->y(), 225 / 15);
    EXPECT_EQ(klok->x() + klok->width(), (14370 + 630) / 15);
}

TEST_F(MainLayout, TextLabelsDoNotClipTheirLongestTexts) {
    const MainControls& c = m_main.controls();
    const auto fits = [](QLabel* label, const QString& text) {
        return label->fontMetrics().horizontalAdvance(text) <= label->width();
    };
    EXPECT_TRUE(fits(c.Label12, QStringLiteral("-10")));
    EXPECT_TRUE(fits(c.VolumeLabel, QStringLiteral("10")));
    EXPECT_TRUE(fits(c.PosLabel, QStringLiteral("12:45")));
    EXPECT_TRUE(fits(c.TellerLabel, QStringLiteral("32767 Songs / Mp3, Midi")));
    EXPECT_TRUE(fits(c.Label10, QStringLiteral("32767 Songs in de playlist")));
    EXPECT_TRUE(fits(c.ReclameLabel, QStringLiteral("Hier kan uw reclame tekst staan...")));
    // ... and stay on the bar or backdrop behind them.
    EXPECT_LE(c.TellerLabel->geometry().right(), c.Label1->geometry().right());
    EXPECT_LE(c.Label10->geometry().right(), c.Label9->geometry().right());
    EXPECT_LE(c.InfoLabel->geometry().right(), c.Label6->geometry().right());
    EXPECT_LE(c.PosLabel->geometry().right(), c.Label4->geometry().right());
    EXPECT_LE(c.Label12->geometry().right(), c.Label11->geometry().right());
    EXPECT_LE(c.VolumeLabel->geometry().right(), c.Label7->geometry().right());
}

TEST_F(MainLayout, HiddenListsLieUnderTheirVisibleOnes) {
    const MainControls& c = m_main.controls();
    EXPECT_EQ(c.BackList->objectName(), QStringLiteral("BackList"));
    EXPECT_EQ(c.File1->objectName(), QStringLiteral("File1"));
    EXPECT_TRUE(c.BackList->isHidden());
    EXPECT_TRUE(c.File1->isHidden());
    EXPECT_TRUE(c.Text1->isHidden());
    EXPECT_EQ(c.Text1->geometry(), c.List2->geometry());
}

} // namespace
