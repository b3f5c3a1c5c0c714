#include "app/Main.h"

#include "app/ClockText.h"
#include "app/CommandBar.h"
#include "app/HelpText.h"
#include "common/SettingsFile.h"

#include "appearance/AppearanceController.h"
#include "browse/Browser.h"
#include "browse/PlaylistDrop.h"
#include "playback/MediaPlayer.h"
#include "playback/PlayerController.h"
#include "playlist/PlaylistController.h"
#include "playlist/PlaylistModel.h"
#include "playlist/PrintController.h"
#include "search/SearchController.h"
#include "songinfo/SongInfoController.h"
#include "widgets/PaneColours.h"
#include "widgets/PictureButton.h"
#include "widgets/Plaatjes.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QFont>
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

namespace {

// The frames end at 1013 x 733 pixels; the window keeps the same 5-pixel margin at its right and
// bottom as at its left and top, so that with a usual frame it fits a 1024 x 768 screen.
constexpr int kWindowWidth = 1018;
constexpr int kWindowHeight = 738;
constexpr int kLogoSize = 200;

// The layout was drawn for 8 pt text.
constexpr int kWindowPointSize = 8;

// "Comic Sans MS" and "Arial" are not installed on Linux; Comic Neue and Liberation Sans have the
// same look and (for Liberation Sans) the same metrics. Idempotent; GUI thread only.
void installFontSubstitutions() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

} // namespace

Main::Main(const QString& programFolder, MediaPlayer& player, QWidget* parent)
    : QWidget(parent), m_player(player), m_playlist(new PlaylistModel(this)) {
    installFontSubstitutions();
    // Drawing the built-in logo takes milliseconds: another thread does it while the controls are
    // made (showBuiltInLogo picks it up).
    Plaatjes::startBuiltInLogo(QSize(kLogoSize, kLogoSize), std::max<qreal>(1.0, devicePixelRatioF()));
    m_state.programFolder = programFolder;
    setObjectName(QStringLiteral("Main"));
    Form_Load();
}

Main::~Main() = default;

void Main::createControllers() {
    const MainContext ctx{m_c, m_state, *m_playlist, m_player};
    m_browser = new Browser(ctx, this);
    m_playlistController = new PlaylistController(ctx, this);
    new PlaylistDrop(ctx, this);
    m_printController = new PrintController(ctx, this);
    m_playerController = new PlayerController(ctx, this);
    m_songInfoController = new SongInfoController(ctx, this);
    m_searchController = new SearchController(ctx, this);
    m_appearanceController = new AppearanceController(ctx, this);
    m_commandBar = new CommandBar(ctx, this);
}

void Main::Form_Load() {
    // The window: fixed size, top left.
    setWindowTitle(QStringLiteral(" Tunara"));
    QFont windowFont = font();
    windowFont.setPointSize(kWindowPointSize);
    setFont(windowFont);
    move(0, 0);
    setFixedSize(kWindowWidth, kWindowHeight);

    // Every control at its place, with its designed texts and look.
    createControls();
    designControls();

    // The balance slider: maximum first, so the minimum never passes it.
    m_c.Ballans->setMaximum(5000);
    m_c.Ballans->setMinimum(-5000);
    m_c.Ballans->setValue(0);

    // The help screen.
    m_helpText = HelpText::build();
    m_c.Text1->setPlainText(m_helpText);

    // Default colours; the colour editor edits nothing.
    const Settings defaults;
    Settings& settings = m_state.settings;
    settings.leftColour = defaults.leftColour;
    settings.rightColour = defaults.rightColour;
    settings.infoBarColour = defaults.infoBarColour;
    settings.textColour = defaults.textColour;
    m_state.colourTarget.reset();

    // Volume: the slider's value minus 2500 is what the player gets.
    m_c.Slider2->setValue(1750);
    m_c.VolumeLabel->setText(QStringLiteral("7"));
    m_player.setVolume(m_c.Slider2->value() - 2500);

    // The other defaults and the playback state.
    settings.reservedText = defaults.reservedText;
    settings.advertText = defaults.advertText;
    settings.logoPath = defaults.logoPath;
    m_state.playback.setMode(PlaybackState::Mode::Idle);
    m_c.Timer1->stop();
    settings.searchFolder = defaults.searchFolder;

    // The settings file; a missing or short one is written at once from what was read.
    const QString iniPath = settingsFilePath(m_state.programFolder);
    if (LoadSettings(iniPath, settings)) {
        m_c.ReclameLabel->setText(settings.advertText);
        if (!settings.logoPath.isEmpty()) {
            loadLogo(settings.logoPath);
        } else {
            showBuiltInLogo();
        }
        ApplyColours();
    } else {
        // A folder that cannot be written was already replaced by the per-user one at start-up;
        // if this still fails the program runs on with the values in memory.
        SaveSettings(iniPath, settings);
        ApplyColours();
    }

    // The handlers of the later parts, connected now that every control holds its start value.
    createControllers();

    // The clock's first tick comes as soon as the design's 60 ms.
    m_c.Timer2->start(60);
}

bool Main::loadLogo(const QString& path) {
    // A named pipe or a device would block the window or never end.
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    return AppearanceController::loadLogo(m_c.Logo, path);
}

void Main::showBuiltInLogo() {
    const qreal dpr = std::max<qreal>(1.0, devicePixelRatioF());
    if (m_builtInLogo.isNull() || m_builtInLogo.devicePixelRatio() != dpr) {
        m_builtInLogo = Plaatjes::builtInLogo(QSize(kLogoSize, kLogoSize), dpr);
    }
    m_c.Logo->setPixmap(m_builtInLogo);
}

void Main::SetInfoLine(const QString& text) {
    m_c.InfoLabel->setText(text);
}

void Main::ApplyColours() {
    PaneColours::applyAll(m_c, m_state.settings);
}

void Main::KnopBottom_Click(int index) {
    switch (index) {
    case 1:
        m_appearanceController->showAbout();
        break;
    case 2:
        m_commandBar->openWebPage();
        break;
    case 3:
        m_commandBar->toggleHelp();
        break;
    case 4:
        m_searchController->showZoeken();
        break;
    case 5:
        m_printController->popupPrintmenu();
        break;
    case 6:
        m_playlistController->savePlaylistCommand();
        break;
    case 7:
        m_playlistController->showLoadform();
        break;
    case 9:
        m_commandBar->quit();
        break;
    default:
        break;
    }
}

// Shows the time and date, then sleeps until just after the next whole second: the text is
// never more than a few milliseconds late, and the program does not wake in between.
void Main::Timer2_Timer() {
    const QDateTime now = QDateTime::currentDateTime();
    showClockText(ClockText::format(now, QLocale()));
    m_c.Timer2->start(ClockText::msUntilNextSecond(now.time()));
}

void Main::showClockText(const QString& text) {
    QLabel* klok = m_c.Klok;
    klok->setText(text);
    const int needed = klok->fontMetrics().horizontalAdvance(text) + 4;
    if (needed > klok->width()) {
        const QRect g = klok->geometry();
        klok->setGeometry(g.right() + 1 - needed, g.y(), needed, g.height());
    }
}
