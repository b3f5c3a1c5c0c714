// The two buttons beside the song list, pressed as a person would.

#include "browse/Browser.h"
#include "playback/AudioEngine.h"
#include "songinfo/PlayTime.h"
#include "support/MainWindow.h"

#include <QFileInfo>

namespace {

// Presses button KnopL[index] of `main`, answering each message box with OK. Returns the boxes
// seen, each as its title line followed by its text lines.
QList<QStringList> press(Main& main, int index) {
    testsupport::ModalAnswerer answerer;
    main.controls().KnopL[index]->click();
    QList<QStringList> boxes;
    for (const testsupport::SeenBox& box : answerer.seen()) {
        boxes << (box.title + u'\n' + box.text).split(u'\n');
    }
    return boxes;
}

void select(Main& main, int row) {
    main.controls().List1->selectionModel()->setCurrentIndex(main.controls().List1Model->index(row, 0),
                                                             QItemSelectionModel::ClearAndSelect);
}

// Shows `names` of `folder` in the song list, as the browser leaves it, and selects `selected`.
void showFolder(Main& main, const QString& folder, const QStringList& names, int selected = 0) {
    main.state().songFolder = folder;
    main.controls().File1Model->setStringList(names);
    main.controls().List1Model->setStringList(names);
    select(main, selected);
}

class SongInfoButtons : public testsupport::MainWindowTest {
protected:
    QString path(const QString& name) const { return m_songs.filePath(name); }
    QString infoLine() const { return c().InfoLabel->text(); }
};

} // namespace

TEST_F(SongInfoButtons, PlaytimeLoadsWithoutPlayingRoundsAndGroupsTheSize) {
    m_player.durations[song("tune.mid", QByteArray(500, 'x'))] = 59.6;
    m_player.durations[song("big.mp3")] = 245.3;
    ASSERT_TRUE(QFile::resize(path("big.mp3"), 4321987));
    m_main->browser().setDir1Path(m_songs.path());
    ASSERT_EQ(c().List1Model->stringList(), (QStringList{"big.mp3", "tune.mid"}));
    select(*m_main, 1);

    m_player.calls.clear();
    EXPECT_TRUE(press(*m_main, 1).isEmpty());
    EXPECT_EQ(infoLine(), "Speeltijd is 1 min. en 00 sec. / Grootte is 500 bytes");
    EXPECT_EQ(m_player.calls, (QStringList{"autoStart 0", "setFileName " + path("tune.mid")}));
    EXPECT_FALSE(m_player.playingNow);

    select(*m_main, 0);
    press(*m_main, 1);
    EXPECT_EQ(infoLine(), QStringLiteral("Speeltijd is 4 min. en 05 sec. / Grootte is %1 bytes")
                              .arg(QStringList{"4", "321", "987"}.join(QLocale().groupSeparator())));
}

TEST_F(SongInfoButtons, PlaybackMakesBothInertAndNothingToMeasureIsToldPlainly) {
    song("broken.mp3", QByteArray(2048, '\0'));
    const QStringList names{"broken.mp3", "gone.mp3"};
    m_player.loadAll = true;
    showFolder(*m_main, m_songs.path(), names);
    const QString before = infoLine();
    for (bool paused : {true, false}) {
        m_main->state().playback.setMode(paused ? PlaybackState::Mode::Paused : PlaybackState::Mode::Playing);
        EXPECT_TRUE((press(*m_main, 1) + press(*m_main, 2)).isEmpty());
    }
    m_main->state().playback.setMode(PlaybackState::Mode::Idle);
    showFolder(*m_main, m_songs.path(), {});
    EXPECT_TRUE((press(*m_main, 1) + press(*m_main, 2)).isEmpty());
    EXPECT_EQ(m_player.calls.filter("setFileName") << infoLine(), QStringList{before});

    m_player.loadAll = false;
    showFolder(*m_main, m_songs.path(), names);
    press(*m_main, 1);
    EXPECT_EQ(infoLine(), songinfo::unreadableSongText(2048));
    showFolder(*m_main, m_songs.path(), names, 1);
    m_player.calls.clear();
    press(*m_main, 1);
    EXPECT_EQ(infoLine(), "Bestand niet gevonden: gone.mp3");
    c().List1->clearSelection();
    press(*m_main, 1);
    EXPECT_EQ(m_player.calls + QStringList{infoLine()}, QStringList{"Selecteer eerst een song in de lijst."});
}

// A tagged MP3 shows its box (with the real engine below); one the player refuses still shows its
// tag, without a genre it does not know or a length. An untagged MP3 and a MIDI file show nothing.
TEST_F(SongInfoButtons, TagBoxOnlyForTaggedFilesWhoseNameEndsInMp3) {
    song("odd.mp3", QByteArray(50, 'a') + fixtures::id3v1Tag({"Odd", "Artist", "Album", "1999", 255}));
    m_player.durations[song("plain.mp3", QByteArray(400, 'a'))] = 10;
    song("tune.mid", QByteArray(100, 'a') + fixtures::id3v1Tag({"Midi", "Artist", "Album", "1999", 1}));
    const QStringList names{"odd.mp3", "plain.mp3", "tune.mid"};
    for (int row = 0; row < 3; ++row) {
        showFolder(*m_main, m_songs.path(), names, row);
        m_player.calls.clear();
        const QList<QStringList> boxes = press(*m_main, 2);
        ASSERT_EQ(boxes.size(), row == 0 ? 1 : 0) << row;
        EXPECT_TRUE(row > 0 || (boxes[0].size() == 5 && boxes[0].last() == "Jaar.........: 1999"));
    }
    EXPECT_TRUE(m_player.calls.isEmpty()) << "a MIDI file is not even loaded";
}

TEST(SongInfoWithTheRealEngine, TaggedMp3ShowsItsExactLengthSizeAndTag) {
    QTemporaryDir programDir, musicDir;
    fixtures::Mp3Recipe recipe{.seconds = 61.4, .sampleRate = 8000, .channels = 1, .bitrateKbps = 32};
    recipe.id3v1 = fixtures::Id3v1Fields{.title = "Tagged Song", .genre = 17};
    const QString path = musicDir.filePath("Tagged Song.MP3");
    ASSERT_FALSE(fixtures::writeMp3(path, recipe).bytes.isEmpty());

    AudioEngine::Options options;
    options.output = AudioEngine::Options::Output::Null;
    AudioEngine engine(options);
    Main main(programDir.path(), engine);
    showFolder(main, musicDir.path(), {"Tagged Song.MP3"});
    press(main, 1);
    EXPECT_EQ(main.controls().InfoLabel->text(), songinfo::playTimeAndSizeText(61.4, QFileInfo(path).size()));

    const QList<QStringList> boxes = press(main, 2);
    ASSERT_EQ(boxes.size(), 1);
    // The fixture pads with zero bytes; they show as blanks and the field keeps its width.
    EXPECT_EQ(boxes[0].mid(0, 2) + boxes[0].mid(5),
              (QStringList{" Mp3 informatie", "Titel.........: Tagged Song" + QString(19, u' '),
                           "Genre.......: Rock", "Lengte......: 1 min. en 01 sec."}));
    EXPECT_FALSE(engine.isPlaying());
}
