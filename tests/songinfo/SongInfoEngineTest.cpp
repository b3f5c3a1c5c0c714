// One tagged MP3 made by the fixtures, measured and shown through the real engine.

#include "Fixtures.h"
#include "app/Main.h"
#include "app/MainControls.h"
#include "appearance/PictureButton.h"
#include "playback/AudioEngine.h"
#include "songinfo/PlayTime.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

TEST(SongInfoWithTheRealEngine, TaggedMp3ShowsItsExactLengthSizeAndTag) {
    QTemporaryDir programDir;
    QTemporaryDir musicDir;
    ASSERT_TRUE(programDir.isValid() && musicDir.isValid());

    fixtures::Mp3Recipe recipe;
    recipe.seconds = 61.4;
    recipe.sampleRate = 8000;
    recipe.channels = 1;
    recipe.bitrateKbps = 32;
    fixtures::Id3v1Fields id3;
    id3.title = "Tagged Song";
    id3.artist = "The Testers";
    id3.album = "Fixtures";
    id3.year = "2026";
    id3.genre = 17;
    recipe.id3v1 = id3;
    const QString path = musicDir.filePath(QStringLiteral("Tagged Song.MP3"));
    const fixtures::Song song = fixtures::writeMp3(path, recipe);
    ASSERT_FALSE(song.bytes.isEmpty());
    ASSERT_DOUBLE_EQ(song.durationSeconds, 61.4);

    AudioEngine::Options options;
    options.output = AudioEngine::Options::Output::Null;
    AudioEngine engine(options);
    Main main(programDir.path(), engine);
    const MainControls& c = main.controls();
    c.File1->setProperty("path", musicDir.path());
    c.File1Model->setStringList({QStringLiteral("Tagged Song.MP3")});
    c.List1Model->setStringList({QStringLiteral("Tagged Song.MP3")});
    c.List1->selectionModel()->setCurrentIndex(c.List1Model->index(0, 0),
                                               QItemSelectionModel::ClearAndSelect);

    c.KnopL[1]->click();
    EXPECT_EQ(c.InfoLabel->text().toStdString(),
              playTimeAndSizeText(61.4, QFileInfo(path).size()).toStdString());
    EXPECT_TRUE(
        c.InfoLabel->text().startsWith(QStringLiteral("Speeltijd is 1 min. en 01 sec. / Grootte is ")));

    QString boxText;
    QString boxTitle;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxText = box->text();
            boxTitle = box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll.start(5);
    c.KnopL[2]->click();
    poll.stop();
    EXPECT_EQ(boxTitle.toStdString(), " Mp3 informatie");
    const QStringList lines = boxText.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 6);
    // The fixture pads with zero bytes; they show as blanks and the field keeps its width.
    EXPECT_EQ(lines[0].toStdString(),
              ("Titel.........: Tagged Song" + QString(19, QLatin1Char(' '))).toStdString());
    EXPECT_EQ(lines[1].toStdString(),
              ("Artist........: The Testers" + QString(19, QLatin1Char(' '))).toStdString());
    EXPECT_EQ(lines[3].toStdString(), "Jaar.........: 2026");
    EXPECT_EQ(lines[4].toStdString(), "Genre.......: Rock");
    EXPECT_EQ(lines[5].toStdString(), "Lengte......: 1 min. en 01 sec.");
    EXPECT_FALSE(engine.isPlaying());
}
