#include "app/Main.h"

#include "playlist/PlaylistModel.h"
#include "widgets/ElidingLabel.h"
#include "widgets/FormKit.h"
#include "widgets/PictureButton.h"
#include "widgets/Plaatjes.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStringListModel>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

// The main window's layout table: every control at its place (twips), then its designed look.

using widgets::place;
using widgets::twipRect;

namespace {

constexpr int kComicPointSize = 10;
constexpr int kArialPointSize = 8;

QGroupBox* frame(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* f = place<QGroupBox>(parent, name, left, top, width, height);
    f->setFlat(false);
    return f;
}

QLabel* backdrop(QWidget* parent, const char* name, int left, int top, int width, int height) {
    return widgets::backdrop(parent, name, left, top, width, height, widgets::kBackdropColour);
}

PictureButton* pictureButton(QWidget* parent, const QString& name, const QRect& geometry, const QIcon& icon) {
    auto* b = new PictureButton(parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setIcon(icon);
    b->setIconSize(geometry.size());
    return b;
}

} // namespace

void Main::createControls() {
    MainControls& c = m_c;
    c.Main = this;

    // Top strip.
    c.Frame1 = frame(this, "Frame1", 75, 30, 15120, 615);
    c.ReclameLabel = place<QLabel>(c.Frame1, "ReclameLabel", 150, 225, 12000, 285);
    c.Klok = place<QLabel>(c.Frame1, "Klok", 14370, 225, 630, 285);

    // Left pane.
    c.Frame2 = frame(this, "Frame2", 75, 660, 6900, 8550);
    c.Drive1 = place<QComboBox>(c.Frame2, "Drive1", 120, 210, 3360, 390);
    c.Dir1 = place<QTreeView>(c.Frame2, "Dir1", 120, 615, 3345, 2790);
    c.Logoback = place<QFrame>(c.Frame2, "Logoback", 3570, 210, 3195, 3195);
    c.Logo = place<QLabel>(c.Logoback, "Logo", 75, 75, 3000, 3000);
    c.Label1 = backdrop(c.Frame2, "Label1", 120, 3480, 6660, 420);
    c.TellerLabel = place<QLabel>(c.Frame2, "TellerLabel", 210, 3510, 2295, 315);
    c.File1 = place<QListView>(c.Frame2, "File1", 120, 3975, 6660, 3870);
    c.File1->setVisible(false);
    c.List1 = place<QListView>(c.Frame2, "List1", 120, 3975, 6660, 3870);
    c.Label5 = backdrop(c.Frame2, "Label5", 120, 7950, 2460, 480);
    for (int i = 1; i <= 2; ++i) {
        c.KnopL[i] =
            pictureButton(c.Frame2, QStringLiteral("KnopL_%1").arg(i),
                          twipRect(150 + 1200 * (i - 1), 7980, 1200, 420), Plaatjes::songInfoButton(i));
    }

    // Middle strip.
    c.Frame3 = frame(this, "Frame3", 7110, 660, 1050, 8550);
    c.Label2 = backdrop(c.Frame3, "Label2", 180, 6000, 675, 1290);
    c.SelectieKnop = pictureButton(c.Frame3, QStringLiteral("SelectieKnop"), twipRect(210, 6030, 615, 615),
                                   Plaatjes::selectieButton());
    c.SelectieAllKnop = pictureButton(c.Frame3, QStringLiteral("SelectieAllKnop"),
                                      twipRect(210, 6645, 615, 615), Plaatjes::selectieAllButton());

    // Right pane.
    c.Frame4 = frame(this, "Frame4", 8295, 660, 6900, 8550);
    c.Label9 = backdrop(c.Frame4, "Label9", 120, 210, 3960, 435);
    c.Label10 = place<QLabel>(c.Frame4, "Label10", 240, 255, 2355, 315);
    c.Label11 = backdrop(c.Frame4, "Label11", 4200, 210, 2565, 435);
    c.Ballans = place<QSlider>(c.Frame4, "Ballans", 4245, 255, 2040, 330);
    c.Label12 = place<QLabel>(c.Frame4, "Label12", 6480, 300, 135, 285);
    c.List2 = place<QListView>(c.Frame4, "List2", 120, 750, 6645, 7080);
    c.BackList = place<QListView>(c.Frame4, "BackList", 120, 750, 6645, 7080);
    c.BackList->setVisible(false);
    c.Text1 = place<QPlainTextEdit>(c.Frame4, "Text1", 120, 750, 6645, 7080);
    c.Label3 = backdrop(c.Frame4, "Label3", 120, 7950, 2460, 480);
    for (int i = 1; i <= 2; ++i) {
        c.KnopR[i] =
            pictureButton(c.Frame4, QStringLiteral("KnopR_%1").arg(i),
                          twipRect(150 + 1200 * (i - 1), 7980, 1200, 420), Plaatjes::playlistEditButton(i));
    }
    c.Label4 = backdrop(c.Frame4, "Label4", 2700, 7950, 4080, 480);
    c.Slider1 = place<QSlider>(c.Frame4, "Slider1", 2745, 8010, 3150, 345);
    c.PosLabel = place<QLabel>(c.Frame4, "PosLabel", 5970, 8055, 630, 285);

    // Info strip.
    c.Frame6 = frame(this, "Frame6", 75, 9210, 15120, 795);
    c.Label6 = backdrop(c.Frame6, "Label6", 105, 225, 8100, 450);
    c.InfoLabel = place<ElidingLabel>(c.Frame6, "InfoLabel", 210, 270, 4275, 315);
    c.BackKnoppen = backdrop(c.Frame6, "BackKnoppen", 8340, 210, 4860, 480);
    for (int i = 1; i <= 4; ++i) {
        c.Knop[i] = pictureButton(c.Frame6, QStringLiteral("Knop_%1").arg(i),
                                  twipRect(8370 + 1200 * (i - 1), 240, 1200, 420), Plaatjes::playerButton(i));
    }
    c.Label7 = backdrop(c.Frame6, "Label7", 13290, 210, 1710, 480);
    c.Slider2 = place<QSlider>(c.Frame6, "Slider2", 13335, 270, 1260, 345);
    c.VolumeLabel = place<QLabel>(c.Frame6, "VolumeLabel", 14565, 315, 270, 285);

    // Command bar.
    c.Frame5 = frame(this, "Frame5", 75, 10005, 15120, 990);
    c.Label13 = backdrop(c.Frame5, "Label13", 135, 210, 3360, 660);
    for (int i = 1; i <= 4; ++i) {
        c.KnopBottom[i] = pictureButton(c.Frame5, QStringLiteral("KnopBottom_%1").arg(i),
                                        twipRect(165 + 660 * i, 240, 660, 600), Plaatjes::commandIcon(i));
    }
    c.Label8 = backdrop(c.Frame5, "Label8", 8355, 210, 2040, 660);
    for (int i = 5; i <= 7; ++i) {
        c.KnopBottom[i] =
            pictureButton(c.Frame5, QStringLiteral("KnopBottom_%1").arg(i),
                          twipRect(8385 + 660 * (i - 5), 240, 660, 600), Plaatjes::commandIcon(i));
    }
    c.ExitLabel = backdrop(c.Frame5, "ExitLabel", 14280, 210, 720, 660);
    c.KnopBottom[9] = pictureButton(c.Frame5, QStringLiteral("KnopBottom_9"), twipRect(14310, 240, 660, 600),
                                    Plaatjes::commandIcon(9));
    for (int i : {1, 2, 3, 4, 5, 6, 7, 9}) {
        c.KnopBottom[i]->setIconSize(QSize(32, 32));
        connect(c.KnopBottom[i], &QAbstractButton::clicked, this, [this, i] { KnopBottom_Click(i); });
    }

    // The lists get their models last: the first model makes Qt's screen-reader bridge connect to
    // the session bus, which a worker has started meanwhile (see main.cpp).
    c.File1Model = new QStringListModel(c.File1);
    c.File1->setModel(c.File1Model);
    c.List1Model = new QStringListModel(c.List1);
    c.List1->setModel(c.List1Model);
    c.List2->setModel(m_playlist);
    c.List2->setModelColumn(0);
    c.BackList->setModel(m_playlist);
    c.BackList->setModelColumn(1);

    c.Printmenu = new QMenu(QStringLiteral("Print"), this);
    c.Printmenu->setObjectName(QStringLiteral("Printmenu"));
    c.Printnummers[1] = c.Printmenu->addAction(QStringLiteral("Met nummers"));
    c.Printnummers[1]->setObjectName(QStringLiteral("Printnummers_1"));
    c.Printnummers[2] = c.Printmenu->addAction(QStringLiteral("Zonder nummers"));
    c.Printnummers[2]->setObjectName(QStringLiteral("Printnummers_2"));

    c.Timer1 = new QTimer(this);
    c.Timer1->setObjectName(QStringLiteral("Timer1"));
    c.Timer1->setInterval(60);
    c.Timer2 = new QTimer(this);
    c.Timer2->setObjectName(QStringLiteral("Timer2"));
    // Re-armed by every tick for just after the next whole second (see Timer2_Timer).
    c.Timer2->setSingleShot(true);
    c.Timer2->setTimerType(Qt::PreciseTimer);
    c.Timer2->setInterval(60);
    connect(c.Timer2, &QTimer::timeout, this, &Main::Timer2_Timer);
}

// The designed look of the controls: texts, fonts, tooltips, slider kinds and the backdrops.
void Main::designControls() {
    MainControls& c = m_c;

    // Song, folder and playlist names reach these labels: a name like "<b>x.mp3" must show as
    // typed, never as markup (which could also make a label load a picture from disk).
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
    }

