// The two buttons beside the song list, pressed as a person would, against a scripted player.

#include "app/Main.h"
#include "app/MainControls.h"
#include "appearance/PictureButton.h"
#include "browse/Browser.h"
#include "playback/MediaPlayer.h"
#include "songinfo/Mp3InfoText.h"
#include "songinfo/PlayTime.h"
#include "support/FakePlayer.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool hasOk = false;
};

// While it lives, records every modal message box that opens and presses its OK button.
class BoxWatcher {
public:
    BoxWatcher() {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start(5);
    }
    const std::vector<SeenBox>& boxes() const { return m_boxes; }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            return;
        }
        m_boxes.push_back({box->windowTitle(), box->text(), box->icon(),
                           static_cast<int>(box->buttons().size()), box->button(QMessageBox::Ok) != nullptr});
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        (ok ? ok : box->buttons().value(0))->click();
    }
    QTimer m_poll;
    std::vector<SeenBox> m_boxes;
};

QByteArray tag(const QByteArray& title, int genre) {
    auto field = [](QByteArray v, int width) { return v.leftJustified(width, ' ', true); };
    return "TAG" + field(title, 30) + field("Artist", 30) + field("Album", 30) + field("1999", 4) +
           field("", 30) + QByteArray(1, static_cast<char>(genre));
}

class SongInfoButtons : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_programDir.isValid());
        ASSERT_TRUE(m_musicDir.isValid());
        m_main = std::make_unique<Main>(m_programDir.path(), m_player);
        m_player.calls.clear();
    }

    const MainControls& c() const { return m_main->controls(); }
    QString path(const QString& name) const { return m_musicDir.path() + QLatin1Char('/') + name; }

    void write(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    // The song list as the browser leaves it after opening the music folder.
    void showFolder(const QStringList& names) {
        c().File1->setProperty("path", m_musicDir.path());
        c().File1Model->setStringList(names);
        c().List1Model->setStringList(names);
    }

    void select(const QString& name) {
        const int row = static_cast<int>(c().List1Model->stringList().indexOf(name));
        ASSERT_GE(row, 0);
        c().List1->selectionModel()->setCurrentIndex(c().List1Model->index(row, 0),
                                                     QItemSelectionModel::ClearAndSelect);
    }

    void click(int index) { c().KnopL[index]->click(); }
    QString infoLine() const { return c().InfoLabel->text(); }

    QTemporaryDir m_programDir;
    QTemporaryDir m_musicDir;
    FakePlayer m_player;
    std::unique_ptr<Main> m_main;
};

} // namespace

TEST_F(SongInfoButtons, PlaytimeLoadsWithoutPlayingAndRoundsBeforeTheMinutes) {
    write(QStringLiteral("tune.mid"), QByteArray(500, 'x'));
    write(QStringLiteral("other.mp3"), QByteArray(700, 'x'));
    m_player.durations[path(QStringLiteral("tune.mid"))] = 59.6;
    // Opened through the folder list, as a person would.
    m_main->browser().setDir1Path(m_musicDir.path());
    ASSERT_EQ(c().List1Model->stringList(),
              (QStringList{QStringLiteral("other.mp3"), QStringLiteral("tune.mid")}));
    select(QStringLiteral("tune.mid"));

    EXPECT_EQ(c().KnopL[1]->toolTip(), QStringLiteral(" Speeltijd geselecteerde song "));
    m_player.calls.clear();
    click(1);
    EXPECT_EQ(infoLine(), QStringLiteral("Speeltijd is 1 min. en 00 sec. / Grootte is 500 bytes"));
    EXPECT_EQ(m_player.calls,
              (QStringList{QStringLiteral("autoStart 0"),
                           QStringLiteral("setFileName ") + path(QStringLiteral("tune.mid"))}));
    // The measured file stays loaded, not playing.
    EXPECT_EQ(m_player.loaded, path(QStringLiteral("tune.mid")));
    EXPECT_FALSE(m_player.playingNow);
}