    QFont comic(QStringLiteral("Comic Sans MS"));
    comic.setPointSize(kComicPointSize);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(kArialPointSize);
    for (QWidget* w : std::initializer_list<QWidget*>{c.Drive1, c.Dir1, c.File1, c.List1, c.List2, c.BackList,
                                                      c.Text1, c.InfoLabel, c.TellerLabel, c.Label10}) {
        w->setFont(comic);
    }
    for (QWidget* w : {c.Klok, c.PosLabel, c.VolumeLabel, c.Label12}) {
        w->setFont(arial);
    }

    c.ReclameLabel->setText(QStringLiteral("Hier kan uw reclame tekst staan..."));
    c.Klok->setText(QStringLiteral("00:00"));
    c.Klok->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.TellerLabel->setText(QStringLiteral("0 Songs / Mp3, Midi"));
    c.Label10->setText(m_playlist->countText());
    c.PosLabel->setText(QStringLiteral("00:00"));
    c.Label12->setText(QStringLiteral("0"));
    c.VolumeLabel->setText(QStringLiteral("7"));
    c.InfoLabel->setText(QStringLiteral("Selecteer met de navigatie de songs..."));
    connect(m_playlist, &PlaylistModel::countTextChanged, c.Label10, &QLabel::setText);

    // The text labels are as wide as their texts need: the counters and the info line may run to
    // the end of the bar behind them, the read-outs get room for their longest value, and the
    // clock keeps its right edge (it widens to the left once it shows time and date).
    const auto widenTo = [](QLabel* label, int rightEdge) {
        label->resize(std::max(label->width(), rightEdge - label->x()), label->height());
    };
    const auto fitText = [](QLabel* label, const QString& longest) {
        const int needed = label->fontMetrics().horizontalAdvance(longest) + 2;
        label->resize(std::max(label->width(), needed), label->height());
    };
    widenTo(c.TellerLabel, c.Label1->geometry().right() - 3);
    widenTo(c.InfoLabel, c.Label6->geometry().right() - 3);
    widenTo(c.Label10, c.Label9->geometry().right() - 3);
    widenTo(c.PosLabel, c.Label4->geometry().right() - 2);
    fitText(c.Label12, QStringLiteral("-10"));
    fitText(c.VolumeLabel, QStringLiteral("10"));