TEST_F(SongInfoButtons, PlaytimeGroupsTheSizeWithTheLocaleSeparator) {
    {
        QFile f(path(QStringLiteral("big.mp3")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(4321987));
    }
    m_player.durations[path(QStringLiteral("big.mp3"))] = 245.3;
    showFolder({QStringLiteral("big.mp3")});
    select(QStringLiteral("big.mp3"));
    click(1);
    const QString sep = QLocale().groupSeparator();
    EXPECT_EQ(infoLine(), QStringLiteral("Speeltijd is 4 min. en 05 sec. / Grootte is 4") + sep +
                              QStringLiteral("321") + sep + QStringLiteral("987 bytes"));
}

TEST_F(SongInfoButtons, InertWhilePlayingOrPausedAndWithAnEmptyList) {
    write(QStringLiteral("SONG.MP3"), QByteArray(100, 'a') + tag("Song", 17));
    m_player.loadAll = true;
    showFolder({QStringLiteral("SONG.MP3")});
    select(QStringLiteral("SONG.MP3"));
    const QString before = infoLine();

    BoxWatcher watcher;
    m_main->state().playing = true;
    m_main->state().paused = true;
    click(1);
    click(2);
    m_main->state().paused = false;
    click(1);
    click(2);
    EXPECT_TRUE(m_player.calls.filter(QStringLiteral("setFileName")).isEmpty());
    EXPECT_EQ(infoLine(), before);

    m_main->state().playing = false;
    showFolder({});
    click(1);
    click(2);
    EXPECT_TRUE(m_player.calls.filter(QStringLiteral("setFileName")).isEmpty());
    EXPECT_EQ(infoLine(), before);
    EXPECT_TRUE(watcher.boxes().empty());
}

TEST_F(SongInfoButtons, NoSelectionAsksForOneAndLoadsNothing) {
    write(QStringLiteral("a.mp3"), QByteArray(10, 'a'));
    m_player.loadAll = true;
    showFolder({QStringLiteral("a.mp3")});
    c().List1->clearSelection();
    click(1);
    EXPECT_EQ(infoLine(), QStringLiteral("Selecteer eerst een song in de lijst."));
    EXPECT_TRUE(m_player.calls.filter(QStringLiteral("setFileName")).isEmpty());
}

TEST_F(SongInfoButtons, UnplayableAndVanishedFilesAreToldPlainly) {
    write(QStringLiteral("broken.mp3"), QByteArray(2048, '\0'));
    showFolder({QStringLiteral("broken.mp3"), QStringLiteral("gone.mp3")});
    select(QStringLiteral("broken.mp3"));
    click(1);
    EXPECT_EQ(infoLine(), unreadableSongText(2048));

    select(QStringLiteral("gone.mp3"));
    m_player.calls.clear();
    click(1);
    EXPECT_EQ(infoLine(), QStringLiteral("Bestand niet gevonden: gone.mp3"));
    EXPECT_TRUE(m_player.calls.isEmpty());
}

TEST_F(SongInfoButtons, UpperCaseMp3OpensTheTagBox) {
    write(QStringLiteral("SONG.MP3"), QByteArray(300, 'a') + tag("Song", 17));
    m_player.durations[path(QStringLiteral("SONG.MP3"))] = 61.4;
    showFolder({QStringLiteral("SONG.MP3")});
    select(QStringLiteral("SONG.MP3"));

    BoxWatcher watcher;
    click(2);
    ASSERT_EQ(watcher.boxes().size(), 1u);
    const SeenBox& box = watcher.boxes().front();
    EXPECT_EQ(box.title, QStringLiteral(" Mp3 informatie"));
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_EQ(box.buttons, 1);
    EXPECT_TRUE(box.hasOk);
    const QStringList lines = box.text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("Titel.........: Song") + QString(26, QLatin1Char(' ')));
    EXPECT_EQ(lines[4], QStringLiteral("Genre.......: Rock"));
    EXPECT_EQ(lines[5], QStringLiteral("Lengte......: 1 min. en 01 sec."));
    EXPECT_EQ(m_player.calls,
              (QStringList{QStringLiteral("autoStart 0"),
                           QStringLiteral("setFileName ") + path(QStringLiteral("SONG.MP3"))}));
}

TEST_F(SongInfoButtons, NoBoxForMidiFilesOrMissingTags) {
    write(QStringLiteral("tune.mid"), QByteArray(100, 'a') + tag("Midi", 1));
    write(QStringLiteral("plain.mp3"), QByteArray(400, 'a'));
    m_player.loadAll = true;
    showFolder({QStringLiteral("plain.mp3"), QStringLiteral("tune.mid")});

    BoxWatcher watcher;
    select(QStringLiteral("tune.mid"));
    click(2);
    EXPECT_TRUE(m_player.calls.isEmpty()) << "a MIDI file is not even loaded";
    select(QStringLiteral("plain.mp3"));
    click(2);
    EXPECT_TRUE(watcher.boxes().empty());
}

TEST_F(SongInfoButtons, TaggedFileThePlayerRefusesShowsTheTagWithoutALength) {
    write(QStringLiteral("odd.mp3"), QByteArray(50, 'a') + tag("Odd", 255));
    showFolder({QStringLiteral("odd.mp3")});
    select(QStringLiteral("odd.mp3"));
    BoxWatcher watcher;
    click(2);
    ASSERT_EQ(watcher.boxes().size(), 1u);
    const QStringList lines = watcher.boxes().front().text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("Jaar.........: 1999")));
}