    widgets::tip(c.List2, QStringLiteral(" Playlist "));
    widgets::tip(c.Label6, QStringLiteral(" Informatie "));
    static const char* const commandTips[] = {
        nullptr,
        " About ",
        " Meer software... ",
        " Uitleg programma ",
        " Zoeken in bestand ",
        " Print actuele playlist ",
        " Playlist opslaan ",
        " Playlist laden ",
        nullptr,
        " Afsluiten en gegevens opslaan ",
    };
    for (int i : {1, 2, 3, 4, 5, 6, 7, 9}) {
        widgets::tip(c.KnopBottom[i], QString::fromLatin1(commandTips[i]));
    }
    c.KnopL[1]->setToolTip(QStringLiteral(" Speeltijd geselecteerde song "));
    c.KnopR[1]->setToolTip(QStringLiteral(" Verwijder geselecteerde song "));
    c.KnopR[2]->setToolTip(QStringLiteral(" Verwijder alle songs uit de playlist "));
    widgets::tip(c.SelectieKnop, QStringLiteral(" Copyeer song  "));
    widgets::tip(c.SelectieAllKnop, QStringLiteral(" Copyeer alle songs "));
    widgets::tip(c.Slider2, QStringLiteral(" Volume "));
    widgets::tip(c.Ballans, QStringLiteral(" Balance "));

    // The words painted on the picture buttons, and what the unlabelled controls hold, for
    // screen readers. Knop 3 follows its picture (see PlayerController::applyButtonStates).
    static const char* const playerWords[] = {nullptr, "Start", "Stop", "Pauze", "Next"};
    for (int i = 1; i <= 4; ++i) {
        widgets::readerName(c.Knop[i], QString::fromLatin1(playerWords[i]));
    }
    widgets::readerName(c.KnopL[1], QStringLiteral("Playtime"));
    widgets::readerName(c.KnopL[2], QStringLiteral("Mp3 info"));
    widgets::readerName(c.KnopR[1], QStringLiteral("Wis song"));
    widgets::readerName(c.KnopR[2], QStringLiteral("Wis alles"));
    widgets::readerName(c.Slider1, QStringLiteral("Positie"));
    widgets::readerName(c.List1, QStringLiteral("Songs"));
    widgets::readerName(c.Dir1, QStringLiteral("Mappen"));
    widgets::readerName(c.Drive1, QStringLiteral("Station"));
    widgets::readerName(c.Text1, QStringLiteral("Uitleg programma"));
    widgets::readerName(c.Logo, QStringLiteral("Logo"));

    // List1 takes many songs at once; the playlist one at a time. Nothing is edited in place.
    for (QAbstractItemView* v :
         std::initializer_list<QAbstractItemView*>{c.File1, c.List1, c.List2, c.BackList}) {
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    c.List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    c.List2->setSelectionMode(QAbstractItemView::SingleSelection);

    for (QSlider* s : {c.Slider1, c.Slider2, c.Ballans}) {
        s->setOrientation(Qt::Horizontal);
        s->setTickPosition(QSlider::NoTicks);
    }
    c.Slider1->setRange(0, 0);
    c.Slider2->setRange(0, 2500);
    c.Slider2->setSingleStep(1);
    c.Slider2->setPageStep(10);
    c.Ballans->setSingleStep(1);
    c.Ballans->setPageStep(1);

    c.Text1->setReadOnly(true);
    c.Text1->setVisible(false);

    c.Logoback->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    c.Logo->setScaledContents(true);
    showBuiltInLogo();
}
